#pragma once

#include <cstddef>

// Where the game keeps what the editor reads, as game offsets (a headered file holds each of them
// 0x200 bytes later). One place for every address of the game that the program knows.
namespace velmor::rom::map {

// Tables indexed by course ID.
inline constexpr std::size_t CourseLayoutPointers = 0x1EB5B; // 24 pointers of 3 bytes
inline constexpr std::size_t CourseThemes = 0x1EC2F; // 24 theme codes
// 20 course IDs: cup x 5 + round, for the Mushroom, Flower, Star and Special cups.
inline constexpr std::size_t CupOrder = 0x1EC1B;

// Tables indexed by theme (theme code / 2): 8 pointers of 3 bytes each.
inline constexpr std::size_t ThemeTilePointers = 0x1EBA3;
inline constexpr std::size_t ThemePalettePointers = 0x1EBBB;

// The tiles that every theme shares (map values 0xC0-0xFF): the game's code names this address
// itself rather than a table.
inline constexpr std::size_t CommonTiles = 0x40000;

// What each tile does to a kart: one compressed table, the common tiles' 64 values first, then
// each theme's 192 from its own start (8 words by theme code, counted in the decoded table).
inline constexpr std::size_t TileBehaviourTable = 0x7FDBA;
inline constexpr std::size_t TileBehaviourStarts = 0x1EB4B;
// The original table decodes to 0x373 bytes; a changed one may be longer, but not past this.
inline constexpr std::size_t TileBehaviourMaxBytes = 0x1000;

} // namespace velmor::rom::map
