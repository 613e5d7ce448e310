#pragma once

#include "tests/support/synthetic_rom.h"

#include "rom/course_data.h"

#include <cstdint>

// A course that races, for the course check: a ring of road on out-of-course ground, sixteen
// rectangular zones around it in race order with a target in each, the start grid and lap line
// on the road, item boxes on it and every object group in the zones where it is live. And the
// tables the check reads beside the builder's: the tile behaviour table (each theme: tile 0x00
// out of course, 0x01-0x0F road, 0x20-0x2F walls, 0x30 lava, 0x31 a fall, 0x32 deep water) and the
// object zone records. Tests plant one fault at a time into it.
namespace velmor::test {

inline constexpr int CheckCourseId = 0x07; // Mario Circuit 1
inline constexpr std::uint8_t OutTile = 0x00;
inline constexpr std::uint8_t RoadTile = 0x01;
inline constexpr std::uint8_t WallTile = 0x20;
inline constexpr std::uint8_t LavaTile = 0x30;
inline constexpr std::uint8_t FallTile = 0x31;
inline constexpr std::uint8_t DeepWaterTile = 0x32;
// Tiles past the last one a theme's graphics define (the Rainbow Road stream is short).
inline constexpr std::uint8_t UndefinedInShortTheme = 0x20;

rom::CourseData cleanCheckCourse();

// Every course of gameRom with theme graphics and race data, the check's tables, and `course`
// written as course CheckCourseId: its layout stream at the course's place (an over-full one
// runs into the next course's slot, as an over-full save would), its race data by the builder's
// own encoding, so even a list of 42 items is written as given.
GameRom checkRom(const rom::CourseData &course = cleanCheckCourse());

// Sets a tile of the layout.
void setTile(rom::CourseData &course, int col, int row, std::uint8_t tile);

} // namespace velmor::test
