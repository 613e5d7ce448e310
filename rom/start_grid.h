#pragma once

#include "rom/race_map.h"
#include "rom/race_read.h"
#include "rom/rom_image.h"

#include <array>
#include <string>
#include <variant>
#include <vector>

// Where the karts start: for a race, two columns of places going down from first place; for a
// battle, the two players' places. The first entry of a list in bank $81 that the course's start
// pointer reaches; fixed in size, so written in place.
namespace velmor::rom {

// Pixels. Kart i (0-7) starts at x + (w for odd i), y + 24 i.
struct RaceStart
{
    int x = 0;
    int y = 0;
    int w = 0; // signed

    bool operator==(const RaceStart &) const = default;
};

struct BattleStart
{
    std::array<int, 2> p1 {}; // x, y in pixels
    std::array<int, 2> p2 {};

    bool operator==(const BattleStart &) const = default;
};

using StartGrid = std::variant<RaceStart, BattleStart>;

struct KartPlace
{
    int x = 0;
    int y = 0;
};
std::array<KartPlace, map::StartKarts> kartPlaces(const RaceStart &start);

// "" when the values fit the record; else the first fault as the course file names it under
// "start" ("x: 2000 is not 0–1023", "p2[1]: -4 is not 0–1023").
std::string startProblem(const StartGrid &start);

// The race form for race courses, the battle form for battle courses.
LayerRead<StartGrid> readStartGrid(const RomImage &rom, int id);
// The other course IDs whose start pointer reaches the same record (battle courses 4, 1 and 2 share
// one in the game).
std::vector<int> startSharers(const RomImage &rom, int id);
// The coordinate words in place (the routine word before them stays). A record shared with other
// courses changes for them too: ask startSharers first. "" on success; on a refusal (values out
// of range, the wrong form for the course) nothing is written.
std::string writeStartGrid(GameBytes game, int id, const StartGrid &start);

} // namespace velmor::rom
