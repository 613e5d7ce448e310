#include "course/import_track.h"

#include "course/track_file.h"
#include "course/track_format.h"
#include "course/track_state.h"
#include "editor/course_map.h"
#include "platform/file_dialog.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "platform/services.h"

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

// The kinds of file this dialog opens, as "description|pattern" pairs joined by '|'. Another
// source (courses inside a ROM) adds its pair here and its reader in readTiles().
QString openFilter()
{
    return QString::fromLatin1(track::TrackFilter);
}

track::DecodedTrack readTiles(const QByteArray &bytes)
{
    return track::decode(bytes);
}

void failWith(Services &services, const QString &path, const QString &reason)
{
    services.messages.inform(tr("Cannot open %1:\n%2.\n\nThe course map was left as it was.")
                                 .arg(displayPath(path), reason),
        dialogTitle());
}

} // namespace

ImportResult importTrack(CourseMap &map, TrackState &state, Services &services)
{
    FileDialog &dialog = services.dialog;
    dialog.setDefaultExtension(QString::fromLatin1(track::TrackExtension));
    dialog.setFileName(
        state.trackPath.isEmpty() ? QString() : QFileInfo(state.trackPath).fileName());
    dialog.setFilter(openFilter());
    dialog.setTitle(dialogTitle());
    dialog.setDirectory(
        state.trackPath.isEmpty() ? QString() : QFileInfo(state.trackPath).absolutePath());
    const std::optional<QString> chosen = dialog.showOpen();
    if (!chosen)
        return ImportResult::Cancelled;
    const QString path = *chosen;
    state.trackPath = path;

    QString reason;
    const std::optional<QByteArray> bytes = services.files.readFile(path, &reason);
    if (!bytes) {
        failWith(services, path, reason);
        return ImportResult::Failed;
    }
    const track::DecodedTrack track = readTiles(*bytes);
    if (!track.ok) {
        failWith(services, path, track.error);
        return ImportResult::Failed;
    }

    QList<Mark> marks;
    marks.fill(Mark::Untouched, CellCount);
    map.setAll(track.texts, marks);
    if (track.tileCount < CellCount) {
        services.messages.inform(
            tr("%1 held only %2 of the %3 tiles of a course map. The remaining cells were set "
               "to \"00\".")
                .arg(displayPath(path))
                .arg(track.tileCount)
                .arg(CellCount),
            dialogTitle());
        return ImportResult::Partial;
    }
    return ImportResult::Opened;
}

} // namespace velmor
