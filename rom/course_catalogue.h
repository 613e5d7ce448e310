#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The game's 24 courses as the original ROM holds them: the one place that names them, their cups,
// themes, where their layouts lie and how much room each layout had.
namespace velmor::rom {

// A course's look; the codes are the game's own (even, 0x00-0x0E), the index is code / 2.
enum class Theme : std::uint8_t {
    GhostValley = 0x00,
    MarioCircuit = 0x02,
    DonutPlains = 0x04,
    ChocoIsland = 0x06,
    VanillaLake = 0x08,
    KoopaBeach = 0x0A,
    BowserCastle = 0x0C,
    RainbowRoad = 0x0E,
};
inline constexpr int ThemeCount = 8;
inline constexpr std::uint8_t LastThemeCode = 0x0E;

bool isThemeCode(std::uint8_t code);
inline int themeIndex(Theme theme)
{
    return int(theme) / 2;
}
std::string_view themeName(Theme theme);

enum class Cup { Mushroom, Flower, Star, Special, Battle };
inline constexpr int RoundsPerCup = 5;
inline constexpr int BattleCourses = 4;

struct Course
{
    int id = 0;
    std::string_view name;
    Cup cup = Cup::Mushroom;
    int round = 1; // from 1
    Theme theme = Theme::MarioCircuit;
    // Game offset of the compressed layout in the original ROM.
    std::size_t layoutOffset = 0;
    // Bytes the original layout stream takes, end mark included: the room the game leaves for it.
    std::size_t slotLength = 0;
    // The name as the editor's course list spells it, where that differs from the game's
    // ("Bowser's Castle 1", and "Vanilla Lake" for Vanilla Lake 2); empty where it does not.
    std::string_view listName = {};

    std::string_view shownName() const { return listName.empty() ? name : listName; }

    // Whether a game offset lies inside this course's original slot.
    bool contains(std::size_t gameOffset) const
    {
        return gameOffset >= layoutOffset && gameOffset - layoutOffset < slotLength;
    }
};

inline constexpr int CourseCount = 24;

// By course ID, 0x00-0x17.
const std::array<Course, CourseCount> &courses();
const Course *courseById(int id);
// Letter case and an apostrophe ("Bowser's Castle 1") are ignored.
const Course *courseNamed(std::string_view name);
// The course whose original slot starts at / contains a game offset.
const Course *courseStartingAt(std::size_t gameOffset);
const Course *courseContaining(std::size_t gameOffset);
// The courses in the order the game offers them: the four cups round by round, then battle 1-4.
std::vector<const Course *> coursesInCupOrder();

// The heading the course list shows above a cup's courses: "MUSHROOM CUP", "BATTLE MODE".
std::string_view cupHeading(Cup cup);

// The course list's lines: each cup's heading followed by its courses in cup order, each course
// as "68f2c - Mario Circuit 1", its offset in a ROM with the copier header in five lower-case
// digits. 29 lines: 5 headings and the 24 courses.
struct CourseListLine
{
    std::string text;
    const Course *course = nullptr; // nothing for a heading
};
std::vector<CourseListLine> courseListLines();
// How many hexadecimal digits a course line's offset has.
inline constexpr int CourseLineDigits = 5;

} // namespace velmor::rom
