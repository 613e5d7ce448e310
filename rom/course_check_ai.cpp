#include "rom/course_check_steps.h"

#include <array>
#include <bitset>
#include <deque>

namespace velmor::rom::check {

namespace {

constexpr int Side = map::ZoneGridSide;
constexpr int CellPixels = map::TilePixels * TilesPerZoneCell;
using CellSet = std::bitset<std::size_t(Side * Side)>;
// Past this many, the pieces of road without a zone are counted, not listed.
constexpr int ListedGaps = 8;

std::size_t index(int x, int y)
{
    return std::size_t(y * Side + x);
}

bool inside(int x, int y)
{
    return x >= 0 && y >= 0 && x < Side && y < Side;
}

// A zone cell karts can drive into: one of its four tiles is drivable.
bool drivableCell(const Layout &layout, int x, int y)
{
    for (int dy = 0; dy < TilesPerZoneCell; ++dy) {
        for (int dx = 0; dx < TilesPerZoneCell; ++dx) {
            if (isDrivable(layout.surfaceAt(x * TilesPerZoneCell + dx, y * TilesPerZoneCell + dy)))
                return true;
        }
    }
    return false;
}

std::vector<ZoneCell> startCells(const StartGrid &start)
{
    std::vector<ZoneCell> cells;
    const auto add = [&cells](int x, int y) {
        if (x >= 0 && y >= 0 && inside(x / CellPixels, y / CellPixels))
            cells.push_back({x / CellPixels, y / CellPixels});
    };
    if (const auto *race = std::get_if<RaceStart>(&start)) {
        for (const KartPlace &kart : kartPlaces(*race))
            add(kart.x, kart.y);
    } else if (const auto *battle = std::get_if<BattleStart>(&start)) {
        add(battle->p1[0], battle->p1[1]);
        add(battle->p2[0], battle->p2[1]);
    }
    return cells;
}

constexpr std::array<std::array<int, 2>, 4> Steps {{{1, 0}, {-1, 0}, {0, 1}, {0, -1}}};

// The cells karts reach from the start grid over drivable cells.
CellSet reachable(const Layout &layout, const StartGrid &start)
{
    CellSet seen;
    std::deque<ZoneCell> queue;
    for (const ZoneCell &cell : startCells(start)) {
        if (!seen.test(index(cell.x, cell.y))) {
            seen.set(index(cell.x, cell.y));
            queue.push_back(cell);
        }
    }
    while (!queue.empty()) {
        const ZoneCell cell = queue.front();
        queue.pop_front();
        for (const auto &[dx, dy] : Steps) {
            const int x = cell.x + dx;
            const int y = cell.y + dy;
            if (!inside(x, y) || seen.test(index(x, y)) || !drivableCell(layout, x, y))
                continue;
            seen.set(index(x, y));
            queue.push_back({x, y});
        }
    }
    return seen;
}

struct Gap
{
    int cells = 0;
    int left = Side, top = Side, right = -1, bottom = -1;
};

// Takes the piece of `open` connected to (x, y) out of it.
Gap takeGap(CellSet &open, int x, int y)
{
    Gap gap;
    std::deque<ZoneCell> queue {{x, y}};
    open.reset(index(x, y));
    while (!queue.empty()) {
        const ZoneCell cell = queue.front();
        queue.pop_front();
        ++gap.cells;
        gap.left = std::min(gap.left, cell.x);
        gap.top = std::min(gap.top, cell.y);
        gap.right = std::max(gap.right, cell.x);
        gap.bottom = std::max(gap.bottom, cell.y);
        for (const auto &[dx, dy] : Steps) {
            const int nx = cell.x + dx;
            const int ny = cell.y + dy;
            if (inside(nx, ny) && open.test(index(nx, ny))) {
                open.reset(index(nx, ny));
                queue.push_back({nx, ny});
            }
        }
    }
    return gap;
}

CellSet cellsOf(const Zone &zone)
{
    CellSet cells;
    for (const ZoneCell &cell : zoneCells(zone))
        cells.set(index(cell.x, cell.y));
    return cells;
}

// Whether two zones overlap or touch, corners included.
bool meet(const CellSet &a, const CellSet &b)
{
    if ((a & b).any())
        return true;
    for (int y = 0; y < Side; ++y) {
        for (int x = 0; x < Side; ++x) {
            if (!a.test(index(x, y)))
                continue;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    if (inside(x + dx, y + dy) && b.test(index(x + dx, y + dy)))
                        return true;
                }
            }
        }
    }
    return false;
}

TileArea tilesOf(const CellSet &cells)
{
    int left = Side, top = Side, right = -1, bottom = -1;
    for (int y = 0; y < Side; ++y) {
        for (int x = 0; x < Side; ++x) {
            if (cells.test(index(x, y))) {
                left = std::min(left, x);
                top = std::min(top, y);
                right = std::max(right, x);
                bottom = std::max(bottom, y);
            }
        }
    }
    if (right < 0)
        return {};
    return {left * TilesPerZoneCell, top * TilesPerZoneCell, (right - left + 1) * TilesPerZoneCell,
            (bottom - top + 1) * TilesPerZoneCell};
}

} // namespace

void checkZoneCover(const CheckInput &input, const Layout &layout, const ZoneGrid &grid,
                    Findings &out)
{
    if (!input.hasAi || !input.hasStart || !layout.hasBehaviour())
        return;
    CellSet open = reachable(layout, input.course.start);
    for (int y = 0; y < Side; ++y) {
        for (int x = 0; x < Side; ++x) {
            if (grid.zoneAt(x, y))
                open.reset(index(x, y));
        }
    }
    int listed = 0;
    int more = 0;
    for (int y = 0; y < Side; ++y) {
        for (int x = 0; x < Side; ++x) {
            if (!open.test(index(x, y)))
                continue;
            const Gap gap = takeGap(open, x, y);
            if (listed == ListedGaps) {
                ++more;
                continue;
            }
            ++listed;
            out.error("AI zones leave " + std::to_string(gap.cells)
                          + (gap.cells == 1 ? " drivable cell" : " drivable cells")
                          + " that karts reach from the start without a zone, from zone cell "
                          + pointText(gap.left, gap.top) + " to " + pointText(gap.right, gap.bottom),
                      {gap.left * TilesPerZoneCell, gap.top * TilesPerZoneCell,
                       (gap.right - gap.left + 1) * TilesPerZoneCell,
                       (gap.bottom - gap.top + 1) * TilesPerZoneCell});
        }
    }
    if (more > 0)
        out.error("AI zones leave " + std::to_string(more) + " more pieces of road without a zone");
}

void checkZoneOrder(const CheckInput &input, Findings &out)
{
    // Battle courses have no race order to follow.
    const std::vector<Zone> &zones = input.course.ai.zones;
    if (!input.hasAi || !isRaceCourse(input.course.id) || zones.size() < 2)
        return;
    const std::size_t count = std::min(zones.size(), std::size_t(map::MaxZones));
    std::vector<CellSet> cells;
    cells.reserve(count);
    for (std::size_t n = 0; n < count; ++n)
        cells.push_back(cellsOf(zones[n]));
    for (std::size_t n = 0; n < count; ++n) {
        const std::size_t next = (n + 1) % count;
        if (meet(cells[n], cells[next]))
            continue;
        const std::string text = next == 0
            ? "the last AI zone, " + std::to_string(n) + ", is not next to zone 0: the AI loop is open"
            : "AI zone " + std::to_string(n) + " is not next to zone " + std::to_string(next)
                + ", which follows it in the race";
        out.error(text, tilesOf(cells[n]));
    }
}

} // namespace velmor::rom::check
