#include "app/course_actions.h"

#include "course/rom_insertion.h"
#include "document/course_map.h"
#include "document/map_history.h"
#include "editor/painting.h"
#include "platform/message_box.h"
#include "platform/services.h"

#include <QUndoStack>

namespace velmor {

namespace {

bool opened(ImportResult result)
{
    return result == ImportResult::Opened || result == ImportResult::Partial;
}

} // namespace

CourseActions::CourseActions(CourseMap &map, TilePainter &painter, Services &services,
                             QObject *parent)
    : QObject(parent)
    , mMap(map)
    , mPainter(painter)
    , mServices(services)
    , mHistory(new MapHistory(map, this))
    , mInsertion(new RomInsertion(services, mTrackState, this))
{}

CourseActions::~CourseActions() = default;

void CourseActions::setInsertionSettings(const Configuration &settings)
{
    mInsertion->setSettings(settings);
}

void CourseActions::beginStroke()
{
    closeOpenStroke();
    mHistory->begin(tr("Paint"));
    mStrokeOpen = true;
}

void CourseActions::endStroke()
{
    closeOpenStroke();
}

void CourseActions::closeOpenStroke()
{
    if (!mStrokeOpen)
        return;
    mStrokeOpen = false;
    mHistory->end();
}

void CourseActions::clearColor()
{
    closeOpenStroke();
    mHistory->begin(tr("Clear Color"));
    mPainter.clearColor();
    mHistory->end();
}

void CourseActions::textureFiller(const QString &leftPalette)
{
    closeOpenStroke();
    mHistory->begin(tr("Texture Filler"));
    mPainter.textureFiller(leftPalette);
    mHistory->end();
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
    closeOpenStroke();
    const ExportResult result = exportTrack(mMap.texts(), mTrackState, mServices, unchanged);
    if (result == ExportResult::Written) {
        mHistory->stack()->setClean();
        emit fileUsed(mTrackState.lastExportPath);
    }
    return result;
}

ImportResult CourseActions::open(const QString &courseText)
{
    return openFrom(courseText, {});
}

ImportResult CourseActions::openFromRom(const QString &courseText)
{
    return openFrom(courseText, {ImportSource::Kind::Rom, {}});
}

ImportResult CourseActions::openPath(const QString &path, const QString &courseText)
{
    return openFrom(courseText, {ImportSource::Kind::TrackOrRom, path});
}

ImportResult CourseActions::openFrom(const QString &courseText, const ImportSource &source)
{
    closeOpenStroke();
    mHistory->begin(tr("Open Course"));
    QString path;
    const ImportResult result
        = importTrack(mMap, mTrackState, mServices, courseText, source, &path);
    mHistory->end();
    if (opened(result)) {
        mHistory->stack()->setClean();
        emit fileUsed(path);
    }
    return result;
}

void CourseActions::insertFromFile(const QString &courseText)
{
    closeOpenStroke();
    mInsertion->insertFromFile(courseText);
}

void CourseActions::exportAndInsert(const QString &courseText)
{
    closeOpenStroke();
    // The export runs before the call returns; the map reached a file only when it wrote one.
    if (mInsertion->exportAndInsert(mMap.texts(), courseText)) {
        mHistory->stack()->setClean();
        emit fileUsed(mTrackState.lastExportPath);
    }
}

bool CourseActions::isModified() const
{
    return !mHistory->stack()->isClean();
}

bool CourseActions::confirmClose()
{
    closeOpenStroke();
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
        return result == ExportResult::Written || result == ExportResult::Declined;
    }
    default:
        return false;
    }
}

} // namespace velmor
