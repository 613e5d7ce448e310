#include "rom/zone_grid.h"

#include <algorithm>

namespace velmor::rom {

namespace {

bool insideGrid(int x, int y)
{
    return x >= 0 && y >= 0 && x < map::ZoneGridSide && y < map::ZoneGridSide;
}

void add(std::vector<ZoneCell> &cells, int x, int y)
{
    if (insideGrid(x, y))
        cells.push_back({x, y});
}

} // namespace

std::vector<ZoneCell> zoneCells(const Zone &zone)
{
    std::vector<ZoneCell> cells;
    switch (zone.shape) {
    case ZoneShape::Rectangle:
        for (int dy = 0; dy < zone.h; ++dy) {
            for (int dx = 0; dx < zone.w; ++dx)
                add(cells, zone.x + dx, zone.y + dy);
        }
        break;
    case ZoneShape::TriangleRightDown:
    case ZoneShape::TriangleLeftDown:
    case ZoneShape::TriangleLeftUp:
    case ZoneShape::TriangleRightUp: {
        const bool right = zone.shape == ZoneShape::TriangleRightDown
            || zone.shape == ZoneShape::TriangleRightUp;
        const bool down = zone.shape == ZoneShape::TriangleRightDown
            || zone.shape == ZoneShape::TriangleLeftDown;
        // Row k holds n - k cells from x.
        for (int k = 0; k < zone.n; ++k) {
            const int y = down ? zone.y + k : zone.y - k;
            for (int i = 0; i < zone.n - k; ++i)
                add(cells, right ? zone.x + i : zone.x - i, y);
        }
        break;
    }
    case ZoneShape::DiagonalLeft:
    case ZoneShape::DiagonalRight: {
        const int step = zone.shape == ZoneShape::DiagonalRight ? 1 : -1;
        // Column k starts k cells lower and holds n - k cells going down.
        for (int k = 0; k < zone.n; ++k) {
            for (int i = 0; i < zone.n - k; ++i)
                add(cells, zone.x + step * k, zone.y + k + i);
        }
        break;
    }
    }
    return cells;
}

ZoneGrid::ZoneGrid()
{
    mCells.fill(map::NoZone);
}

ZoneGrid::ZoneGrid(std::span<const Zone> zones)
    : ZoneGrid()
{
    const std::size_t written = std::min(zones.size(), std::size_t(map::MaxZones));
    for (std::size_t n = 0; n < written; ++n) {
        for (const ZoneCell &cell : zoneCells(zones[n]))
            mCells[std::size_t(cell.y * map::ZoneGridSide + cell.x)] = std::uint8_t(n);
    }
}

std::optional<int> ZoneGrid::zoneAt(int x, int y) const
{
    if (!insideGrid(x, y))
        return std::nullopt;
    const std::uint8_t value = mCells[std::size_t(y * map::ZoneGridSide + x)];
    if (value == map::NoZone)
        return std::nullopt;
    return value;
}

} // namespace velmor::rom
