#include "rom/course_check.h"

#include "rom/course_check_steps.h"

#include <algorithm>
#include <cstdio>
#include <map>

namespace velmor::rom {

namespace check {

std::string tileHex(int tile)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", unsigned(tile) & 0xFFu);
    return text;
}

std::string pointText(int x, int y)
{
    // Appended, not joined by +: GCC 12 takes the inlined inserts for overlapping copies.
    std::string text = "(";
    text += std::to_string(x);
    text += ", ";
    text += std::to_string(y);
    text += ')';
    return text;
}

std::string grouped(std::size_t value)
{
    const std::string digits = std::to_string(value);
    std::string text;
    for (std::size_t k = 0; k < digits.size(); ++k) {
        if (k > 0 && (digits.size() - k) % 3 == 0)
            text += ',';
        text += digits[k];
    }
    return text;
}

int Layout::tileAt(int col, int row) const
{
    const codec::Bytes &cells = mInput.course.layout;
    const auto index = std::size_t(row) * MapSide + std::size_t(col);
    if (col < 0 || row < 0 || col >= MapSide || row >= MapSide || index >= cells.size())
        return 0;
    return cells[index];
}

Surface Layout::surfaceAt(int col, int row) const
{
    return mInput.behaviour ? mInput.behaviour->surface(tileAt(col, row)) : Surface::Unknown;
}

std::string Layout::forbiddenAt(int col, int row) const
{
    const Surface surface = surfaceAt(col, row);
    if (!isForbidden(surface))
        return {};
    return std::string(surfaceName(surface)) + " tile " + tileHex(tileAt(col, row));
}

CheckReport Findings::take()
{
    std::stable_sort(mReport.findings.begin(), mReport.findings.end(),
                     [](const Finding &a, const Finding &b) { return a.severity < b.severity; });
    return std::move(mReport);
}

} // namespace check

