#include "course/rom_insertion.h"

#include "course/expand_rom.h"

#include "document/course_ref.h"
#include "course/export_track.h"
#include "course/rom_target.h"
#include "course/track_file.h"
#include "course/track_format.h"
#include "course/track_state.h"
#include "document/map_geometry.h"
#include "platform/file_filters.h"
#include "platform/file_dialog.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "platform/services.h"
#include "platform/tool_runner.h"
#include "rom/rom_image.h"
#include "rom/rom_streams.h"

#include <QDir>
#include <QFileInfo>

namespace velmor {

namespace {

const QString FailedTitle = QStringLiteral("Import Failed");
const QString RecompFormat = QString::fromLatin1(rom::CourseFormat);
const QString RecompFormat2 = QString::fromLatin1(rom::CourseFormat2);

QString folderOf(const QString &path)
{
    return path.isEmpty() ? QString() : QFileInfo(path).absolutePath();
}

} // namespace

RomInsertion::RomInsertion(Services &services, TrackState &state, QObject *parent)
    : QObject(parent)
    , mServices(services)
    , mState(state)
{ }

std::optional<qint64> RomInsertion::toolOffset(qint64 courseOffset, qint64 romSize)
{
    if (courseOffset < 0 || romSize < 0)
        return std::nullopt;
    const std::optional<std::size_t> offset =
        rom::fileOffsetOfListed(std::size_t(courseOffset), std::size_t(romSize));
    if (!offset)
        return std::nullopt;
    return qint64(*offset);
}

void RomInsertion::insertFromFile(const CourseChoice &choice)
{
    const std::optional<qint64> course = checkedCourse(choice);
    if (!course)
        return;

    FileDialog &dialog = mServices.dialog;
    for (;;) {
        dialog.setDefaultExtension(QStringLiteral("bin"));
        dialog.setFileName(QStringLiteral("newtrack.bin"));
        dialog.setFilter(filters::trackFiles());
        dialog.setTitle(QStringLiteral("Choose an Velmor Custom Makde Course."));
        dialog.setDirectory(folderOf(mState.trackPath));
        const std::optional<QString> chosen = dialog.showOpen();
        if (!chosen) {
            end(Outcome::Cancelled);
            return;
        }
        mState.trackPath = *chosen;
        if (mServices.files.isFile(mState.trackPath))
            break;
        mServices.messages.inform(
            QStringLiteral("You didn't choose anything. Please pick a custom track to use."),
            QStringLiteral("Whoops."));
    }
    romStep(mState.trackPath, *course, QStringLiteral("Choose an SMK ROM or make a NEW one."));
}

bool RomInsertion::exportAndInsert(const QStringList &cellTexts, const CourseChoice &choice)
{
    const ExportResult exported = exportTrack(cellTexts, mState, mServices);
    const bool written = exported == ExportResult::Written;
    switch (exported) {
    case ExportResult::Written:
    case ExportResult::Declined:
        break;
    case ExportResult::Cancelled:
        end(Outcome::Cancelled);
        return written;
    case ExportResult::Failed:
        end(Outcome::Failed);
        return written;
    case ExportResult::Refused:
        end(Outcome::Refused);
        return written;
    }

    const std::optional<qint64> course = checkedCourse(choice);
    if (!course)
        return written;
    // Declined means the map is the one last exported, so the file to insert is the one holding
    // that export, not whatever a later track dialog happened to pick.
    const QString trackPath = mState.lastExportPath;
    if (trackPath.isEmpty() || !mServices.files.isFile(trackPath)) {
        mServices.messages.inform(trackPath.isEmpty()
                ? tr("No track file holds this map yet. Answer Yes to \"No changes?\" to save "
                     "it as a track file, then it can be imported.")
                : tr("The track file %1 that held this map is gone. Answer Yes to \"No "
                     "changes?\" to save the map again.")
                      .arg(displayPath(trackPath)),
            tr("No Track File"));
        end(Outcome::Refused);
        return written;
    }
    romStep(trackPath, *course, QStringLiteral("Choose an SMK ROM, or make a NEW one."));
    return written;
}

std::optional<qint64> RomInsertion::checkedCourse(const CourseChoice &choice)
{
    if (!choice.isCourseLine()) {
        mServices.messages.inform(
            QStringLiteral("Whoops! No Course was selected. A course must be selected before you "
                           "can import your course into the ROM."),
            QStringLiteral("No Course Selected"));
        end(Outcome::Refused);
        return std::nullopt;
    }
    // Five digits that are no course would send the compressor to graphics or code, which a
    // track would destroy.
    if (!choice.course.isValid()) {
        mServices.messages.inform(choice.whyNoCourse() + QLatin1Char('.'),
                                  QStringLiteral("No Course Selected"));
        end(Outcome::Refused);
        return std::nullopt;
    }
    return choice.listedOffset;
}

bool RomInsertion::holdsWholeCourse(const QString &trackPath)
{
    // A file that cannot be read or decoded goes on to the compressor, whose refusal says why.
    QString unread;
    const std::optional<QByteArray> bytes =
        mServices.files.readFile(trackPath, track::MaxFileSize, &unread);
    const track::DecodedTrack decoded = bytes ? track::decode(*bytes) : track::DecodedTrack();
    if (!decoded.ok || decoded.tileCount >= CellCount)
        return true;
    mServices.messages.inform(
        tr("The track file %1 is no whole course: %2. Only a whole course can go into a ROM: "
           "open it with \"Import Course From File\", finish the map and save it again.")
            .arg(displayPath(trackPath), track::cellsDescribed(decoded.tileCount)),
        FailedTitle);
    return false;
}

void RomInsertion::romStep(const QString &trackPath, qint64 courseOffset, const QString &title)
{
    // Before the ROM is asked for: the game would read whatever lies in memory for the cells a
    // part of a course does not describe.
    if (!holdsWholeCourse(trackPath)) {
        end(Outcome::Refused);
        return;
    }
    if (const std::optional<Outcome> stop = chooseTargetRom(title)) {
        end(*stop);
        return;
    }
    const QString romPath = mState.targetRom;

    QString error;
    const std::optional<QByteArray> romBytes =
        mServices.files.readFile(romPath, qint64(rom::MaxFileSize), &error);
    if (!romBytes) {
        fail(tr("The ROM %1 cannot be read:\n%2").arg(displayPath(romPath), error));
        return;
    }
    const qint64 romSize = romBytes->size();
    const std::optional<qint64> offset = toolOffset(courseOffset, romSize);
    if (!offset) {
        mServices.messages.inform(
            tr("The course cannot be put into %1: a ROM of %2 bytes has no place at offset %3. "
               "The game's ROM is 524288 bytes, or 524800 with a copier header.")
                .arg(displayPath(romPath))
                .arg(romSize)
                .arg(courseOffset, 0, 16),
            FailedTitle);
        end(Outcome::Refused);
        return;
    }
    startTool(trackPath, romPath, QString::number(*offset, 16));
}

std::optional<RomInsertion::Outcome> RomInsertion::chooseTargetRom(const QString &title)
{
    const RomTarget target = chooseRomToWrite(mServices, mSettings, title);
    switch (target.outcome) {
    case RomTarget::Outcome::Cancelled:
        return Outcome::Cancelled;
    case RomTarget::Outcome::Failed:
        mServices.messages.inform(target.error, FailedTitle);
        return Outcome::Failed;
    case RomTarget::Outcome::Chosen:
        break;
    }
    mState.targetRom = target.path;
    return std::nullopt;
}

void RomInsertion::startTool(
    const QString &trackPath, const QString &romPath, const QString &offsetText)
{
    ToolRunner *tools = mServices.tools;
    if (!tools) {
        fail(tr("No way to start %1 was set up.").arg(displayPath(mSettings.recompPath)));
        return;
    }
    const QStringList arguments {trackPath, romPath, offsetText, RecompFormat, RecompFormat2};
    ToolRun *run = tools->start(mSettings.recompPath, arguments);
    ++mRunning;
    connect(run, &ToolRun::finished, this,
        [this, trackPath, romPath, offsetText](const ToolResult &result) {
            --mRunning;
            report(trackPath, romPath, offsetText, result);
        });
}

void RomInsertion::report(const QString &trackPath, const QString &romPath,
    const QString &offsetText, const ToolResult &result)
{
    if (!result.succeeded()) {
        const QString why = tr("The course could not be imported into %1.\n%2")
                                .arg(displayPath(romPath), result.describe());
        // recomp.exe's words when a 4 Mbit ROM has no room for a larger course: Expand ROM is
        // offered, as Save Course into ROM offers it, and the course then goes into the new ROM.
        if (result.outcome == ToolResult::Outcome::Finished
            && result.errorOutput.contains(QStringLiteral("Expand ROM"))) {
            offerExpansion(trackPath, romPath, offsetText, why);
            return;
        }
        fail(why);
        return;
    }
    mServices.messages.inform(QStringLiteral("Import of ") + displayPath(trackPath)
            + QStringLiteral(" into ") + displayPath(romPath) + QStringLiteral(" successful."),
        QStringLiteral("Successful Import"));
    end(Outcome::Imported);
}

void RomInsertion::offerExpansion(const QString &trackPath, const QString &romPath,
    const QString &offsetText, const QString &why)
{
    if (!mServices.messages.askYesNo(
            why
                + tr("\n\nExpand ROM makes room for larger courses. Expand %1 now? The expanded "
                     "ROM is a new file, and the course goes into it.")
                      .arg(displayPath(romPath)),
            FailedTitle)) {
        end(Outcome::Failed);
        return;
    }
    ExpandRom expansion(mServices);
    if (expansion.run(romPath) != ExpandRom::Outcome::Done) {
        end(Outcome::Failed);
        return;
    }
    mState.targetRom = expansion.written();
    startTool(trackPath, expansion.written(), offsetText);
}

void RomInsertion::fail(const QString &text)
{
    mServices.messages.inform(text, FailedTitle);
    end(Outcome::Failed);
}

void RomInsertion::end(Outcome outcome)
{
    emit finished(outcome);
}

} // namespace velmor
