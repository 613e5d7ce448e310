#include "app/course_actions.h"

#include "course/course_file_procedures.h"
#include "course/course_rom_save.h"
#include "course/restore_from_point.h"
#include "course/rom_course.h"
#include "course/rom_insertion.h"
#include "course/test_run.h"
#include "course/track_format.h"
#include "document/course_document.h"
#include "document/layer.h"
#include "document/map_history.h"
#include "editor/painting.h"
#include "editor/tool_controller.h"
#include "platform/byte_span.h"
#include "platform/message_box.h"
#include "platform/services.h"
#include "rom/course_layers.h"

#include <QFileInfo>
#include <QUndoStack>

namespace velmor {

namespace {

bool opened(ImportResult result)
{
    return result == ImportResult::Opened || result == ImportResult::Partial;
}

} // namespace

CourseActions::CourseActions(CourseDocument &document, Services &services, QObject *parent)
    : QObject(parent)
    , mDocument(document)
    , mServices(services)
    , mInsertion(new RomInsertion(services, mTrackState, this))
    , mTestRun(std::make_unique<TestRun>(services))
{}

CourseActions::~CourseActions() = default;

void CourseActions::setInsertionSettings(const Configuration &settings)
{
    mInsertion->setSettings(settings);
}

MapHistory &CourseActions::history() const
{
    return mDocument.history();
}

void CourseActions::setToolController(ToolController *tools)
{
    mTools = tools;
}

void CourseActions::closeOpenGesture()
{
    if (mTools)
        mTools->finishGesture();
}

void CourseActions::clearColor()
{
    closeOpenGesture();
    history().begin(tr("Clear Color"));
    TilePainter(mDocument.map()).clearColor();
    history().end();
}

void CourseActions::textureFiller(const QString &leftPalette)
{
    closeOpenGesture();
    history().begin(tr("Texture Filler"));
    TilePainter(mDocument.map()).textureFiller(leftPalette);
    history().end();
}

ExportResult CourseActions::save()
{
    return saveWith(UnchangedMap::Ask);
}

ExportResult CourseActions::saveAs()
{
    return saveWith(UnchangedMap::SaveAnyway);
}

ExportResult CourseActions::saveWith(UnchangedMap unchanged)
{
    closeOpenGesture();
    const ExportResult result = exportTrack(mDocument.map().texts(), mTrackState, mServices, unchanged);
    if (result == ExportResult::Written) {
        mDocument.setTilesClean();
        emit fileUsed(mTrackState.lastExportPath);
    }
    return result;
}

ImportResult CourseActions::open()
{
    return openFrom({});
}

ImportResult CourseActions::openFromRom()
{
    return openFrom({ImportSource::Kind::Rom, {}});
}

ImportResult CourseActions::openPath(const QString &path)
{
    return openFrom({ImportSource::Kind::TrackOrRom, path});
}

ImportResult CourseActions::openFrom(const ImportSource &source)
{
    closeOpenGesture();
    history().begin(tr("Open Course"));
    QString path;
    QByteArray bytes;
    const ImportResult result = importTrack(
        mDocument.map(), mTrackState, mServices, mDocument.courseChoice(), source, &path, &bytes);
    history().end();
    if (opened(result)) {
        // A track file brings tiles only: race edits made before stay unsaved.
        if (isRomPath(path)) {
            loadRace(bytes);
            // The fingerprint of the very bytes the course came from: a change made after this
            // read is one a later save must notice.
            mDocument.setRom(path, bytes);
            mDocument.setClean();
        } else {
            mDocument.setTilesClean();
        }
        emit fileUsed(path);
    }
    return result;
}

void CourseActions::loadRace(const QByteArray &romFile)
{
    // The layout was read from these bytes, so they are a ROM of the game's size.
    const std::optional<rom::RomImage> image = rom::RomImage::open(byteView(romFile));
    if (!image)
        return;
    const rom::CourseLayers layers = rom::readCourseLayers(*image, mDocument.course().id());
    mDocument.loadRace(layers);
    for (Layer *layer : mDocument.layers())
        layer->setVisible(true);
    QStringList unreadable;
    for (const std::string &error : layers.errors())
        unreadable.append(QString::fromStdString(error));
    emit raceLoaded(unreadable);
}

void CourseActions::insertFromFile()
{
    closeOpenGesture();
    mInsertion->insertFromFile(mDocument.courseChoice());
}

void CourseActions::exportAndInsert()
{
    closeOpenGesture();
    // The export runs before the call returns; the map reached a file only when it wrote one.
    if (mInsertion->exportAndInsert(mDocument.map().texts(), mDocument.courseChoice())) {
        mDocument.setTilesClean();
        emit fileUsed(mTrackState.lastExportPath);
    }
}

bool CourseActions::saveIntoRom()
{
    closeOpenGesture();
    CourseRomSave save(mServices, mInsertion->settings());
    if (save.save(mDocument) != CourseRomSave::Outcome::Saved)
        return false;
    emit savedIntoRom(save.summary());
    return true;
}

bool CourseActions::exportCourse()
{
    closeOpenGesture();
    CourseFileProcedures procedures(mServices);
    if (procedures.exportCourse(mDocument) != CourseFileProcedures::Outcome::Done)
        return false;
    // The course file holds the whole course.
    mDocument.setClean();
    emit courseFileDone(procedures.summary());
    return true;
}

bool CourseActions::importCourse()
{
    closeOpenGesture();
    CourseFileProcedures procedures(mServices);
    if (procedures.importCourse(mDocument) != CourseFileProcedures::Outcome::Done)
        return false;
    emit courseFileDone(procedures.summary());
    return true;
}

void CourseActions::openDropped(const QString &path)
{
    closeOpenGesture();
    const QString suffix = QFileInfo(path).suffix();
    const bool courseFile = suffix.compare(QLatin1String("vcourse"), Qt::CaseInsensitive) == 0;
    const bool trackFile =
        suffix.compare(QLatin1String(track::TrackExtension), Qt::CaseInsensitive) == 0;
    if (!courseFile && !trackFile && !isRomPath(path)) {
        mServices.messages.inform(
            tr("%1 was not opened: Velmor opens course files (.vcourse), track files (.bin) and "
               "ROMs (.smc, .sfc) dropped on its window.")
                .arg(displayPath(path)),
            tr("File Not Opened"));
        return;
    }
    if (!confirmClose())
        return;
    if (!courseFile) {
        openPath(path);
        return;
    }
    CourseFileProcedures procedures(mServices);
    if (procedures.importCourseFrom(mDocument, path) == CourseFileProcedures::Outcome::Done)
        emit courseFileDone(procedures.summary());
}

bool CourseActions::testInEmulator(const QString &romPath)
{
    closeOpenGesture();
    if (mTestRun->start(mDocument, romPath) != TestRun::Outcome::Started)
        return false;
    emit testStarted(mTestRun->summary());
    return true;
}

void CourseActions::choosePreferences(const QString &romPath)
{
    closeOpenGesture();
    mTestRun->choose(mDocument, romPath);
}

bool CourseActions::restorePoints(const QString &romPath)
{
    closeOpenGesture();
    RestoreFromPoint restore(mServices);
    if (restore.run(mDocument, romPath) != RestoreFromPoint::Outcome::Restored)
        return false;
    emit romRestored(restore.summary());
    return true;
}

bool CourseActions::isModified() const
{
    return mDocument.isModified();
}

bool CourseActions::confirmClose()
{
    closeOpenGesture();
    if (!isModified())
        return true;
    const MessageBoxes::Answer answer = mServices.messages.show(
        tr("Save changes to the course before closing?"), tr("Unsaved Changes"),
        MessageBoxes::Buttons::YesNoCancel);
    switch (answer) {
    case MessageBoxes::Answer::No:
        return true;
    case MessageBoxes::Answer::Yes: {
        // "No changes?" answered No means the map already sits in the last exported file.
        const ExportResult result = save();
        if (result != ExportResult::Written && result != ExportResult::Declined)
            return false;
        if (!mDocument.isRaceModified())
            return true;
        // A track file keeps the tiles only: the race's edits would go without a word.
        return mServices.messages.show(tr("The track file holds only the tiles: the changes to "
                                          "the race (items, objects, start grid, lap line, AI, "
                                          "theme) are not saved. Save Course into ROM or Export "
                                          "Course… keeps them. Close anyway?"),
                   tr("Unsaved Changes"), MessageBoxes::Buttons::YesNo)
            == MessageBoxes::Answer::Yes;
    }
    default:
        return false;
    }
}

} // namespace velmor
