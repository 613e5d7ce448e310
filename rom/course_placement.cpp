#include "rom/course_placement.h"

#include "rom/checksum.h"
#include "rom/course_tables.h"
#include "rom/hex_offset.h"
#include "rom/rom_identity.h"
#include "rom/rom_map.h"
#include "rom/rom_streams.h"

#include <algorithm>

namespace velmor::rom {

namespace {

constexpr std::size_t BankMask = added::BankSize - 1;

std::string cellCount(std::size_t count)
{
    std::string digits = std::to_string(count);
    for (std::size_t at = digits.size(); at > 3; at -= 3)
        digits.insert(at - 3, 1, ',');
    return digits;
}

// Why the input is no whole course within both decodings' limits; empty when it is one.
std::string trackProblem(codec::ByteView track)
{
    if (track.size() > TrackTileLimit) {
        return "the track takes " + cellCount(track.size()) + " bytes, more than the "
            + cellCount(TrackTileLimit) + " the game's first decoding may give";
    }
    const codec::DecodeResult cells = codec::decode(track, TrackTileLimit);
    if (!cells.ok)
        return "the input is not a valid track file: " + cells.error;
    if (cells.consumed != track.size()) {
        return "the input is not a valid track file: "
            + std::to_string(track.size() - cells.consumed) + " bytes follow the end marker";
    }
    if (cells.output.size() != TrackTileLimit) {
        return "the input is no whole course: it describes " + cellCount(cells.output.size())
            + " of " + cellCount(TrackTileLimit) + " cells";
    }
    return {};
}

void put(codec::Bytes &file, std::size_t at, codec::ByteView bytes)
{
    std::copy(bytes.begin(), bytes.end(), file.begin() + std::ptrdiff_t(at));
}

void pad(codec::Bytes &file, std::size_t from, std::size_t to)
{
    if (from < to)
        std::fill(file.begin() + std::ptrdiff_t(from), file.begin() + std::ptrdiff_t(to), added::Padding);
}

void writePointer(codec::Bytes &file, const RomImage &rom, int courseId, std::size_t target)
{
    const SnesAddress pointer = wholeBankPointer(target);
    const std::size_t at = rom.fileOffset(map::CourseLayoutPointers + PointerSize * std::size_t(courseId));
    file[at] = std::uint8_t(pointer.address & 0xFF);
    file[at + 1] = std::uint8_t(pointer.address >> 8);
    file[at + 2] = pointer.bank;
}

// Whether any course but `courseId` has its layout inside [from, to).
bool otherCourseWithin(const CourseTables &tables, int courseId, std::size_t from, std::size_t to)
{
    return std::any_of(tables.begin(), tables.end(), [&](const CourseEntry &entry) {
        return entry.id != courseId && entry.layoutOffset && *entry.layoutOffset >= from
            && *entry.layoutOffset < to;
    });
}

// Reads the course back the way the game does: through its pointer, within one bank, both
// decodings bounded.
bool readsBack(codec::ByteView romFile, const RomImage &shape, int courseId, codec::ByteView track)
{
    const std::optional<RomImage> rom = RomImage::open(romFile);
    if (!rom || rom->hasHeader() != shape.hasHeader())
        return false;
    const std::optional<SnesAddress> pointer =
        readPointer(rom->game(), map::CourseLayoutPointers + PointerSize * std::size_t(courseId));
    const std::optional<std::size_t> at = pointer ? gameOffsetOf(*pointer) : std::nullopt;
    if (!at || *at >= rom->game().size())
        return false;
    const std::size_t bankLeft = added::BankSize - (*at & BankMask);
    const codec::ByteView stream =
        rom->game().subspan(*at, std::min(bankLeft, rom->game().size() - *at));
    const codec::DecodeResult first = codec::decode(stream, TrackTileLimit);
    return first.ok && std::equal(first.output.begin(), first.output.end(), track.begin(), track.end());
}

std::string grown(const CourseHome &home, std::size_t needed)
{
    return "needs " + std::to_string(needed) + " bytes, " + home.describe() + " holds "
        + std::to_string(home.capacity);
}

} // namespace

SnesAddress wholeBankPointer(std::size_t gameOffset)
{
    return {std::uint8_t(0xC0 | (gameOffset >> 16)), std::uint16_t(gameOffset & BankMask)};
}

std::string CourseHome::describe() const
{
    const Course *course = courseById(courseId);
    const std::string name = course ? std::string(course->name) : std::string("the course");
    switch (kind) {
    case Kind::OriginalSlot:
        return name + "'s slot at " + hexText(fileOffset);
    case Kind::AddedBlock:
        return name + "'s block at " + hexText(fileOffset) + " ("
            + addressText(wholeBankPointer(gameOffset)) + ") with the free room after it";
    case Kind::Elsewhere:
        break;
    }
    return name + "'s stream at " + hexText(fileOffset);
}

HomeResult courseHome(codec::ByteView romFile, int courseId)
{
    HomeResult result;
    const Course *course = courseById(courseId);
    if (!course) {
        result.error = "there is no course " + hexText(std::size_t(courseId));
        return result;
    }
    if (const std::string refusal = usWriteRefusal(identifyRom(romFile)); !refusal.empty()) {
        result.error = refusal;
        return result;
    }
    const std::optional<RomImage> rom = RomImage::open(romFile);
    const CourseTables tables = readCourseTables(*rom);
    const CourseEntry &entry = tables[std::size_t(courseId)];
    if (!entry.layoutOffset) {
        result.error = std::string(course->name) + ": " + entry.problem;
        return result;
    }
    CourseHome home;
    home.courseId = courseId;
    home.gameOffset = *entry.layoutOffset;
    home.fileOffset = rom->fileOffset(home.gameOffset);
    if (home.gameOffset >= added::Start) {
        const AddedRoom room = scanAddedRoom(*rom, tables);
        if (!room.problem.empty()) {
            result.error = room.problem;
            return result;
        }
        const PlacedBlock *block = room.blockOf(courseId);
        home.kind = CourseHome::Kind::AddedBlock;
        home.used = block->length;
        home.capacity = block->length + room.freeAfter(block->end());
        const codec::DecodeResult stream = codec::decode(rom->game().subspan(home.gameOffset,
            std::min(block->length, rom->game().size() - home.gameOffset)));
        if (stream.ok)
            home.used = stream.consumed;
        result.home = home;
        return result;
    }
    const SlotResult slot = slotAt(romFile, home.fileOffset);
    if (!slot.slot) {
        result.error = std::string(course->name) + ": " + slot.error;
        return result;
    }
    home.kind = home.gameOffset == course->layoutOffset ? CourseHome::Kind::OriginalSlot
                                                        : CourseHome::Kind::Elsewhere;
    home.used = slot.slot->used;
    home.capacity = slot.slot->capacity;
    result.home = home;
    return result;
}

PlaceOutcome insertCourse(codec::ByteView romFile, codec::ByteView track, int courseId)
{
    PlaceOutcome outcome;
    const HomeResult found = courseHome(romFile, courseId);
    if (!found.home) {
        outcome.message = found.error;
        return outcome;
    }
    const CourseHome &home = *found.home;
    const Course &course = *courseById(courseId);
    if (const std::string problem = trackProblem(track); !problem.empty()) {
        outcome.message = std::string(course.name) + ": " + problem;
        return outcome;
    }
    const std::optional<RomImage> rom = RomImage::open(romFile);
    const std::size_t gameStart = rom->headerSize();
    const CourseTables tables = readCourseTables(*rom);
    AddedRoom room = scanAddedRoom(*rom, tables);
    const codec::Bytes packed = codec::compress(track);

    outcome.rom.assign(romFile.begin(), romFile.end());
    CourseHome now = home;
    // A copy of where the course's own block was: the room is scanned again below once that block
    // is cleared. Only a block the table names is free room again when the course leaves it.
    const PlacedBlock *placed = room.blockOf(courseId);
    const bool hadOldBlock = placed != nullptr;
    const bool oldBlockInTable = placed && placed->inTable;
    const std::size_t oldBlockStart = placed ? placed->offset : 0;
    const std::size_t oldBlockEnd = placed ? placed->end() : 0;
    std::vector<PlacedBlock> blocks = room.blocks;
    std::erase_if(blocks, [courseId](const PlacedBlock &b) { return b.courseId == courseId; });
    bool tableChanged = false;

    const std::size_t originalEnd = course.layoutOffset + course.slotLength;
    const bool originalFree =
        !otherCourseWithin(tables, courseId, course.layoutOffset, originalEnd);
    if (packed.size() <= home.capacity && home.kind != CourseHome::Kind::AddedBlock) {
        // Where it is: the slot, or wherever another tool put it.
        put(outcome.rom, home.fileOffset, packed);
    } else if (packed.size() <= course.slotLength && originalFree) {
        // Home again: a course that shrank back leaves the added banks.
        put(outcome.rom, rom->fileOffset(course.layoutOffset), packed);
        writePointer(outcome.rom, *rom, courseId, course.layoutOffset);
        now.kind = CourseHome::Kind::OriginalSlot;
        now.gameOffset = course.layoutOffset;
        now.capacity = course.slotLength;
        outcome.moved = true;
        if (oldBlockInTable)
            pad(outcome.rom, gameStart + oldBlockStart, gameStart + oldBlockEnd);
        tableChanged = hadOldBlock;
    } else if (hadOldBlock && packed.size() <= home.capacity) {
        // In its block, perhaps grown into the free room after it; a shorter layout gives the
        // rest of its block back.
        put(outcome.rom, home.fileOffset, packed);
        if (oldBlockInTable)
            pad(outcome.rom, home.fileOffset + packed.size(), gameStart + oldBlockEnd);
        blocks.push_back({courseId, home.gameOffset, packed.size(), true});
        tableChanged = true;
    } else {
        if (!room.expanded) {
            outcome.needsExpansion = true;
            outcome.message = grown(home, packed.size())
                + "; a 4 Mbit ROM has no room for a larger course: Expand ROM (File \u25B8 Expand "
                  "ROM\u2026, or velmor-rom expand) gives it room in added banks";
            outcome.rom.clear();
            return outcome;
        }
        if (!room.problem.empty()) {
            outcome.message = grown(home, packed.size()) + ", and the added banks cannot take it: "
                + room.problem;
            outcome.rom.clear();
            return outcome;
        }
        // The course's own block is free room too once the course leaves it.
        if (oldBlockInTable) {
            pad(outcome.rom, gameStart + oldBlockStart, gameStart + oldBlockEnd);
            const std::optional<RomImage> cleared = RomImage::open(outcome.rom);
            CourseTables without = tables;
            without[std::size_t(courseId)].layoutOffset.reset();
            room = scanAddedRoom(*cleared, without);
        }
        const std::optional<std::size_t> at = room.findRoom(packed.size());
        if (!at) {
            std::size_t largest = 0;
            for (const FreeRun &run : room.free)
                largest = std::max(largest, run.length);
            outcome.message = grown(home, packed.size()) + ", and no bank of the added banks has "
                + std::to_string(packed.size()) + " free bytes in a row (the most is "
                + std::to_string(largest) + "): expand the ROM further";
            outcome.needsExpansion = rom->game().size() < added::MaxGameSize;
            outcome.rom.clear();
            return outcome;
        }
        put(outcome.rom, gameStart + *at, packed);
        writePointer(outcome.rom, *rom, courseId, *at);
        blocks.push_back({courseId, *at, packed.size(), true});
        now.kind = CourseHome::Kind::AddedBlock;
        now.gameOffset = *at;
        now.capacity = room.freeAfter(*at);
        outcome.moved = true;
        tableChanged = true;
    }
    now.fileOffset = rom->fileOffset(now.gameOffset);
    now.used = packed.size();
    if (tableChanged) {
        std::sort(blocks.begin(), blocks.end(),
            [](const PlacedBlock &a, const PlacedBlock &b) { return a.offset < b.offset; });
        put(outcome.rom, gameStart + added::TableOffset, encodeRoomTable(blocks));
    }
    fixChecksum(outcome.rom, gameStart);

    if (!readsBack(outcome.rom, *rom, courseId, track)) {
        outcome.rom.clear();
        outcome.message = "internal error: " + std::string(course.name)
            + " does not read back through its pointer as written; nothing was written";
        return outcome;
    }
    outcome.ok = true;
    outcome.written = packed.size();
    outcome.home = now;
    outcome.message = "wrote " + std::to_string(packed.size()) + " bytes at "
        + hexText(now.fileOffset);
    if (now.kind == CourseHome::Kind::AddedBlock && outcome.moved) {
        outcome.message += " in the added banks (" + addressText(wholeBankPointer(now.gameOffset))
            + "), the layout pointer rewritten; the old place at " + hexText(home.fileOffset)
            + (oldBlockInTable ? " is free room again" : " is left as it was");
    } else if (outcome.moved) {
        outcome.message += ", back in its original slot of " + std::to_string(course.slotLength)
            + " bytes";
    } else {
        outcome.message += " (" + home.describe() + ", " + std::to_string(home.capacity)
            + " bytes, " + std::to_string(home.capacity - packed.size()) + " free)";
    }
    return outcome;
}

} // namespace velmor::rom
