#include "rom/added_room.h"

#include "rom/hex_offset.h"
#include "rom/rom_map.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace velmor::rom {

namespace {

constexpr char Signature[] = "VELMROOM";
constexpr std::size_t SignatureSize = 8;
constexpr std::uint8_t TableVersion = 1;
constexpr std::size_t EntrySize = 7;
constexpr std::size_t EntriesStart = SignatureSize + 2;
constexpr std::size_t CrcSize = 4;

std::size_t bankEnd(std::size_t offset)
{
    return (offset / added::BankSize + 1) * added::BankSize;
}

std::uint32_t readLittle(codec::ByteView bytes, std::size_t at, std::size_t count)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < count; ++i)
        value |= std::uint32_t(bytes[at + i]) << (8 * i);
    return value;
}

void writeLittle(codec::Bytes &bytes, std::uint32_t value, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i)
        bytes.push_back(std::uint8_t(value >> (8 * i)));
}

bool allPadding(codec::ByteView bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == added::Padding; });
}

std::string courseName(int id)
{
    const Course *course = courseById(id);
    return course ? std::string(course->name) : "course " + hexText(std::size_t(id));
}

std::string blockText(const RomImage &rom, const PlacedBlock &block)
{
    return courseName(block.courseId) + " (" + hexText(rom.fileOffset(block.offset)) + " to "
        + hexText(rom.fileOffset(block.end() - 1)) + ")";
}

// Why a block read from the table cannot be one; empty when it can.
std::string badBlock(const PlacedBlock &block, std::size_t gameSize)
{
    if (!courseById(block.courseId))
        return "names no course (ID " + hexText(std::size_t(block.courseId)) + ")";
    if (block.length == 0 || block.offset < added::Start + added::TableSize
        || block.end() > gameSize)
        return "lies outside the added banks";
    if (block.end() > bankEnd(block.offset))
        return "crosses the end of a bank";
    return {};
}

// The extent of the stream a pointer reaches in the added banks: a stream never leaves its bank,
// and a place that holds none still counts up to where its decoding failed.
std::size_t streamLength(codec::ByteView game, std::size_t offset)
{
    const codec::ByteView bank = game.subspan(offset, std::min(bankEnd(offset), game.size()) - offset);
    const codec::DecodeResult decoded = codec::decode(bank);
    return decoded.ok ? decoded.consumed : std::min(bank.size(), decoded.errorOffset + 1);
}

} // namespace

std::uint32_t roomCrc32(codec::ByteView data)
{
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const std::uint8_t byte : data)
        crc = table[(crc ^ byte) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

codec::Bytes encodeRoomTable(const std::vector<PlacedBlock> &blocks)
{
    codec::Bytes bytes(Signature, Signature + SignatureSize);
    bytes.push_back(TableVersion);
    bytes.push_back(std::uint8_t(blocks.size()));
    for (const PlacedBlock &block : blocks) {
        bytes.push_back(std::uint8_t(block.courseId));
        writeLittle(bytes, std::uint32_t(block.offset), 3);
        writeLittle(bytes, std::uint32_t(block.length), 3);
    }
    writeLittle(bytes, roomCrc32(bytes), CrcSize);
    bytes.resize(added::TableSize, added::Padding);
    return bytes;
}

std::optional<std::vector<PlacedBlock>> decodeRoomTable(codec::ByteView bytes)
{
    if (bytes.size() < EntriesStart || std::memcmp(bytes.data(), Signature, SignatureSize) != 0
        || bytes[SignatureSize] != TableVersion)
        return std::nullopt;
    const std::size_t count = bytes[SignatureSize + 1];
    const std::size_t crcAt = EntriesStart + count * EntrySize;
    if (count > std::size_t(CourseCount) || crcAt + CrcSize > bytes.size()
        || readLittle(bytes, crcAt, CrcSize) != roomCrc32(bytes.first(crcAt)))
        return std::nullopt;
    std::vector<PlacedBlock> blocks;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = EntriesStart + i * EntrySize;
        blocks.push_back({int(bytes[at]), readLittle(bytes, at + 1, 3), readLittle(bytes, at + 4, 3)});
    }
    return blocks;
}

