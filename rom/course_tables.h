#pragma once

#include "rom/course_catalogue.h"
#include "rom/rom_image.h"
#include "rom/snes_address.h"

#include <array>
#include <optional>
#include <string>

// What a user's ROM says about its courses: the layout pointer and the theme code of each course
// ID, read from the ROM's own tables and checked, since another tool may have changed them.
namespace velmor::rom {

struct CourseEntry
{
    int id = 0;
    // The pointer as stored; nothing when the table itself lies outside the file.
    std::optional<SnesAddress> pointer;
    // The game offset the pointer reaches, when that is inside the file.
    std::optional<std::size_t> layoutOffset;
    // The theme code as stored, and the theme when the code is one (even, at most 0x0E).
    std::optional<std::uint8_t> themeCode;
    std::optional<Theme> theme;
    // Empty when pointer and theme are both usable; else what is wrong, in words.
    std::string problem;

    bool usable() const { return problem.empty(); }
    // Whether this ROM keeps the course where and as the original game does.
    bool agreesWithCatalogue() const;
};

using CourseTables = std::array<CourseEntry, CourseCount>;

CourseTables readCourseTables(const RomImage &rom);

// Which course ID's layout pointer reaches a game offset; nothing when none does.
std::optional<int> courseIdPointingAt(const CourseTables &tables, std::size_t gameOffset);

// The theme a course is drawn in: the code in the ROM's theme table when it is one, else the
// original game's theme for that course ID.
struct CourseTheme
{
    Theme theme = Theme::MarioCircuit;
    // Empty when the ROM's table gave the theme; else why it could not, and what was taken.
    std::string problem;
};

// Nothing when courseId is no course ID (0x00-0x17).
std::optional<CourseTheme> courseTheme(const RomImage &rom, int courseId);

// The course whose layout starts at a game offset: by the ROM's own pointer table, else by the
// original game's places. Nothing when no course starts there.
std::optional<int> courseIdStartingAt(const RomImage &rom, std::size_t gameOffset);

} // namespace velmor::rom
