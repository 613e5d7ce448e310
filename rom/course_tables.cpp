#include "rom/course_tables.h"

#include "rom/hex_offset.h"
#include "rom/rom_map.h"

namespace velmor::rom {

bool CourseEntry::agreesWithCatalogue() const
{
    const Course *course = courseById(id);
    return usable() && course && layoutOffset == course->layoutOffset && theme == course->theme;
}

CourseTables readCourseTables(const RomImage &rom)
{
    const codec::ByteView game = rom.game();
    CourseTables tables;
    for (int id = 0; id < CourseCount; ++id) {
        CourseEntry &entry = tables[std::size_t(id)];
        entry.id = id;
        std::string problems;
        const auto note = [&problems](const std::string &problem) {
            problems += (problems.empty() ? "" : "; ") + problem;
        };

        entry.pointer =
            readPointer(game, map::CourseLayoutPointers + PointerSize * std::size_t(id));
        if (!entry.pointer) {
            note("the layout pointer table lies outside this ROM");
        } else {
            const std::optional<std::size_t> target = gameOffsetOf(*entry.pointer);
            if (!target)
                note("the layout pointer " + addressText(*entry.pointer) + " points at no ROM");
            else if (*target >= game.size())
                note("the layout pointer " + addressText(*entry.pointer)
                    + " points past the end "
                      "of this ROM (to "
                    + hexText(rom.fileOffset(*target)) + ")");
            else
                entry.layoutOffset = target;
        }

        const std::size_t themeAt = map::CourseThemes + std::size_t(id);
        if (themeAt >= game.size()) {
            note("the theme table lies outside this ROM");
        } else {
            entry.themeCode = game[themeAt];
            if (isThemeCode(*entry.themeCode))
                entry.theme = Theme(*entry.themeCode);
            else
                note("the theme code " + hexText(*entry.themeCode)
                    + " is no theme (they are even "
                      "and at most 0x0e)");
        }
        entry.problem = problems;
    }
    return tables;
}

std::optional<int> courseIdPointingAt(const CourseTables &tables, std::size_t gameOffset)
{
    for (const CourseEntry &entry : tables) {
        if (entry.layoutOffset == gameOffset)
            return entry.id;
    }
    return std::nullopt;
}

std::optional<CourseTheme> courseTheme(const RomImage &rom, int courseId)
{
    const Course *course = courseById(courseId);
    if (!course)
        return std::nullopt;
    // The tables' reading checks the code; here a bad one only changes which theme is drawn.
    const CourseEntry entry = readCourseTables(rom)[std::size_t(courseId)];
    CourseTheme result;
    result.theme = entry.theme.value_or(course->theme);
    if (entry.theme)
        return result;
    const std::string fallback =
        "; drawn in the original game's " + std::string(themeName(course->theme)) + " theme";
    if (!entry.themeCode) {
        result.problem = "the theme table lies outside this ROM" + fallback;
    } else {
        result.problem = "the theme code " + hexText(*entry.themeCode) + " of "
            + std::string(course->name) + " (at "
            + hexText(rom.fileOffset(map::CourseThemes + std::size_t(courseId)))
            + ") is no theme (they are even and at most 0x0e)" + fallback;
    }
    return result;
}

std::optional<int> courseIdStartingAt(const RomImage &rom, std::size_t gameOffset)
{
    if (const std::optional<int> id =
            courseIdPointingAt(readCourseTables(rom), gameOffset))
        return id;
    if (const Course *course = courseStartingAt(gameOffset))
        return course->id;
    return std::nullopt;
}

} // namespace velmor::rom