namespace {

// "a wall tile", "an out of course tile".
std::string withArticle(std::string_view what)
{
    const bool vowel =
        !what.empty() && std::string_view("aeiou").find(what.front()) != std::string_view::npos;
    std::string text = vowel ? "an " : "a ";
    text += what;
    return text;
}

using check::Findings;
using check::Layout;
using check::tileHex;

// "(52, 88)", the place a finding names.
std::string at(int x, int y)
{
    return check::pointText(x, y);
}

TileArea tileOfPixel(int x, int y)
{
    return {x / map::TilePixels, y / map::TilePixels, 1, 1};
}

TileArea itemArea(const OverlayItem &item)
{
    const ItemExtent extent = itemExtent(item.size);
    return {item.col, item.row, std::max(extent.width, 1), std::max(extent.height, 1)};
}

void checkCounts(const CheckInput &input, Findings &out)
{
    if (input.slot && input.slot->bytes > input.slot->capacity)
        out.error("the course takes " + check::grouped(input.slot->bytes) + " bytes; its slot holds "
                  + check::grouped(input.slot->capacity) + " ("
                  + check::grouped(input.slot->bytes - input.slot->capacity) + " too many)");
    const OverlayItems &items = input.course.items;
    if (input.hasItems && items.size() > std::size_t(map::MaxItems)) {
        const OverlayItem &extra = items[std::size_t(map::MaxItems)];
        out.error(std::to_string(items.size()) + " items; the game allows "
                      + std::to_string(map::MaxItems) + " (the first too many: item "
                      + std::to_string(map::MaxItems) + " at tile " + at(extra.col, extra.row)
                      + ")",
                  itemArea(extra));
    }
    const CourseAi &ai = input.course.ai;
    if (!input.hasAi)
        return;
    if (ai.zones.size() > std::size_t(map::MaxZones))
        out.error(std::to_string(ai.zones.size()) + " AI zones; the game allows "
                  + std::to_string(map::MaxZones));
    if (ai.targets.size() != ai.zones.size())
        out.error(std::to_string(ai.targets.size()) + " AI targets for "
                  + std::to_string(ai.zones.size()) + " zones: there is one target per zone");
}

void checkStart(const CheckInput &input, const Layout &layout, Findings &out)
{
    if (!input.hasStart || !layout.hasBehaviour())
        return;
    const auto place = [&](const std::string &who, int x, int y) {
        const TileArea tile = tileOfPixel(x, y);
        if (const std::string what = layout.forbiddenAt(tile.col, tile.row); !what.empty())
            out.error(who + " at " + at(x, y) + " is on " + withArticle(what), tile);
    };
    if (const auto *race = std::get_if<RaceStart>(&input.course.start)) {
        const auto karts = kartPlaces(*race);
        for (std::size_t i = 0; i < karts.size(); ++i)
            place("start grid kart " + std::to_string(i + 1), karts[i].x, karts[i].y);
    } else if (const auto *battle = std::get_if<BattleStart>(&input.course.start)) {
        place("battle start P1", battle->p1[0], battle->p1[1]);
        place("battle start P2", battle->p2[0], battle->p2[1]);
    }
}

void checkLap(const CheckInput &input, const Layout &layout, Findings &out)
{
    if (!input.hasLap || !input.course.lap)
        return;
    const LapLine &lap = *input.course.lap;
    constexpr int CellPixels = map::TilePixels * check::TilesPerZoneCell;
    const TileArea flagged {lap.col * 2, lap.row * 2, lap.w * 2, lap.h * 2};
    if (lap.y < lap.row * CellPixels || lap.y >= (lap.row + lap.h) * CellPixels) {
        out.error("lap line at y " + std::to_string(lap.y) + " does not cross its flagged cells "
                      + at(lap.col, lap.row) + " to " + at(lap.col + lap.w - 1, lap.row + lap.h - 1)
                      + " of the zone grid: no lap is counted",
                  flagged);
        return;
    }
    if (!layout.hasBehaviour())
        return;
    const int row = lap.y / map::TilePixels;
    int bad = 0;
    TileArea area;
    std::string first;
    for (int col = flagged.col; col < flagged.col + flagged.width; ++col) {
        const std::string what = layout.forbiddenAt(col, row);
        if (what.empty())
            continue;
        if (bad++ == 0) {
            first = "lap line at " + at(col * map::TilePixels, lap.y) + " is on "
                + withArticle(what);
            area = {col, row, 1, 1};
        }
        area.width = col - area.col + 1;
    }
    if (bad > 1)
        first += " (" + std::to_string(bad) + " of its tiles are where karts cannot be)";
    if (bad > 0)
        out.error(first, area);
}

void checkTargets(const CheckInput &input, const Layout &layout, Findings &out)
{
    if (!input.hasAi || !layout.hasBehaviour())
        return;
    const std::vector<Target> &targets = input.course.ai.targets;
    for (std::size_t n = 0; n < targets.size(); ++n) {
        const Target &t = targets[n];
        if (const std::string what = layout.forbiddenAt(t.x, t.y); !what.empty())
            out.error("AI target " + std::to_string(n) + " at tile " + at(t.x, t.y) + " is on "
                          + withArticle(what),
                      {t.x, t.y, 1, 1});
    }
}

void checkItems(const CheckInput &input, const Layout &layout, Findings &out)
{
    if (!input.hasItems)
        return;
    const OverlayItems &items = input.course.items;
    for (std::size_t n = 0; n < items.size(); ++n) {
        const OverlayItem &item = items[n];
        const TileArea area = itemArea(item);
        if (item.pattern >= map::DefinedItemPatterns)
            out.warning("item " + std::to_string(n) + " at tile " + at(item.col, item.row)
                            + " uses pattern " + std::to_string(item.pattern)
                            + ", which the game does not define",
                        area);
        if (!layout.hasBehaviour())
            continue;
        for (int row = area.row; row < area.row + area.height; ++row) {
            int col = area.col;
            while (col < area.col + area.width && isDrivable(layout.surfaceAt(col, row)))
                ++col;
            if (col == area.col + area.width)
                continue;
            out.warning("item " + std::to_string(n) + " at tile " + at(item.col, item.row)
                            + " lies on " + withArticle(surfaceName(layout.surfaceAt(col, row)))
                            + " tile " + tileHex(layout.tileAt(col, row))
                            + " where karts do not drive",
                        area);
            break;
        }
    }
}

void checkObjects(const CheckInput &input, const ZoneGrid &grid, Findings &out)
{
    if (!input.hasObjects || !input.course.objects || !input.hasAi)
        return;
    if (!input.objectZones) {
        if (!input.objectZonesProblem.empty())
            out.warning("objects not checked against their zones: " + input.objectZonesProblem);
        return;
    }
    const ObjectAreas &zones = *input.objectZones;
    const auto &groups = input.course.objects->groups;
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const std::string live = "zones " + std::to_string(zones.thresholds[g]) + "\xE2\x80\x93"
            + std::to_string(zones.thresholds[g + 1] - 1);
        for (std::size_t k = 0; k < groups[g].size(); ++k) {
            const ObjectPlace &place = groups[g][k];
            if (!place.holdsObject())
                continue;
            const std::optional<int> zone = grid.zoneAtTile(place.col, place.row);
            if (zone && zones.isLive(int(g), *zone))
                continue;
            const std::string where = zone ? "in zone " + std::to_string(*zone) : "in no zone";
            out.warning("object " + std::to_string(k) + " of group " + std::to_string(g)
                            + " at tile " + at(place.col, place.row) + " stands " + where
                            + ", outside " + live + " where its group is live",
                        {place.col, place.row, 1, 1});
        }
    }
}

