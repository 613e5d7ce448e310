#pragma once

#include "tests/support/synthetic_rom.h"

#include "rom/course_data.h"

#include <array>
#include <cstddef>

// Synthetic race data for the one ROM builder (gameRom with raceData on): for every course known
// AI zones and targets, overlay items, object positions, a start grid and a lap line, written
// where the game keeps them. Every value depends on the course ID, so a mixed-up course shows.
//
// The AI: zones of every shape (the two diagonals in two courses), one target per zone (one with
// the unknown bit 7 set), one course whose target list stores two spare records; battle courses
// 3, 4 and 2 share one set and 1 has its own. The sets lie packed from the start of the AI block in
// course order, and the room after them is filled as a repacking leaves it. Courses 4, 1 and 2 of
// the battles share one start record, at the place the original game keeps it. One course has 41
// items, one none.
namespace velmor::test {

// Every course's values, by course ID; layout holds courseCells(id).
const std::array<rom::CourseData, rom::CourseCount> &syntheticCourses();

// Where the builder puts each course's AI lists (game offsets), and the first free byte after them.
struct SyntheticAiPlaces
{
    std::array<std::size_t, rom::CourseCount> zonesAt {};
    std::array<std::size_t, rom::CourseCount> targetsAt {};
    std::size_t end = 0;
};
const SyntheticAiPlaces &syntheticAiPlaces();

// The game offset of each course's start record (its routine word) in the original game.
std::size_t startRecordOf(int id);

inline constexpr int SpareTargetsCourse = 0x04;
inline constexpr int UnknownBitCourse = 0x03;
inline constexpr int FullItemsCourse = 0x05;
inline constexpr int NoItemsCourse = 0x16;

// Writes every course's race data into a ROM built by gameRom().
void writeRaceData(GameRom &rom);

} // namespace velmor::test
