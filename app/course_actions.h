#pragma once

#include "course/export_track.h"
#include "course/import_track.h"
#include "course/track_state.h"

#include <QObject>

namespace velmor {

class CourseMap;
class MapHistory;
class RomInsertion;
class TilePainter;
struct Configuration;
struct Services;

// What the window's buttons and keys do to the course: every change of the map becomes one
// undoable step, saving and opening mark the map as clean, and closing asks before unsaved work
// is lost. Knows no widgets; the window passes in the texts it reads from its controls.
class CourseActions : public QObject
{
    Q_OBJECT

public:
    CourseActions(CourseMap &map, TilePainter &painter, Services &services,
                  QObject *parent = nullptr);
    ~CourseActions() override;

    MapHistory &history() const { return *mHistory; }
    TrackState &trackState() { return mTrackState; }
    RomInsertion &insertion() const { return *mInsertion; }
    void setInsertionSettings(const Configuration &settings);

    // A press with all that follows until the last button is released: one step.
    void beginStroke();
    void endStroke();
    void clearColor();
    void textureFiller(const QString &leftPalette);

    ExportResult save();
    // Save Track File As…: always asks for the file, also for an unchanged map.
    ExportResult saveAs();
    // The file dialog offers track files and ROMs; a ROM gives the course courseText names.
    ImportResult open(const QString &courseText);
    // Open Course from ROM…: the dialog offers ROMs only.
    ImportResult openFromRom(const QString &courseText);
    // A file chosen already, as the recent files list keeps them: a track file or a ROM.
    ImportResult openPath(const QString &path, const QString &courseText);
    void insertFromFile(const QString &courseText);
    void exportAndInsert(const QString &courseText);

    // Whether the map differs from the one last saved or opened.
    bool isModified() const;
    // Asks "Save changes to the course before closing?" when there is unsaved work; true when the
    // window may close.
    bool confirmClose();

signals:
    // A track file or ROM was opened, or a track file written: the recent files keep it.
    void fileUsed(const QString &path);

private:
    ImportResult openFrom(const QString &courseText, const ImportSource &source);
    ExportResult saveWith(UnchangedMap unchanged);
    // A stroke whose release never came (a dialog took the mouse) ends before the next step.
    void closeOpenStroke();

    CourseMap &mMap;
    TilePainter &mPainter;
    Services &mServices;
    TrackState mTrackState;
    MapHistory *mHistory;
    RomInsertion *mInsertion;
    bool mStrokeOpen = false;
};

} // namespace velmor
