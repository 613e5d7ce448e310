#pragma once

#include "rom/course_ai.h"
#include "rom/race_map.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// The zone grid the game builds from a course's zones: 64 x 64 cells of 16 x 16 pixels (2 x 2
// tiles), each holding the number of the zone over it, which is a kart's progress in the race.
namespace velmor::rom {

struct ZoneCell
{
    int x = 0;
    int y = 0;

    bool operator==(const ZoneCell &) const = default;
};

// The cells a zone covers inside the grid, in the order the game writes them; cells that would
// lie outside the grid are left out.
std::vector<ZoneCell> zoneCells(const Zone &zone);

// Row-major, map::NoZone where no zone lies.
class ZoneGrid
{
public:
    ZoneGrid();
    // Every cell "no zone", then the n-th zone (n = 0, 1, ...) writes n into its cells; later zones
    // overwrite earlier ones. Zones past the 127th are not written (their number would read as
    // "no zone").
    explicit ZoneGrid(std::span<const Zone> zones);

    // The zone number under a cell, or nothing where no zone lies or outside the grid.
    std::optional<int> zoneAt(int x, int y) const;
    // The same for a tile of the 128 x 128 map.
    std::optional<int> zoneAtTile(int column, int row) const
    {
        return zoneAt(column / 2, row / 2);
    }

    const std::array<std::uint8_t, map::ZoneGridSide * map::ZoneGridSide> &cells() const
    {
        return mCells;
    }

private:
    std::array<std::uint8_t, map::ZoneGridSide * map::ZoneGridSide> mCells;
};

} // namespace velmor::rom
