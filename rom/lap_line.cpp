#include "rom/lap_line.h"

#include "rom/hex_offset.h"
#include "rom/race_map.h"

namespace velmor::rom {

namespace {

constexpr int GridCells = map::ZoneGridSide * map::ZoneGridSide;

std::size_t recordOf(int id)
{
    return map::LapLines + map::LapRecordSize * std::size_t(id);
}

} // namespace

std::string lapProblem(const LapLine &lap)
{
    const int lastCell = map::ZoneGridSide - 1;
    FieldProblem problem = fieldRange("y", lap.y, 0, map::CoursePixels - 1);
    if (!problem.found())
        problem = fieldRange("col", lap.col, 0, lastCell);
    if (!problem.found())
        problem = fieldRange("row", lap.row, 0, lastCell);
    if (!problem.found())
        problem = fieldRange("w", lap.w, 0, map::ZoneGridSide);
    if (!problem.found())
        problem = fieldRange("h", lap.h, 0, map::ZoneGridSide);
    return problem.found() ? keyProblem(problem.field, problem.reason) : std::string();
}

LayerRead<LapLine> readLapLine(const RomImage &rom, int id)
{
    const codec::ByteView game = rom.game();
    const std::size_t at = recordOf(id);
    const auto fault = [&](const std::string &reason) {
        return refused<LapLine>(layerMessage(id, "lap line", rom.fileOffset(at), reason));
    };
    if (!isRaceCourse(id))
        return fault("battle courses have no lap line");
    if (!fits(game.size(), at, map::LapRecordSize))
        return fault("the record lies outside this ROM");
    const std::uint16_t cell = wordAt(game, at + 2);
    if (cell >= GridCells)
        return fault("cell index " + std::to_string(cell) + " is past the 64 x 64 zone grid");
    const LapLine lap {wordAt(game, at), cell % map::ZoneGridSide, cell / map::ZoneGridSide,
                       game[at + 4], game[at + 5]};
    if (const std::string problem = lapProblem(lap); !problem.empty())
        return fault(problem);
    return {lap, {}};
}

std::string writeLapLine(GameBytes game, int id, const LapLine &lap)
{
    const std::string who = courseLabel(id) + ": lap line: ";
    const std::size_t at = recordOf(id);
    if (!isRaceCourse(id))
        return who + "battle courses have no lap line";
    if (!fits(game.size(), at, map::LapRecordSize))
        return who + "the record lies outside this ROM";
    if (const std::string problem = lapProblem(lap); !problem.empty())
        return who + problem;
    putWord(game, at, std::uint16_t(lap.y));
    putWord(game, at + 2, std::uint16_t(lap.row * map::ZoneGridSide + lap.col));
    game[at + 4] = std::uint8_t(lap.w);
    game[at + 5] = std::uint8_t(lap.h);
    return {};
}

} // namespace velmor::rom
