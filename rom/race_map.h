#pragma once

#include <cstddef>
#include <cstdint>

// Where the game keeps what makes a course race (AI, overlay items, objects, start grid, lap
// line), how big each record is, and the ranges its values take. Game offsets, as in rom_map.h.
namespace velmor::rom::map {

// Course IDs 0x14-0x17 are the battle courses; the tables that only race courses have stop before.
inline constexpr int FirstBattleCourse = 0x14;

// --- AI: two tables of 16-bit pointers into bank $C6, by course ID.
inline constexpr std::size_t AiZonePointers = 0x1FF9B;
inline constexpr std::size_t AiTargetPointers = 0x1FFCB;
inline constexpr std::size_t AiPointerSize = 2;
// The bank byte the game loads the AI pointers with, and where its code holds it.
inline constexpr std::uint8_t AiBankByte = 0xC6;
inline constexpr std::size_t AiBankOperand = 0x1FBD3;
inline constexpr std::size_t AiBankStart = 0x60000;
inline constexpr std::size_t AiBankSize = 0x10000;
// The part of the bank the original game fills with AI, and so the room a repacking has.
inline constexpr std::size_t AiBlockStart = 0x60526;
inline constexpr std::size_t AiBlockSize = 6402; // to 0x61E27 inclusive
inline constexpr std::size_t AiBlockEnd = AiBlockStart + AiBlockSize;
// A repacking fills the room it leaves with this byte: no target reads as one (x past the map).
inline constexpr std::uint8_t AiFreeByte = 0xFF;

inline constexpr std::uint8_t ZoneListEnd = 0xFF;
inline constexpr int ZoneGridSide = 64; // cells of 16 x 16 pixels
inline constexpr std::uint8_t NoZone = 0x7F;
inline constexpr int MaxZones = 127;
inline constexpr std::size_t TargetRecordSize = 3;
inline constexpr std::uint8_t TargetSpeedMask = 0x7F; // bit 7 is kept apart, meaning unknown
inline constexpr std::uint8_t TargetUnknownBit = 0x80;

// --- Lap line: 6 bytes per race course: word Y, word cell index, byte w, byte h.
inline constexpr std::size_t LapLines = 0x180D4;
inline constexpr std::size_t LapRecordSize = 6;

// --- Start grid: 25 words, bank-$81 pointers to a list whose first entry (a routine word, then
// its parameter words) places the karts.
inline constexpr std::size_t StartPointers = 0x18A79;
inline constexpr std::size_t StartPointerCount = 25;
inline constexpr std::size_t StartBankStart = 0x10000;
inline constexpr std::size_t StartBankSize = 0x10000;
inline constexpr std::uint16_t StartLowestAddress = 0x8000; // bank $81 maps only its upper half
inline constexpr std::size_t StartRoutineSize = 2;
inline constexpr std::size_t RaceStartWords = 3; // X, Y, W
inline constexpr std::size_t BattleStartWords = 4; // P1 x, y, P2 x, y
inline constexpr int StartKarts = 8;
inline constexpr int StartKartSpacing = 24; // pixels between places going down

// --- Object positions: 64 bytes per race course.
inline constexpr std::size_t ObjectSlots = 0x5C800;
inline constexpr std::size_t ObjectRecordSize = 64;
inline constexpr int ObjectGroups = 4;
inline constexpr int ObjectsPerGroup = 4;
inline constexpr std::size_t ObjectMatchList = 0x20; // within the record
inline constexpr int MatchObjects = 8;
inline constexpr int MotionShift = 14;
inline constexpr std::uint16_t TileIndexMask = 0x3FFF;
// The object kind of each course (25 bytes, theme-like codes), and its index within that kind.
inline constexpr std::size_t ObjectKinds = 0x18B73;

// Which object group is live: per object kind (the byte at ObjectKinds + ID, an even code that is
// the byte offset of its word here) a 16-bit pointer into this bank to that kind's records, one
// per course of the kind (its index at ObjectKindIndexes + ID); a record holds ascending AI-zone
// numbers *(inferred: five words, group g live from zone word g up to, not including, word g + 1)*.
inline constexpr std::size_t ObjectKindIndexes = 0x18B8C;
inline constexpr std::size_t ObjectAreaPointers = 0x4DB83;
inline constexpr std::size_t ObjectAreaBank = 0x40000;
inline constexpr std::size_t ObjectAreaStart = 0x4DACF;
inline constexpr std::size_t ObjectAreaEnd = 0x4DB83; // exclusive: the pointers follow
inline constexpr std::size_t ObjectAreaRecordSize = 10;
inline constexpr int ObjectAreaThresholds = 5;

// --- Overlay items: a 128-byte slot per course ID, 3-byte records ended by the word 0xFFFF at
// record + 1.
inline constexpr std::size_t ItemSlots = 0x5D000;
inline constexpr std::size_t ItemSlotSize = 128;
inline constexpr std::size_t ItemRecordSize = 3;
inline constexpr int MaxItems = 41;
inline constexpr std::uint16_t ItemListEnd = 0xFFFF;
inline constexpr int ItemSizeShift = 6;
inline constexpr std::uint8_t ItemPatternMask = 0x3F;
// The tiles each pattern stamps: 16-bit pointers into bank $84, one per pattern, to rows of tile
// numbers (0xFF leaves the layout's tile) that lie between the table's end and the size table.
inline constexpr std::size_t ItemPatternPointers = 0x4F23D;
inline constexpr std::size_t ItemPatternBank = 0x40000;
inline constexpr std::size_t ItemPatternData = 0x4F2AD;
inline constexpr std::size_t ItemPatternDataEnd = 0x4F384;
inline constexpr std::uint8_t ItemPatternClear = 0xFF;

// --- Units and ranges.
inline constexpr int MapSide = 128; // tiles
inline constexpr int TilePixels = 8;
inline constexpr int CoursePixels = MapSide * TilePixels;
inline constexpr int MaxSpeedClass = 3;
inline constexpr int MaxMotion = 3;
inline constexpr int ItemSizeClasses = 4;
inline constexpr int ItemPatterns = 64; // 6 bits; the game defines 0-55
inline constexpr int DefinedItemPatterns = 56;
inline constexpr int MaxByte = 0xFF;

} // namespace velmor::rom::map
