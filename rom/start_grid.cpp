#include "rom/start_grid.h"

#include "rom/course_catalogue.h"
#include "rom/hex_offset.h"
#include "rom/snes_address.h"

#include <algorithm>

namespace velmor::rom {

namespace {

constexpr std::size_t WordSize = 2;
constexpr std::uint8_t StartBank = 0x81;
constexpr int SignedWordShift = 0x10000;

std::size_t entryOf(int id)
{
    return map::StartPointers + WordSize * std::size_t(id);
}

std::size_t wordsOf(int id)
{
    return isBattleCourse(id) ? map::BattleStartWords : map::RaceStartWords;
}

// Where the course's coordinate words begin, or why they cannot be reached.
struct Place
{
    std::size_t at = 0;
    std::string problem;
};

Place placeOf(codec::ByteView game, int id)
{
    if (id < 0 || id >= CourseCount || !fits(game.size(), entryOf(id), WordSize))
        return {0, "the start pointer lies outside this ROM"};
    const std::uint16_t pointer = wordAt(game, entryOf(id));
    const std::string text = addressText({StartBank, pointer});
    if (pointer < map::StartLowestAddress)
        return {0, text + " points at no ROM (bank $81 maps only $8000-$FFFF)"};
    const std::size_t at = map::StartBankStart + pointer + map::StartRoutineSize;
    if (!fits(std::min(game.size(), map::StartBankStart + map::StartBankSize), at,
              WordSize * wordsOf(id)))
        return {0, text + ": the record runs past the end of bank $81 or of this ROM"};
    return {at, {}};
}

int signedWord(std::uint16_t word)
{
    return word >= 0x8000 ? int(word) - SignedWordShift : int(word);
}

} // namespace

std::array<KartPlace, map::StartKarts> kartPlaces(const RaceStart &start)
{
    std::array<KartPlace, map::StartKarts> places;
    for (int i = 0; i < map::StartKarts; ++i)
        places[std::size_t(i)] = {start.x + (i % 2 ? start.w : 0), start.y + map::StartKartSpacing * i};
    return places;
}

std::string startProblem(const StartGrid &start)
{
    const int lastPixel = map::CoursePixels - 1;
    if (const auto *race = std::get_if<RaceStart>(&start)) {
        FieldProblem problem = fieldRange("x", race->x, 0, lastPixel);
        if (!problem.found())
            problem = fieldRange("y", race->y, 0, lastPixel);
        if (!problem.found())
            problem = fieldRange("w", race->w, -map::CoursePixels, lastPixel);
        return problem.found() ? keyProblem(problem.field, problem.reason) : std::string();
    }
    const BattleStart &battle = std::get<BattleStart>(start);
    for (const auto &[name, point] : {std::pair {"p1", battle.p1}, {"p2", battle.p2}}) {
        for (std::size_t i = 0; i < point.size(); ++i) {
            if (const std::string reason = rangeProblem(point[i], 0, lastPixel); !reason.empty())
                return keyProblem(std::string(name) + "[" + std::to_string(i) + "]", reason);
        }
    }
    return {};
}

LayerRead<StartGrid> readStartGrid(const RomImage &rom, int id)
{
    const codec::ByteView game = rom.game();
    const Place place = placeOf(game, id);
    if (!place.problem.empty())
        return refused<StartGrid>(
            layerMessage(id, "start pointer", rom.fileOffset(entryOf(id)), place.problem));
    std::array<int, map::BattleStartWords> words {};
    for (std::size_t i = 0; i < wordsOf(id); ++i)
        words[i] = wordAt(game, place.at + WordSize * i);
    StartGrid start;
    if (isBattleCourse(id))
        start = BattleStart {{words[0], words[1]}, {words[2], words[3]}};
    else
        start = RaceStart {words[0], words[1], signedWord(std::uint16_t(words[2]))};
    if (const std::string problem = startProblem(start); !problem.empty())
        return refused<StartGrid>(
            layerMessage(id, "start grid", rom.fileOffset(place.at), problem));
    return {start, {}};
}

std::vector<int> startSharers(const RomImage &rom, int id)
{
    const codec::ByteView game = rom.game();
    std::vector<int> others;
    if (id < 0 || id >= CourseCount || !fits(game.size(), entryOf(CourseCount - 1), WordSize))
        return others;
    for (int other = 0; other < CourseCount; ++other) {
        if (other != id && wordAt(game, entryOf(other)) == wordAt(game, entryOf(id)))
            others.push_back(other);
    }
    return others;
}

std::string writeStartGrid(GameBytes game, int id, const StartGrid &start)
{
    const std::string who = courseLabel(id) + ": start grid: ";
    const Place place = placeOf(game, id);
    if (!place.problem.empty())
        return who + place.problem;
    if (std::holds_alternative<BattleStart>(start) != isBattleCourse(id))
        return who + (isBattleCourse(id) ? "a battle course starts from P1 and P2, not a grid"
                                         : "a race course starts from a grid, not P1 and P2");
    if (const std::string problem = startProblem(start); !problem.empty())
        return who + problem;
    std::array<int, map::BattleStartWords> words {};
    if (const auto *race = std::get_if<RaceStart>(&start))
        words = {race->x, race->y, race->w, 0};
    else
        words = {std::get<BattleStart>(start).p1[0], std::get<BattleStart>(start).p1[1],
                 std::get<BattleStart>(start).p2[0], std::get<BattleStart>(start).p2[1]};
    for (std::size_t i = 0; i < wordsOf(id); ++i)
        putWord(game, place.at + WordSize * i, std::uint16_t(words[i]));
    return {};
}

} // namespace velmor::rom
