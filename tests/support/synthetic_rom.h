#pragma once

#include "codec/codec.h"
#include "document/tile_text.h"
#include "rom/course_catalogue.h"
#include "rom/rom_identity.h"

#include <QByteArray>
#include <QStringList>

#include <array>
#include <cstdint>
#include <optional>
#include <random>

// Synthetic data for the tests: bytes, track streams, course-like maps, and ROMs shaped like the
// game's (its tables and its streams where the game has them), but never the game's own data.
namespace velmor::test {

codec::Bytes bytesOf(const QByteArray &bytes);
QByteArray toQByteArray(const codec::Bytes &bytes);
codec::Bytes fromHex(const char *hex);

codec::Bytes randomBytes(std::mt19937 &rng, std::size_t size, int alphabet = 256);

// Track file groups as the editor writes them: fills of 1..32 (0x20..0x3F + tile), copies of
// 1..16 (0x00..0x0F + tiles), closed by 0xFF.
codec::Bytes trackStream(const codec::Bytes &cells);

// 128 x 128 cells: a road loop with kerbs, grass, and items scattered by the seed.
codec::Bytes courseLikeCells(unsigned seed);

// A stream of plain 32-byte direct copies: valid, and much roomier than the optimal one, like a
// slot that leaves space for a more detailed course.
codec::Bytes looseStream(const codec::Bytes &data);

// A ROM image of random filler: 524288 bytes, or 524800 with the copier header (zeros).
codec::Bytes syntheticRom(unsigned seed, bool copierHeader);

// How the builder writes the game's pointers: all in the banks $C0-$C7, which reach every
// address; or in $80-$87 wherever the address lies in the upper half of its bank (as the game
// mixes them), $C0-$C7 elsewhere.
enum class BankForm { Whole, UpperWherePossible };

struct GameRomOptions
{
    unsigned seed = 1;
    bool copierHeader = true;
    BankForm banks = BankForm::Whole;
    // Also the theme graphics: tile and palette pointer tables, and at each place where the game
    // keeps a tile or palette stream a stream of synthetic tiles or colours that fits the room
    // there (tests/support/synthetic_graphics.h).
    bool themeGraphics = false;
    // Also every course's race data (tests/support/synthetic_race.h).
    bool raceData = false;
    // The internal header the game's ROM of this region has (title, map mode, cartridge type,
    // size byte, destination) with a true checksum pair; nothing leaves random filler there.
    std::optional<rom::Region> region = rom::Region::UnitedStates;
};

// A ROM of random filler with the course layout pointers and theme codes of the original game at
// their tables, and at each course's layout offset a small course of its own (courseCells),
// compressed by the project's compressor and so much shorter than the course's original slot.
struct GameRom
{
    codec::Bytes bytes;
    bool copierHeader = true;
    // Bytes each course's stream takes, by course ID.
    std::array<std::size_t, rom::CourseCount> streamLength{};
    // With themeGraphics: what the builder compressed into each graphics stream (the decoded
    // bytes), by theme index, and the compressed length it wrote.
    std::array<codec::Bytes, rom::ThemeCount> themeTileData;
    std::array<codec::Bytes, rom::ThemeCount> paletteData;
    codec::Bytes commonTileData;
    std::array<std::size_t, rom::ThemeCount> themeTileStreamLength{};

    std::size_t fileOffset(std::size_t gameOffset) const
    {
        return gameOffset + (copierHeader ? 0x200 : 0);
    }
    // Writes a 3-byte pointer at a game offset, in the builder's bank form.
    void writePointer(std::size_t at, std::size_t target, BankForm banks);
};

GameRom gameRom(const GameRomOptions &options = {});

// Writes the game's internal header for a region into a ROM's bytes and makes its checksum pair
// true (Region::Other gives destination 0x05).
void writeGameHeader(codec::Bytes &rom, bool copierHeader, rom::Region region);

// The map the builder puts into course `id`'s slot: grass with a block of tile 0x10 + id whose
// place and size depend on the ID, so every course reads back differently.
codec::Bytes courseCells(int id);

} // namespace velmor::test
