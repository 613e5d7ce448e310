#pragma once

#include "course/export_track.h"
#include "course/import_track.h"
#include "course/track_state.h"

#include <QObject>
#include <QPointer>

namespace velmor {

class CourseDocument;
class MapHistory;
class RomInsertion;
class ToolController;
struct Configuration;
struct Services;

// What the window's buttons and keys do to the course document: every change becomes one undoable
// step on its stack, saving and opening mark it as clean, and closing asks before unsaved work is
// lost. The course is the one the document's course list choice names. Knows no widgets.
class CourseActions : public QObject
{
    Q_OBJECT

public:
    CourseActions(CourseDocument &document, Services &services, QObject *parent = nullptr);
    ~CourseActions() override;

    CourseDocument &document() const { return mDocument; }
    MapHistory &history() const;
    TrackState &trackState() { return mTrackState; }
    RomInsertion &insertion() const { return *mInsertion; }
    void setInsertionSettings(const Configuration &settings);
    // A tool gesture still open when a step starts (a dialog took the mouse) ends first.
    void setToolController(ToolController *tools);

    void clearColor();
    void textureFiller(const QString &leftPalette);

    ExportResult save();
    // Save Track File As…: always asks for the file, also for an unchanged map.
    ExportResult saveAs();
    // The file dialog offers track files and ROMs; a ROM gives the chosen course.
    ImportResult open();
    // Open Course from ROM…: the dialog offers ROMs only.
    ImportResult openFromRom();
    // A file chosen already, as the recent files list keeps them: a track file or a ROM.
    ImportResult openPath(const QString &path);
    void insertFromFile();
    void exportAndInsert();
    // Save Course into ROM: the document into the ROM it came from, in process.
    bool saveIntoRom();

    // Whether the document differs from the one last saved or opened.
    bool isModified() const;
    // Asks "Save changes to the course before closing?" when there is unsaved work; true when the
    // window may close.
    bool confirmClose();

signals:
    // A track file or ROM was opened, or a track file written: the recent files keep it.
    void fileUsed(const QString &path);
    // The course went into a ROM; the summary says what was written.
    void savedIntoRom(const QString &summary);
    // A course was opened from a ROM with its race; each message names a layer that could not
    // be read (the layout and the other layers are there).
    void raceLoaded(const QStringList &unreadable);

private:
    ImportResult openFrom(const ImportSource &source);
    // Every race layer of the chosen course from the ROM's bytes, shown.
    void loadRace(const QByteArray &romFile);
    ExportResult saveWith(UnchangedMap unchanged);
    void closeOpenGesture();

    CourseDocument &mDocument;
    Services &mServices;
    TrackState mTrackState;
    RomInsertion *mInsertion;
    QPointer<ToolController> mTools;
};

} // namespace velmor
