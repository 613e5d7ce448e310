#include "course/export_track.h"

#include "course/track_file.h"
#include "course/track_format.h"
#include "course/track_state.h"
#include "platform/file_filters.h"
#include "platform/file_dialog.h"
#include "platform/save_dialog.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "platform/services.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace velmor {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("velmor::exportTrack", text);
}

} // namespace

QString badCellRefusal(const track::BadCell &cell)
{
    const QString what = cell.text.isEmpty() ? tr("is empty") : tr("holds \"%1\"").arg(cell.text);
    return tr("The cell at row %1, column %2 %3, which is not a tile number of two hexadecimal "
              "digits (00 to FF).\n\nNothing was written. Paint that cell with a valid tile and "
              "save again.")
        .arg(cell.row())
        .arg(cell.column())
        .arg(what);
}

namespace {

// Every showing gives all settings again: the dialog is shared with other procedures, and a
// declined overwrite must offer "newtrack.bin" once more.
void prepareSaveDialog(FileDialog &dialog, const TrackState &state)
{
    dialog.setDefaultExtension(QString::fromLatin1(track::TrackExtension));
    dialog.setFileName(QString::fromLatin1(track::NewTrackFileName));
    dialog.setFilter(filters::trackFiles());
    dialog.setTitle(QStringLiteral("Name Your Course"));
    dialog.setDirectory(
        state.trackPath.isEmpty() ? QString() : QFileInfo(state.trackPath).absolutePath());
}

} // namespace

ExportResult exportTrack(const QStringList &cellTexts, TrackState &state, Services &services,
                         UnchangedMap unchanged)
{
    // A text of other than two hexadecimal digits would shift every later byte of the file, so
    // such a map is refused before anything else is asked.
    if (const auto bad = track::firstBadCell(cellTexts)) {
        services.messages.inform(badCellRefusal(*bad), tr("Cannot Export"));
        return ExportResult::Refused;
    }
    const QString hexText = track::encode(cellTexts);
    if (hexText == state.lastExport && unchanged == UnchangedMap::Ask
        && !services.messages.askYesNo(
            QStringLiteral("You made no changes. Would you like to save the course anyway?"),
            QStringLiteral("No changes?"))) {
        return ExportResult::Declined;
    }
    const std::optional<QByteArray> bytes = track::toBytes(hexText);
    // Cannot happen after the check above; kept so that a broken text is never written.
    if (!bytes) {
        services.messages.inform(
            tr("The course could not be encoded. Nothing was written."), tr("Cannot Export"));
        return ExportResult::Refused;
    }

    const std::optional<QString> chosen = askSaveName(
        services, [&state](FileDialog &dialog) { prepareSaveDialog(dialog, state); },
        [&state](const QString &picked) { state.trackPath = picked; });
    if (!chosen)
        return ExportResult::Cancelled;
    const QString path = *chosen;

    QString reason;
    if (!services.files.writeFile(path, *bytes, &reason)) {
        services.messages.inform(
            tr("The track file %1 was not written.\n\n%2").arg(displayPath(path), reason),
            tr("Export Failed"));
        return ExportResult::Failed;
    }
    // Only a file on disk counts as the last export: a cancel or a failed write must not make the
    // next press claim that nothing changed.
    state.lastExport = hexText;
    state.lastExportPath = path;
    services.messages.inform(
        QStringLiteral("Track Exported to ") + displayPath(path) + QStringLiteral(" successfully!"),
        QStringLiteral("Successful Export"));
    return ExportResult::Written;
}

} // namespace velmor
