#pragma once

#include "codec/codec.h"
#include "rom/course_tables.h"
#include "rom/rom_image.h"

#include <optional>
#include <string>
#include <vector>

// The room of an expanded image's added banks ($C8 on): which blocks hold the layouts the editor
// moved there, and which bytes are free.
//
// The editor keeps a table of its blocks in the image itself, in the first 256 bytes of the
// added banks (game offset 0x80000, $C8:0000):
//   0   8 bytes  "VELMROOM"
//   8   1 byte   version, 1
//   9   1 byte   n, the number of blocks (at most 24)
//   10  n x 7    course ID (1 byte), game offset (3 bytes) and length (3 bytes), low byte first
//   ..  4 bytes  CRC-32 (zip's) of everything before it
// and 0xFF up to the 256th byte. A table that is missing or damaged is rebuilt from the layout
// pointers. A byte counts as free only when it holds the padding 0xFF, lies in no block, and no
// layout pointer's stream covers it: room that another tool used is never taken.
namespace velmor::rom {

struct PlacedBlock
{
    int courseId = 0;
    std::size_t offset = 0; // game offset
    std::size_t length = 0;
    // Listed in the image's table, so the editor placed it and may clear it when the course
    // moves on; a block found only by its pointer is left as it is.
    bool inTable = false;

    std::size_t end() const { return offset + length; }
    bool operator==(const PlacedBlock &) const = default;
};

struct FreeRun
{
    std::size_t offset = 0; // game offset; a run never crosses a bank's end
    std::size_t length = 0;
};

struct AddedRoom
{
    // Whether the image has added banks at all.
    bool expanded = false;
    // Why nothing may be placed: blocks that overlap, a table's place taken by other data.
    std::string problem;
    // Whether the blocks came from the table (else they were rebuilt from the pointers).
    bool fromTable = false;
    std::vector<PlacedBlock> blocks; // by offset
    std::vector<FreeRun> free; // by offset

    bool usable() const { return expanded && problem.empty(); }
    std::size_t freeBytes() const;
    const PlacedBlock *blockOf(int courseId) const;
    // The first free run of at least `length` bytes; nothing when there is none.
    std::optional<std::size_t> findRoom(std::size_t length) const;
    // Free bytes that follow `end` directly in its bank.
    std::size_t freeAfter(std::size_t end) const;
};

AddedRoom scanAddedRoom(const RomImage &rom, const CourseTables &tables);

// The table as the image keeps it (see above); `blocks` holds at most CourseCount entries.
codec::Bytes encodeRoomTable(const std::vector<PlacedBlock> &blocks);
// Nothing when the bytes are no table: no signature, another version, a wrong CRC.
std::optional<std::vector<PlacedBlock>> decodeRoomTable(codec::ByteView bytes);

std::uint32_t roomCrc32(codec::ByteView data);

} // namespace velmor::rom
