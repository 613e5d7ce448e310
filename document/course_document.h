#pragma once

#include "document/course_map.h"
#include "document/course_ref.h"

#include "rom/course_catalogue.h"
#include "rom/race_map.h"
#include "rom/tile_behaviour.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QString>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class QUndoStack;

namespace velmor::rom {
struct CourseData;
struct CourseLayers;
}

namespace velmor {

class ItemsLayer;
class LapLayer;
class Layer;
class MapHistory;
class ObjectAreasValue;
class ObjectsLayer;
class StartLayer;
class TargetsLayer;
class TileLayer;
class ZonesLayer;

// The course being edited, as one thing: which of the game's courses it is meant for, the ROM it
// came from, its layers (the tiles first, then what the race adds), and one undo stack for every
// kind of edit. It is modified exactly when the stack is not at its clean state, whatever layer
// changed. Knows no widgets.
class CourseDocument : public QObject
{
    Q_OBJECT

public:
    explicit CourseDocument(QObject *parent = nullptr);
    ~CourseDocument() override;

    CourseMap &map() { return mMap; }
    const CourseMap &map() const { return mMap; }
    MapHistory &history() const { return *mHistory; }
    QUndoStack *undoStack() const { return mStack; }
    TileLayer &tiles() const { return *mTiles; }
    // What the race adds to the layout, drawn over it in this order.
    ItemsLayer &items() const { return *mItems; }
    ObjectsLayer &objects() const { return *mObjects; }
    StartLayer &start() const { return *mStart; }
    LapLayer &lap() const { return *mLap; }
    ZonesLayer &zones() const { return *mZones; }
    TargetsLayer &targets() const { return *mTargets; }
    // The zone numbers that choose the live object group: they follow the race order's edits.
    ObjectAreasValue &objectAreas() const { return *mAreas; }
    // What the theme's tiles do to a kart, where the ROM told it (a course from a ROM).
    const rom::TileBehaviour *tileBehaviour() const;
    // The tiles an item pattern stamps, row by row (-1 leaves the layout's tile): the ROM's own
    // pattern table where a course from a ROM gave it, else those the game's list names (none for
    // the coin groups).
    std::vector<int> patternTiles(int pattern) const;

    // The course's look, as the ROM's theme table holds it; an undo step when set.
    rom::Theme theme() const { return mTheme; }
    void setTheme(rom::Theme theme, const QString &undoText);

    // What the shown race layers name at a point (course pixels), the items first and the AI
    // last, joined by " · " ("Item box · AI zone 12 · target 12, speed 2"); empty for nothing.
    QString describeRaceAt(QPointF coursePixel) const;

    // Fills every layer from what a ROM holds (an unreadable layer gets setUnreadable(message)).
    // Not an undo step; the stack is cleared and clean afterwards.
    void loadRace(const rom::CourseLayers &layers);
    // The whole course as values (layout from the map); nothing when a layer is unreadable, no
    // course is chosen or a cell holds no tile.
    std::optional<rom::CourseData> courseData() const;
    // Replaces the layout and every layer from a course file, as ONE undo step (undoText).
    void replaceCourse(const rom::CourseData &course, const QString &undoText);
    // The course whose race the layers hold (loaded from a ROM, or replaced from a course file);
    // invalid while they hold none, so that a save never writes a fresh document's empty race, or
    // one course's race into another's place.
    CourseRef raceCourse() const { return mRaceCourse; }

    // In drawing order, the tiles first.
    const QList<Layer *> &layers() const { return mLayers; }
    Layer *layer(const QString &key) const;
    // The document takes the layer, draws it over the ones before it and keeps its edits on the
    // document's stack.
    void addLayer(Layer *layer);

    // What the course list names: the course this document is for.
    const CourseChoice &courseChoice() const { return mChoice; }
    CourseRef course() const { return mChoice.course; }
    void setCourseChoice(const CourseChoice &choice);

    // The ROM the course came from or was last written into, and its bytes' fingerprint then, so
    // that a later write into it can tell whether another program changed it meanwhile.
    QString romPath() const { return mRomPath; }
    QByteArray romFingerprint() const { return mRomFingerprint; }
    void setRom(const QString &path, const QByteArray &bytes);
    static QByteArray fingerprintOf(const QByteArray &bytes);

    // Unsaved edits of any layer. A track file keeps only the tiles: after one is written
    // (setTilesClean) the race still counts as unsaved until it is as it was at the last save of
    // the whole course, or at its load (setClean).
    bool isModified() const;
    bool isRaceModified() const;
    void setClean();
    void setTilesClean();

signals:
    void courseChanged(velmor::CourseRef course);
    // The course list's text changed, naming the same course or none.
    void courseChoiceChanged();
    void romChanged(const QString &path);
    void layerAdded(velmor::Layer *layer);
    // A layer's drawing changed in these cells (x column, y row), or it was shown or hidden.
    void layerChanged(velmor::Layer *layer, const QRect &cells);
    void themeChanged(velmor::rom::Theme theme);

private:
    CourseMap mMap;
    QUndoStack *mStack;
    MapHistory *mHistory;
    TileLayer *mTiles;
    ItemsLayer *mItems;
    ObjectsLayer *mObjects;
    StartLayer *mStart;
    LapLayer *mLap;
    ZonesLayer *mZones;
    TargetsLayer *mTargets;
    ObjectAreasValue *mAreas;
    std::array<std::optional<rom::TileBehaviour>, rom::ThemeCount> mBehaviours;
    std::array<std::optional<std::vector<int>>, rom::map::DefinedItemPatterns> mPatterns;
    rom::Theme mTheme = rom::Theme::MarioCircuit;
    CourseRef mRaceCourse;
    QList<Layer *> mLayers;
    CourseChoice mChoice;
    QString mRomPath;
    QByteArray mRomFingerprint;
    // Everything but the tiles, as last saved or loaded whole.
    struct RaceState;
    RaceState raceState() const;
    std::shared_ptr<const RaceState> mRaceSaved;
};

} // namespace velmor
