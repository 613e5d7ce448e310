#include "course/rom_file.h"

#include "platform/byte_span.h"
#include "platform/file_access.h"
#include "platform/file_lock.h"
#include "platform/whole_file_write.h"
#include "rom/checksum.h"
#include "rom/course_listing.h"
#include "rom/course_placement.h"
#include "rom/course_tables.h"
#include "rom/expansion.h"
#include "rom/rom_identity.h"
#include "rom/rom_report.h"
#include "rom/hex_offset.h"
#include "rom/rom_image.h"
#include "rom/rom_streams.h"

#include <optional>

namespace velmor {

namespace {

using files::isReadOnly;
using files::shown;

QString fromStd(const std::string &text)
{
    return QString::fromStdString(text);
}

std::optional<codec::Bytes> readAll(
    const QString &path, const QString &role, qint64 limit, QString *error)
{
    const std::optional<QByteArray> bytes = files::readWhole(path, role, limit, error);
    if (!bytes)
        return std::nullopt;
    return codec::Bytes(bytes->begin(), bytes->end());
}

std::optional<codec::Bytes> readRom(const QString &path, QString *error)
{
    return readAll(path, QStringLiteral("ROM file"), qint64(rom::MaxFileSize), error);
}

// The ROM a tool reads to write another file from it: refused before anything is computed when
// the output cannot take a whole write or is the ROM itself.
std::optional<codec::Bytes> readRomFor(
    const QString &romPath, const QString &outputPath, QString *error)
{
    std::optional<codec::Bytes> rom = readRom(romPath, error);
    if (rom && !files::isUsableOutput(outputPath, {{QStringLiteral("ROM file"), romPath}}, error))
        return std::nullopt;
    return rom;
}

QString joinedLines(const std::vector<std::string> &lines)
{
    QStringList joined;
    for (const std::string &line : lines)
        joined.append(fromStd(line));
    return joined.join(QLatin1Char('\n'));
}

bool writeAtomically(const QString &path, const codec::Bytes &bytes, QString *error)
{
    return writeWholeFile(path, toByteArray(bytes), error);
}

// The course whose original slot holds a file offset, when the file has a size to say so.
const rom::Course *courseAtFileOffset(const codec::Bytes &file, std::size_t offset)
{
    const std::optional<rom::RomImage> image = rom::RomImage::open(file);
    const std::optional<std::size_t> game = image ? image->gameOffset(offset) : std::nullopt;
    return game ? rom::courseContaining(*game) : nullptr;
}

// Another region's image keeps its courses elsewhere: the US offsets of a course are refused.
QString regionProblem(const codec::Bytes &file, std::size_t offset)
{
    if (!courseAtFileOffset(file, offset))
        return {};
    return fromStd(rom::regionRefusal(file));
}

// The US game's course that starts at a file offset, and where it lives now when it was moved
// into the added banks: recomp.exe writes such a course where it lives and decomp.exe reads it
// from there, since its old slot still holds the layout it had before the move.
struct CourseAtOffset
{
    bool usGame = false; // the US game, and writable as such
    // Why the US game cannot be written as such (its header disagrees with the file, say).
    std::string refusal;
    const rom::Course *course = nullptr;
    std::size_t gameStart = 0;
    bool moved = false;
    std::size_t livesAt = 0; // file offset
};

CourseAtOffset usCourseAt(const codec::Bytes &file, std::size_t offset)
{
    CourseAtOffset found;
    const rom::RomIdentity identity = rom::identifyRom(file);
    if (!identity.isUsGame())
        return found;
    found.refusal = rom::usWriteRefusal(identity);
    if (!found.refusal.empty())
        return found;
    const std::optional<rom::RomImage> image = rom::RomImage::open(file);
    if (!image)
        return found;
    found.usGame = true;
    found.gameStart = image->headerSize();
    found.course =
        offset >= found.gameStart ? rom::courseStartingAt(offset - found.gameStart) : nullptr;
    if (!found.course)
        return found;
    const rom::CourseTables tables = rom::readCourseTables(*image);
    const std::optional<std::size_t> now = tables[std::size_t(found.course->id)].layoutOffset;
    // An unreadable pointer counts as moved: the placement then says what is wrong with it.
    found.moved = now != found.course->layoutOffset;
    found.livesAt = now ? found.gameStart + *now : offset;
    return found;
}

// recomp.exe's insertion: into the US game's courses as the editor does it (a course that
// outgrew its slot moves into the added banks, one that moved is followed), the checksum fixed;
// into anything else exactly at the offset, as the outside compressor does.
rom::InsertOutcome insertAt(const codec::Bytes &file, const codec::Bytes &input, std::size_t offset)
{
    const CourseAtOffset at = usCourseAt(file, offset);
    rom::InsertOutcome inserted;
    // The US game with a header that disagrees with the file: its tables cannot be trusted,
    // and a checksum computed over it would be wrong.
    if (!at.refusal.empty()) {
        inserted.message = at.refusal;
        return inserted;
    }
    if (!at.usGame)
        return rom::insertIntoRom(file, input, offset);
    if (!at.moved) {
        inserted = rom::insertIntoRom(file, input, offset);
        if (inserted.ok)
            rom::fixChecksum(inserted.rom, at.gameStart);
        if (inserted.ok || !inserted.tooLarge || !at.course)
            return inserted;
    }
    const rom::PlaceOutcome placed = rom::insertCourse(file, input, at.course->id);
    inserted.ok = placed.ok;
    inserted.rom = placed.rom;
    inserted.written = placed.written;
    inserted.message = placed.message;
    return inserted;
}

} // namespace

FileOutcome insertFile(const QString &inputPath, const QString &romPath, std::size_t offset)
{
    FileOutcome outcome;
    // Held from the first read of the ROM to the check of what was written, so that a second
    // writer waits instead of working on a copy this one is about to replace.
    FileLock lock(romPath);
    if (!lock.lock(&outcome.message))
        return outcome;
    // More than one stream can describe could never be written, so it is not read either.
    const auto input = readAll(
        inputPath, QStringLiteral("input file"), qint64(codec::MaxOutput), &outcome.message);
    if (!input)
        return outcome;
    const auto rom = readRom(romPath, &outcome.message);
    if (!rom)
        return outcome;
    if (const QString refused = regionProblem(*rom, offset); !refused.isEmpty()) {
        outcome.message = refused;
        return outcome;
    }
    const rom::InsertOutcome inserted = insertAt(*rom, *input, offset);
    if (!inserted.ok) {
        outcome.message = fromStd(inserted.message);
        return outcome;
    }
    if (isReadOnly(romPath)) {
        outcome.message =
            QStringLiteral("cannot write the ROM file %1: it is read-only").arg(shown(romPath));
        return outcome;
    }
    QString error;
    if (!writeAtomically(romPath, inserted.rom, &error)) {
        outcome.message =
            QStringLiteral("cannot write the ROM file %1: %2").arg(shown(romPath), error);
        return outcome;
    }
    // What the disk holds now must be what was checked. If it is not, something outside Velmor
    // wrote the file meanwhile: putting the old bytes back could undo that newer change, so the
    // file is left as it is and the user is told.
    const auto written = readRom(romPath, &error);
    if (!written || *written != inserted.rom) {
        outcome.message = QStringLiteral("the ROM file %1 did not read back as written: another "
                                         "program may have changed it at the same time; it was "
                                         "left as it is now")
                              .arg(shown(romPath));
        return outcome;
    }
    outcome.ok = true;
    outcome.message = fromStd(inserted.message);
    return outcome;
}

FileOutcome extractFile(const QString &romPath, const QString &outputPath, std::size_t offset)
{
    FileOutcome outcome;
    const auto rom = readRomFor(romPath, outputPath, &outcome.message);
    if (!rom)
        return outcome;
    if (const QString refused = regionProblem(*rom, offset); !refused.isEmpty()) {
        outcome.message = refused;
        return outcome;
    }
    const CourseAtOffset at = usCourseAt(*rom, offset);
    const std::size_t from = at.moved ? at.livesAt : offset;
    const rom::ExtractOutcome extracted = rom::extractFromRom(*rom, from);
    if (!extracted.ok) {
        outcome.message = fromStd(extracted.message);
        return outcome;
    }
    if (!files::writeOutput(outputPath, toByteArray(extracted.data), &outcome.message))
        return outcome;
    outcome.ok = true;
    const QString where = at.moved
        ? QStringLiteral("%1 lives at %2 now")
              .arg(fromStd(std::string(at.course->name)), fromStd(rom::hexText(from)))
        : QStringLiteral("stream at %1").arg(fromStd(rom::hexText(from)));
    outcome.message = QStringLiteral("wrote %1 bytes to %2 (%3, %4 bytes)")
                          .arg(extracted.data.size())
                          .arg(shown(outputPath), where)
                          .arg(extracted.used);
    return outcome;
}

FileOutcome listCourses(const QString &romPath)
{
    FileOutcome outcome;
    const auto rom = readRom(romPath, &outcome.message);
    if (!rom)
        return outcome;
    const rom::CourseListing listing = rom::listCourses(*rom);
    if (listing.courses.empty()) {
        outcome.message = fromStd(listing.error);
        return outcome;
    }
    outcome.ok = true;
    outcome.message = joinedLines(rom::listingLines(listing));
    return outcome;
}

FileOutcome expandFile(const QString &romPath, const QString &outputPath, int megabits)
{
    FileOutcome outcome;
    const auto rom = readRomFor(romPath, outputPath, &outcome.message);
    if (!rom)
        return outcome;
    const rom::ExpandOutcome expanded = rom::expandRom(*rom, megabits);
    if (!expanded.ok) {
        outcome.message = fromStd(expanded.message);
        return outcome;
    }
    if (!files::writeOutput(outputPath, toByteArray(expanded.rom), &outcome.message))
        return outcome;
    outcome.ok = true;
    outcome.message =
        QStringLiteral("%1 written to %2").arg(fromStd(expanded.message), shown(outputPath));
    return outcome;
}

FileOutcome describeRom(const QString &romPath)
{
    FileOutcome outcome;
    const auto rom = readRom(romPath, &outcome.message);
    if (!rom)
        return outcome;
    const rom::RomReport report = rom::reportRom(*rom);
    outcome.ok = report.ok;
    outcome.message = joinedLines(report.lines);
    return outcome;
}

} // namespace velmor
