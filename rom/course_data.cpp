#include "rom/course_data.h"

#include "rom/course_tables.h"
#include "rom/hex_offset.h"
#include "rom/race_map.h"
#include "rom/rom_map.h"
#include "rom/rom_streams.h"

namespace velmor::rom {

namespace {

std::string within(const char *key, const std::string &problem)
{
    return problem.empty() ? problem : std::string(key) + "." + problem;
}

bool insideTable(std::size_t gameSize, std::size_t table, int id)
{
    return id >= 0 && id < CourseCount && fits(gameSize, table + std::size_t(id), 1);
}

} // namespace

std::string courseDataProblem(const CourseData &course)
{
    if (const std::string reason = rangeProblem(course.id, 0, CourseCount - 1); !reason.empty())
        return keyProblem("course.id", reason);
    if (!isThemeCode(std::uint8_t(course.theme)))
        return keyProblem("theme", std::to_string(int(course.theme)) + " is no theme code");
    if (course.layout.size() != TrackTileLimit)
        return keyProblem("layout", std::to_string(course.layout.size()) + " tiles, not "
                + std::to_string(TrackTileLimit));
    if (const std::string problem = itemsProblem(course.items); !problem.empty())
        return problem;
    const bool race = isRaceCourse(course.id);
    if (course.objects && !race)
        return keyProblem("objects", "battle courses have no object positions");
    if (course.lap && !race)
        return keyProblem("lap", "battle courses have no lap line");
    if (std::holds_alternative<BattleStart>(course.start) == race)
        return keyProblem("start", race ? "a race course starts from a grid (x, y, w)"
                                        : "a battle course starts from p1 and p2");
    if (course.objects) {
        if (std::string problem = within("objects", objectsProblem(*course.objects)); !problem.empty())
            return problem;
    }
    if (std::string problem = within("start", startProblem(course.start)); !problem.empty())
        return problem;
    if (course.lap) {
        if (std::string problem = within("lap", lapProblem(*course.lap)); !problem.empty())
            return problem;
    }
    return within("ai", aiProblem(course.ai));
}

std::string writeCourseBlocks(GameBytes game, const CourseData &course)
{
    if (const std::string problem = courseDataProblem(course); !problem.empty())
        return courseLabel(course.id) + ": " + problem;
    // Every writer below refuses only what courseDataProblem refuses or a table outside the ROM,
    // so a copy takes the writes and the game's bytes change only when all of them succeed.
    codec::Bytes copy(game.begin(), game.end());
    std::string error = writeTheme(copy, course.id, course.theme);
    if (error.empty())
        error = writeOverlayItems(copy, course.id, course.items);
    if (error.empty() && course.objects)
        error = writeObjectPositions(copy, course.id, *course.objects);
    if (error.empty())
        error = writeStartGrid(copy, course.id, course.start);
    if (error.empty() && course.lap)
        error = writeLapLine(copy, course.id, *course.lap);
    if (error.empty())
        std::copy(copy.begin(), copy.end(), game.begin());
    return error;
}

LayerRead<Theme> readTheme(const RomImage &rom, int id)
{
    const std::size_t at = map::CourseThemes + std::size_t(id);
    if (!insideTable(rom.game().size(), map::CourseThemes, id))
        return refused<Theme>(layerMessage(id, "theme table", rom.fileOffset(at),
                                           "the table lies outside this ROM"));
    const CourseEntry entry = readCourseTables(rom)[std::size_t(id)];
    if (!entry.theme)
        return refused<Theme>(layerMessage(id, "theme table", rom.fileOffset(at),
            "theme code " + hexText(*entry.themeCode) + " is no theme (they are even and at most 0xe)"));
    return {*entry.theme, {}};
}

std::string writeTheme(GameBytes game, int id, Theme theme)
{
    if (!insideTable(game.size(), map::CourseThemes, id))
        return courseLabel(id) + ": the theme table lies outside this ROM";
    if (!isThemeCode(std::uint8_t(theme)))
        return courseLabel(id) + ": " + hexText(std::size_t(theme)) + " is no theme code";
    game[map::CourseThemes + std::size_t(id)] = std::uint8_t(theme);
    return {};
}

std::optional<std::uint8_t> readObjectKind(const RomImage &rom, int id)
{
    if (!insideTable(rom.game().size(), map::ObjectKinds, id))
        return std::nullopt;
    return rom.game()[map::ObjectKinds + std::size_t(id)];
}

std::string writeObjectKind(GameBytes game, int id, std::uint8_t kind)
{
    if (!insideTable(game.size(), map::ObjectKinds, id))
        return courseLabel(id) + ": the object kind table lies outside this ROM";
    game[map::ObjectKinds + std::size_t(id)] = kind;
    return {};
}

std::uint8_t objectKindOf(Theme theme)
{
    return std::uint8_t(theme == Theme::RainbowRoad ? Theme::BowserCastle : theme);
}

} // namespace velmor::rom
