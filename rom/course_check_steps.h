#pragma once

#include "rom/course_check.h"
#include "rom/zone_grid.h"

#include <string>

// The course check's parts, shared by its two source files.
namespace velmor::rom::check {

inline constexpr int MapSide = map::MapSide;
inline constexpr int TilesPerZoneCell = 2;

// "0x8A"
std::string tileHex(int tile);
// "2,047"
std::string grouped(std::size_t value);
// "(52, 88)"
std::string pointText(int x, int y);

// The layout as the game reads it: tile 0 outside the map.
class Layout
{
public:
    explicit Layout(const CheckInput &input)
        : mInput(input)
    { }

    int tileAt(int col, int row) const;
    Surface surfaceAt(int col, int row) const;
    bool hasBehaviour() const { return mInput.behaviour.has_value(); }
    // "wall tile 0x8A" for a tile a kart may not stand on; "" where it may.
    std::string forbiddenAt(int col, int row) const;

private:
    const CheckInput &mInput;
};

class Findings
{
public:
    void error(std::string text, TileArea area = {})
    {
        mReport.findings.push_back({Severity::Error, std::move(text), area});
    }
    void warning(std::string text, TileArea area = {})
    {
        mReport.findings.push_back({Severity::Warning, std::move(text), area});
    }
    CheckReport take();

private:
    CheckReport mReport;
};

// The zones' AI: reachable cells without a zone, and a race order that leaves the road.
void checkZoneCover(const CheckInput &input, const Layout &layout, const ZoneGrid &grid,
                    Findings &out);
void checkZoneOrder(const CheckInput &input, Findings &out);

} // namespace velmor::rom::check
