#pragma once

#include "document/course_map.h"
#include "document/course_ref.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

class QUndoStack;

namespace velmor {

class Layer;
class MapHistory;
class TileLayer;

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

    bool isModified() const;
    void setClean();

signals:
    void courseChanged(velmor::CourseRef course);
    // The course list's text changed, naming the same course or none.
    void courseChoiceChanged();
    void romChanged(const QString &path);
    void layerAdded(velmor::Layer *layer);
    // A layer's drawing changed in these cells (x column, y row), or it was shown or hidden.
    void layerChanged(velmor::Layer *layer, const QRect &cells);

private:
    CourseMap mMap;
    QUndoStack *mStack;
    MapHistory *mHistory;
    TileLayer *mTiles;
    QList<Layer *> mLayers;
    CourseChoice mChoice;
    QString mRomPath;
    QByteArray mRomFingerprint;
};

} // namespace velmor
