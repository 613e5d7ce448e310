#include "course/import_track.h"

#include "course/rom_course.h"
#include "course/track_file.h"
#include "course/track_format.h"
#include "course/track_state.h"
#include "document/course_map.h"
#include "platform/file_filters.h"
#include "platform/file_dialog.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "platform/services.h"
#include "rom/rom_image.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace velmor {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("velmor::importTrack", text);
}

const QString &dialogTitle()
{
    static const QString title = QStringLiteral("Import Course From File");
    return title;
}

// The kinds of file this dialog opens, as "description|pattern" pairs joined by '|'.
QString openFilter()
{
    return filters::trackFiles() + QLatin1Char('|')
           + filters::romsToOpen();
}

// The tiles of one opening, whichever the source.
struct Opened
{
    QStringList texts;
    int tileCount = 0;
    // Names the source in messages: the file, and for a ROM also the course.
    QString source;
};

void failWith(Services &services, const QString &path, const QString &reason)
{
    services.messages.inform(tr("Cannot open %1:\n%2.\n\nThe course map was left as it was.")
                                 .arg(displayPath(path), reason),
        dialogTitle());
}

std::optional<QString> choosePath(const TrackState &state, Services &services,
                                  const ImportSource &source)
{
    if (!source.path.isEmpty())
        return source.path;
    FileDialog &dialog = services.dialog;
    if (source.kind == ImportSource::Kind::Rom) {
        dialog.setDefaultExtension(QStringLiteral("smc"));
        dialog.setFileName(QString());
        dialog.setFilter(filters::romsToOpen());
        dialog.setTitle(tr("Open Course from ROM"));
        dialog.setDirectory(state.targetRom.isEmpty() ? QString()
                                                      : QFileInfo(state.targetRom).absolutePath());
        return dialog.showOpen();
    }
    dialog.setDefaultExtension(QString::fromLatin1(track::TrackExtension));
    dialog.setFileName(
        state.trackPath.isEmpty() ? QString() : QFileInfo(state.trackPath).fileName());
    dialog.setFilter(openFilter());
    dialog.setTitle(dialogTitle());
    dialog.setDirectory(
        state.trackPath.isEmpty() ? QString() : QFileInfo(state.trackPath).absolutePath());
    return dialog.showOpen();
}

} // namespace

ImportResult importTrack(CourseMap &map, TrackState &state, Services &services,
                         const CourseChoice &choice, const ImportSource &source,
                         QString *openedPath, QByteArray *openedBytes)
{
    const std::optional<QString> chosen = choosePath(state, services, source);
    if (!chosen)
        return ImportResult::Cancelled;
    const QString path = *chosen;
    const bool fromRom = isRomPath(path);

    std::optional<qint64> courseOffset;
    if (fromRom) {
        // Checked before the file is read: the course names where to look.
        courseOffset = choice.listedOffset;
        if (!choice.course.isValid()) {
            failWith(services, path,
                choice.whyNoCourse() + tr(" to open that course from the ROM"));
            return ImportResult::Failed;
        }
    } else {
        state.trackPath = path;
    }

    QString reason;
    const std::optional<QByteArray> bytes = services.files.readFile(
        path, fromRom ? qint64(rom::MaxFileSize) : track::MaxFileSize, &reason);
    if (!bytes) {
        failWith(services, path, reason);
        return ImportResult::Failed;
    }

    Opened opened;
    if (fromRom) {
        const RomCourse course = readRomCourse(*bytes, *courseOffset);
        if (!course.ok()) {
            failWith(services, path,
                tr("course \"%1\": %2").arg(choice.text, course.error));
            return ImportResult::Failed;
        }
        opened = {course.texts, course.tileCount,
            tr("The course \"%1\" in %2").arg(choice.text, displayPath(path))};
    } else {
        const track::DecodedTrack track = track::decode(*bytes);
        if (!track.ok) {
            failWith(services, path, track.error);
            return ImportResult::Failed;
        }
        opened = {track.texts, track.tileCount, displayPath(path)};
    }

    QList<Mark> marks;
    marks.fill(Mark::Untouched, CellCount);
    map.setAll(opened.texts, marks);
    if (openedPath)
        *openedPath = path;
    if (openedBytes)
        *openedBytes = *bytes;
    if (opened.tileCount < CellCount) {
        services.messages.inform(
            tr("%1 held only %2 of the %3 tiles of a course map. The remaining cells were set "
               "to \"00\".")
                .arg(opened.source)
                .arg(opened.tileCount)
                .arg(CellCount),
            dialogTitle());
        return ImportResult::Partial;
    }
    return ImportResult::Opened;
}

} // namespace velmor