std::size_t AddedRoom::freeBytes() const
{
    std::size_t sum = 0;
    for (const FreeRun &run : free)
        sum += run.length;
    return sum;
}

const PlacedBlock *AddedRoom::blockOf(int courseId) const
{
    for (const PlacedBlock &block : blocks) {
        if (block.courseId == courseId)
            return &block;
    }
    return nullptr;
}

std::optional<std::size_t> AddedRoom::findRoom(std::size_t length) const
{
    for (const FreeRun &run : free) {
        if (run.length >= length)
            return run.offset;
    }
    return std::nullopt;
}

std::size_t AddedRoom::freeAfter(std::size_t end) const
{
    for (const FreeRun &run : free) {
        if (run.offset == end)
            return run.length;
    }
    return 0;
}

AddedRoom scanAddedRoom(const RomImage &rom, const CourseTables &tables)
{
    AddedRoom room;
    const codec::ByteView game = rom.game();
    const std::size_t firstFree = added::Start + added::TableSize;
    if (game.size() <= firstFree)
        return room;
    room.expanded = true;

    const codec::ByteView tableBytes = game.subspan(added::TableOffset, added::TableSize);
    std::vector<PlacedBlock> listed;
    if (std::optional<std::vector<PlacedBlock>> decoded = decodeRoomTable(tableBytes)) {
        room.fromTable = true;
        listed = std::move(*decoded);
        for (const PlacedBlock &block : listed) {
            if (const std::string bad = badBlock(block, game.size()); !bad.empty()) {
                room.problem = "the table of moved layouts at " + hexText(rom.fileOffset(added::TableOffset))
                    + " names a block for " + courseName(block.courseId) + " that " + bad;
                return room;
            }
        }
    } else if (!allPadding(tableBytes)
        && std::memcmp(tableBytes.data(), Signature, SignatureSize) != 0) {
        room.problem = "the first " + std::to_string(added::TableSize)
            + " bytes of the added banks (at " + hexText(rom.fileOffset(added::TableOffset))
            + "), where Velmor keeps its table of moved layouts, hold data of another tool";
        return room;
    }

    // The blocks are what the layout pointers reach in the added banks; a listed block counts
    // while its course still points at it, and keeps the length it was given.
    for (const CourseEntry &entry : tables) {
        if (!entry.layoutOffset || *entry.layoutOffset < added::Start
            || *entry.layoutOffset >= game.size())
            continue;
        const std::size_t at = *entry.layoutOffset;
        if (at < firstFree) {
            room.problem = "the layout pointer of " + courseName(entry.id)
                + " reaches into Velmor's table of moved layouts at "
                + hexText(rom.fileOffset(added::TableOffset));
            return room;
        }
        PlacedBlock block{entry.id, at, streamLength(game, at)};
        for (const PlacedBlock &known : listed) {
            if (known.courseId == entry.id && known.offset == at) {
                block.length = std::max(block.length, known.length);
                block.inTable = true;
            }
        }
        room.blocks.push_back(block);
    }
    std::sort(room.blocks.begin(), room.blocks.end(),
        [](const PlacedBlock &a, const PlacedBlock &b) { return a.offset < b.offset; });
    for (std::size_t i = 1; i < room.blocks.size(); ++i) {
        if (room.blocks[i].offset < room.blocks[i - 1].end()) {
            room.problem = "the layouts of " + blockText(rom, room.blocks[i - 1]) + " and "
                + blockText(rom, room.blocks[i]) + " overlap in the added banks";
            return room;
        }
    }

    // Free: padding outside every block, in runs that end at bank ends.
    std::size_t at = firstFree;
    std::size_t next = 0;
    while (at < game.size()) {
        while (next < room.blocks.size() && room.blocks[next].end() <= at)
            ++next;
        if (next < room.blocks.size() && room.blocks[next].offset <= at) {
            at = room.blocks[next].end();
            continue;
        }
        if (game[at] != added::Padding) {
            ++at;
            continue;
        }
        std::size_t limit = std::min(bankEnd(at), game.size());
        if (next < room.blocks.size())
            limit = std::min(limit, room.blocks[next].offset);
        std::size_t end = at;
        while (end < limit && game[end] == added::Padding)
            ++end;
        room.free.push_back({at, end - at});
        at = end;
    }
    return room;
}

} // namespace velmor::rom