void checkTheme(const CheckInput &input, Findings &out)
{
    const Theme theme = input.course.theme;
    const std::string name(themeName(theme));
    if (input.hasTheme && input.behaviour && theme != Theme::GhostValley
        && theme != Theme::RainbowRoad && input.behaviour->surface(0) != Surface::OutOfCourse)
        out.warning("tile 0x00 is " + std::string(surfaceName(input.behaviour->surface(0)))
                    + ", not out of course, in the " + name
                    + " theme, which does not put back a driver who leaves the map");
    if (!input.definedTiles)
        return;
    struct Use
    {
        int count = 0;
        int first = 0;
    };
    std::map<int, Use> undefined;
    const codec::Bytes &cells = input.course.layout;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (input.definedTiles->test(cells[i]))
            continue;
        Use &use = undefined[cells[i]];
        if (use.count++ == 0)
            use.first = int(i);
    }
    for (const auto &[tile, use] : undefined) {
        const int col = use.first % check::MapSide;
        const int row = use.first / check::MapSide;
        out.warning("the layout uses tile " + tileHex(tile) + " " + std::to_string(use.count)
                        + (use.count == 1 ? " time" : " times") + ", first at tile " + at(col, row)
                        + ", which the " + name + " theme does not define",
                    {col, row, 1, 1});
    }
}

} // namespace

std::string Finding::line() const
{
    return (severity == Severity::Error ? "error: " : "warning: ") + text;
}

int CheckReport::errors() const
{
    return int(std::count_if(findings.begin(), findings.end(),
                             [](const Finding &f) { return f.severity == Severity::Error; }));
}

int CheckReport::warnings() const
{
    return int(findings.size()) - errors();
}

std::string CheckReport::summary() const
{
    const auto count = [](int n, const char *word) {
        return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
    };
    return count(errors(), "error") + ", " + count(warnings(), "warning");
}

CheckInput checkInputOf(const CourseLayers &layers, codec::Bytes layout)
{
    CheckInput input;
    CourseData &course = input.course;
    course.id = layers.id;
    const Course *known = courseById(layers.id);
    course.name = known ? std::string(known->name) : courseLabel(layers.id);
    course.layout = std::move(layout);
    input.hasTheme = layers.theme.ok();
    course.theme = input.hasTheme ? *layers.theme.value : known ? known->theme : Theme::MarioCircuit;
    if ((input.hasItems = layers.items.ok()))
        course.items = *layers.items.value;
    if ((input.hasObjects = layers.objects.ok()))
        course.objects = *layers.objects.value;
    if ((input.hasStart = layers.start.ok()))
        course.start = *layers.start.value;
    if ((input.hasLap = layers.lap.ok()))
        course.lap = *layers.lap.value;
    if ((input.hasAi = layers.ai.ok()))
        course.ai = *layers.ai.value;
    input.unreadable = layers.errors();
    return input;
}

CheckReport checkCourse(const CheckInput &input)
{
    Findings out;
    for (const std::string &message : input.unreadable)
        out.error(message);
    const Layout layout(input);
    const ZoneGrid grid(input.course.ai.zones);
    checkCounts(input, out);
    checkStart(input, layout, out);
    checkLap(input, layout, out);
    checkTargets(input, layout, out);
    check::checkZoneCover(input, layout, grid, out);
    check::checkZoneOrder(input, out);
    checkItems(input, layout, out);
    checkObjects(input, grid, out);
    checkTheme(input, out);
    return out.take();
}

} // namespace velmor::rom
