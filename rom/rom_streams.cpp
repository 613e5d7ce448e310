#include "rom/rom_streams.h"

#include "rom/course_tables.h"
#include "rom/hex_offset.h"
#include "rom/rom_image.h"

#include <algorithm>

namespace velmor::rom {

namespace {

std::string pastTheEnd(std::size_t offset, std::size_t size)
{
    return "offset " + hexText(offset) + " lies past the end of the ROM (" + std::to_string(size)
        + " bytes)";
}

std::string noStreamMessage(
    codec::ByteView file, std::size_t offset, const codec::DecodeResult &attempt)
{
    std::string message = "no valid compressed stream at " + hexText(offset) + " (" + attempt.reason
        + " at " + hexText(offset + attempt.errorOffset) + ")";
    // The course list counts the copier header; a ROM without one holds the course 0x200 bytes
    // earlier, which is the likeliest reason for a miss.
    if (headerFormOf(file.size()) == HeaderForm::Headerless && offset >= CopierHeaderSize) {
        const std::size_t earlier = offset - CopierHeaderSize;
        if (codec::decode(file.subspan(earlier)).ok) {
            message += "; a valid stream starts at " + hexText(earlier)
                + ": the course table's offsets are for ROMs with the 512-byte copier "
                  "header, and this ROM has none";
        }
    }
    return message;
}

// The game stops reading a course at the track's own end marker, so bytes the stream holds after
// it do not make it any less a course (the editor opens such a course too).
bool isTrackStream(const codec::DecodeResult &decoded)
{
    return decoded.ok && codec::decode(decoded.output, TrackTileLimit).ok;
}

// "16,384": counts of cells as the editor shows them.
std::string grouped(std::size_t count)
{
    std::string digits = std::to_string(count);
    for (std::size_t at = digits.size(); at > 3; at -= 3)
        digits.insert(at - 3, 1, ',');
    return digits;
}

// Why the input cannot go into a course slot: no valid track, or not a whole course (the game
// would read whatever lay in memory for the cells it does not describe). Empty when it can.
std::string courseProblem(codec::ByteView input, std::size_t fileOffset)
{
    const std::string refused = "the slot at " + hexText(fileOffset) + " holds a course, but ";
    const codec::DecodeResult track = codec::decode(input, TrackTileLimit);
    if (!track.ok)
        return refused + "the input is not a valid track file: " + track.error;
    if (track.consumed != input.size()) {
        return refused + "the input is not a valid track file: "
            + std::to_string(input.size() - track.consumed)
            + " bytes follow the end marker at input offset " + hexText(track.consumed - 1);
    }
    if (track.output.size() != TrackTileLimit) {
        return refused + "the input is no whole course: it describes "
            + grouped(track.output.size()) + " of " + grouped(TrackTileLimit) + " cells";
    }
    return {};
}

} // namespace

std::string Slot::describe() const
{
    if (course)
        return std::string(course->name) + "'s slot at " + hexText(fileOffset);
    return "the slot at " + hexText(fileOffset);
}

SlotResult slotAt(codec::ByteView romFile, std::size_t fileOffset)
{
    SlotResult result;
    std::string error;
    const std::optional<RomImage> rom = RomImage::open(romFile, &error);
    if (!rom) {
        result.error = error;
        return result;
    }
    if (fileOffset >= romFile.size()) {
        result.error = pastTheEnd(fileOffset, romFile.size());
        return result;
    }
    const std::optional<std::size_t> gameOffset = rom->gameOffset(fileOffset);
    if (!gameOffset) {
        result.error = "offset " + hexText(fileOffset)
            + " lies in the ROM's 512-byte copier "
              "header, where the game keeps nothing";
        return result;
    }
    const Course *inside = courseContaining(*gameOffset);
    if (inside && inside->layoutOffset != *gameOffset) {
        const std::size_t start = rom->fileOffset(inside->layoutOffset);
        result.error = "offset " + hexText(fileOffset) + " lies inside " + std::string(inside->name)
            + "'s slot (" + hexText(start) + " to " + hexText(start + inside->slotLength - 1)
            + "): writing there would damage that course, which starts at " + hexText(start);
        // The likeliest way to get here: a course list offset, which counts the copier header,
        // given for a ROM that has none.
        if (!rom->hasHeader() && fileOffset == listedOffsetOfGame(inside->layoutOffset)) {
            result.error += "; the course list's offsets are for ROMs with the 512-byte copier "
                            "header, and this ROM has none";
        }
        return result;
    }

    const codec::DecodeResult current = codec::decode(romFile.subspan(fileOffset));
    if (!current.ok) {
        result.error = noStreamMessage(romFile, fileOffset, current);
        return result;
    }
    Slot slot;
    slot.fileOffset = fileOffset;
    slot.used = current.consumed;
    slot.capacity = current.consumed;
    slot.course = courseStartingAt(*gameOffset);
    slot.holdsTrack = isTrackStream(current);
    // The original room counts only where this ROM's own table still sends that course here;
    // a ROM whose tables another tool changed keeps only what its stream shows.
    if (slot.course) {
        const CourseTables tables = readCourseTables(*rom);
        const CourseEntry &entry = tables[std::size_t(slot.course->id)];
        if (entry.layoutOffset == *gameOffset)
            slot.capacity = std::max(slot.course->slotLength, slot.used);
    }
    result.slot = slot;
    return result;
}

InsertOutcome insertIntoRom(codec::ByteView romFile, codec::ByteView input, std::size_t fileOffset)
{
    InsertOutcome outcome;
    const SlotResult found = slotAt(romFile, fileOffset);
    if (!found.slot) {
        outcome.message = found.error;
        return outcome;
    }
    const Slot &slot = *found.slot;
    outcome.slot = slot;
    if (input.size() > codec::MaxOutput) {
        outcome.message = "the input holds " + std::to_string(input.size())
            + " bytes, more than the " + std::to_string(codec::MaxOutput)
            + " one compressed stream can describe";
        return outcome;
    }
    // A course slot must receive a course: anything else would leave the game reading garbage.
    if (slot.holdsTrack) {
        outcome.message = courseProblem(input, fileOffset);
        if (!outcome.message.empty())
            return outcome;
    }
    const codec::Bytes packed = codec::compress(input);
    if (packed.size() > slot.capacity) {
        outcome.tooLarge = true;
        outcome.message = "needs " + std::to_string(packed.size()) + " bytes, " + slot.describe()
            + " holds " + std::to_string(slot.capacity);
        return outcome;
    }
    outcome.rom.assign(romFile.begin(), romFile.end());
    std::copy(packed.begin(), packed.end(), outcome.rom.begin() + std::ptrdiff_t(fileOffset));
    // Never hand back a ROM whose slot does not give the input back.
    const codec::DecodeResult check =
        codec::decode(codec::ByteView(outcome.rom).subspan(fileOffset));
    if (!check.ok
        || !std::equal(check.output.begin(), check.output.end(), input.begin(), input.end())) {
        outcome.rom.clear();
        outcome.message = "internal error: the compressed data at " + hexText(fileOffset)
            + " does not decode back to the input; nothing was written";
        return outcome;
    }
    outcome.ok = true;
    outcome.written = packed.size();
    const std::string room =
        slot.course ? std::string(slot.course->name) + "'s slot of " : std::string("slot ");
    outcome.message = "wrote " + std::to_string(packed.size()) + " bytes at " + hexText(fileOffset)
        + " (" + room + std::to_string(slot.capacity) + " bytes, "
        + std::to_string(slot.capacity - packed.size()) + " free)";
    return outcome;
}

ExtractOutcome extractFromRom(codec::ByteView file, std::size_t fileOffset)
{
    ExtractOutcome outcome;
    if (fileOffset >= file.size()) {
        outcome.message = pastTheEnd(fileOffset, file.size());
        return outcome;
    }
    codec::DecodeResult decoded = codec::decode(file.subspan(fileOffset));
    if (!decoded.ok) {
        outcome.message = noStreamMessage(file, fileOffset, decoded);
        return outcome;
    }
    outcome.ok = true;
    outcome.used = decoded.consumed;
    outcome.data = std::move(decoded.output);
    return outcome;
}

} // namespace velmor::rom
