#include "rom/course_catalogue.h"

#include "rom/hex_offset.h"
#include "rom/rom_image.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace velmor::rom {

namespace {

using enum Theme;
using enum Cup;

constexpr std::array<Course, CourseCount> Catalogue {{
    {0x00, "Mario Circuit 3", Flower, 5, MarioCircuit, 0x68000, 0xD2C},
    {0x01, "Ghost Valley 2", Flower, 2, GhostValley, 0x7E821, 0x51A},
    {0x02, "Donut Plains 2", Flower, 3, DonutPlains, 0x6A823, 0x1745},
    {0x03, "Bowser Castle 2", Flower, 4, BowserCastle, 0x7C527, 0x10D8, "Bowser's Castle 2"},
    {0x04, "Vanilla Lake 2", Special, 4, VanillaLake, 0x6BF68, 0x105C, "Vanilla Lake"},
    {0x05, "Rainbow Road", Special, 5, RainbowRoad, 0x3EAD1, 0x52E},
    {0x06, "Koopa Beach 2", Special, 2, KoopaBeach, 0x3D551, 0x1580},
    {0x07, "Mario Circuit 1", Mushroom, 1, MarioCircuit, 0x68D2C, 0x7FF},
    {0x08, "Ghost Valley 3", Special, 3, GhostValley, 0x6A245, 0x5DE},
    {0x09, "Bowser Castle 3", Star, 4, BowserCastle, 0x7D5FF, 0x1222, "Bowser's Castle 3"},
    {0x0A, "Choco Island 2", Star, 2, ChocoIsland, 0x6CFC4, 0x11EA},
    {0x0B, "Donut Plains 3", Special, 1, DonutPlains, 0x78A6B, 0x1716},
    {0x0C, "Vanilla Lake 1", Star, 3, VanillaLake, 0x3103C, 0xF43},
    {0x0D, "Koopa Beach 1", Star, 1, KoopaBeach, 0x6E1AE, 0x1184},
    {0x0E, "Mario Circuit 4", Star, 5, MarioCircuit, 0x6952B, 0xD1A},
    {0x0F, "Mario Circuit 2", Mushroom, 5, MarioCircuit, 0x50C45, 0x9F1},
    {0x10, "Ghost Valley 1", Mushroom, 3, GhostValley, 0x6F5BF, 0x4B4},
    {0x11, "Bowser Castle 1", Mushroom, 4, BowserCastle, 0x7B825, 0xD02, "Bowser's Castle 1"},
    {0x12, "Choco Island 1", Flower, 1, ChocoIsland, 0x77251, 0xDAD},
    {0x13, "Donut Plains 1", Mushroom, 2, DonutPlains, 0x7A181, 0x16A4},
    {0x14, "Battle Course 3", Battle, 3, VanillaLake, 0x214EE, 0x277},
    {0x15, "Battle Course 4", Battle, 4, MarioCircuit, 0x7ED3B, 0x452},
    {0x16, "Battle Course 1", Battle, 1, DonutPlains, 0x6F338, 0x287},
    {0x17, "Battle Course 2", Battle, 2, KoopaBeach, 0x21765, 0x31E},
}};

// Names compare without letter case and without apostrophes, so the course list's
// "Bowser's Castle 1" finds the game's "Bowser Castle 1".
std::string folded(std::string_view name)
{
    std::string result;
    for (const char c : name) {
        if (c == '\'')
            continue;
        result.push_back(char(std::tolower(static_cast<unsigned char>(c))));
    }
    const std::string possessive = "bowsers ";
    if (result.starts_with(possessive))
        result.replace(0, possessive.size(), "bowser ");
    return result;
}

} // namespace

bool isThemeCode(std::uint8_t code)
{
    return code % 2 == 0 && code <= LastThemeCode;
}

std::string_view themeName(Theme theme)
{
    switch (theme) {
    case GhostValley:
        return "Ghost Valley";
    case MarioCircuit:
        return "Mario Circuit";
    case DonutPlains:
        return "Donut Plains";
    case ChocoIsland:
        return "Choco Island";
    case VanillaLake:
        return "Vanilla Lake";
    case KoopaBeach:
        return "Koopa Beach";
    case BowserCastle:
        return "Bowser Castle";
    case RainbowRoad:
        return "Rainbow Road";
    }
    return "unknown theme";
}

const std::array<Course, CourseCount> &courses()
{
    return Catalogue;
}

const Course *courseById(int id)
{
    return id >= 0 && id < CourseCount ? &Catalogue[std::size_t(id)] : nullptr;
}

const Course *courseNamed(std::string_view name)
{
    const std::string wanted = folded(name);
    for (const Course &course : Catalogue) {
        if (folded(course.name) == wanted)
            return &course;
    }
    return nullptr;
}

const Course *courseStartingAt(std::size_t gameOffset)
{
    for (const Course &course : Catalogue) {
        if (course.layoutOffset == gameOffset)
            return &course;
    }
    return nullptr;
}

const Course *courseContaining(std::size_t gameOffset)
{
    for (const Course &course : Catalogue) {
        if (course.contains(gameOffset))
            return &course;
    }
    return nullptr;
}

std::vector<const Course *> coursesInCupOrder()
{
    std::vector<const Course *> order;
    for (const Course &course : Catalogue)
        order.push_back(&course);
    std::sort(order.begin(), order.end(), [](const Course *a, const Course *b) {
        return std::pair(a->cup, a->round) < std::pair(b->cup, b->round);
    });
    return order;
}

std::string_view cupHeading(Cup cup)
{
    switch (cup) {
    case Mushroom:
        return "MUSHROOM CUP";
    case Flower:
        return "FLOWER CUP";
    case Star:
        return "STAR CUP";
    case Special:
        return "SPECIAL CUP";
    case Battle:
        return "BATTLE MODE";
    }
    return {};
}

std::vector<CourseListLine> courseListLines()
{
    std::vector<CourseListLine> lines;
    std::optional<Cup> cup;
    for (const Course *course : coursesInCupOrder()) {
        if (course->cup != cup) {
            cup = course->cup;
            lines.push_back({std::string(cupHeading(*cup)), nullptr});
        }
        std::string offset = bareHex(listedOffsetOfGame(course->layoutOffset), CourseLineDigits);
        lines.push_back({offset + " - " + std::string(course->shownName()), course});
    }
    return lines;
}

} // namespace velmor::rom
