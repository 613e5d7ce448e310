#pragma once

#include "rom/race_map.h"
#include "rom/race_read.h"
#include "rom/rom_image.h"

#include <array>
#include <string>
#include <vector>

// Where a race course's objects (pipes, moles, plants, Thwomps, fish) stand: four groups of four,
// of which the race makes one live at a time, and the two-player match race's own list. Battle
// courses have no record; Ghost Valley's is all zero.
namespace velmor::rom {

struct ObjectPlace
{
    int col = 0; // tiles
    int row = 0;

    bool operator==(const ObjectPlace &) const = default;
    // A zero word holds no object: the records of courses without objects are all zero.
    bool holdsObject() const { return col != 0 || row != 0; }
};

struct MatchObject
{
    int col = 0;
    int row = 0;
    int motion = 0; // bits 14-15 of the word: 2 still, 1 moves in x, 0 moves in y

    bool operator==(const MatchObject &) const = default;
};

struct ObjectPositions
{
    using Group = std::array<ObjectPlace, map::ObjectsPerGroup>;
    std::array<Group, map::ObjectGroups> groups {};
    std::vector<MatchObject> match; // up to 8

    bool operator==(const ObjectPositions &) const = default;
};

// "" when the game can use the positions; else the first fault as the course file names it under
// "objects" ("groups[1][2][0]: 200 is not 0–127", "match: 9 objects; the game allows 8").
std::string objectsProblem(const ObjectPositions &objects);

// A group word with bits 14-15 set is past the map and refused; the match list ends at a zero word
// or after 8 words.
LayerRead<ObjectPositions> readObjectPositions(const RomImage &rom, int id);
// The groups, the match words and their end word, in place; the record's other bytes stay as
// they are. "" on success; on a refusal nothing is written.
std::string writeObjectPositions(GameBytes game, int id, const ObjectPositions &objects);

} // namespace velmor::rom
