#pragma once

#include "rom/course_data.h"
#include "rom/course_layers.h"
#include "rom/object_areas.h"
#include "rom/tile_behaviour.h"

#include <bitset>
#include <optional>
#include <string>
#include <vector>

// Will the course race? The checks a course maker would otherwise learn of only by racing it:
// karts started on a wall, 42 item boxes, a target in lava, an open AI loop, a course too big
// for its slot. Pure over values: the callers gather the course and the ROM's tables.
namespace velmor::rom {

enum class Severity { Error, Warning };

// Map tiles (x column, y row) a finding is about; empty for the course as a whole.
struct TileArea
{
    int col = 0;
    int row = 0;
    int width = 0;
    int height = 0;

    bool isEmpty() const { return width <= 0 || height <= 0; }
    bool operator==(const TileArea &) const = default;
};

struct Finding
{
    Severity severity = Severity::Error;
    // What is wrong and where, in the course's own units ("start grid kart 3 at (52, 88) is on a
    // wall tile 0x8A").
    std::string text;
    TileArea area;

    // "error: " or "warning: " and the text: one line as the command line prints it.
    std::string line() const;
};

// The bytes the layout takes compressed into its slot (when it fits, at most that many), against
// the room the slot has.
struct SlotUse
{
    std::size_t bytes = 0;
    std::size_t capacity = 0;
};

// Everything a check looks at. A part that could not be read has its message in `unreadable`
// and its flag off; the check reports the messages first and checks the rest.
struct CheckInput
{
    CourseData course;
    bool hasTheme = true;
    bool hasItems = true;
    bool hasObjects = true;
    bool hasStart = true;
    bool hasLap = true;
    bool hasAi = true;
    std::vector<std::string> unreadable;

    // The course theme's behaviour of each tile; without it nothing that needs a tile's meaning
    // is checked.
    std::optional<TileBehaviour> behaviour;
    std::optional<SlotUse> slot;
    // Which tile numbers the theme's graphics define.
    std::optional<std::bitset<BehaviourTiles>> definedTiles;
    // Where the course's object groups are live; its absence is only a warning, the table's
    // layout being inferred.
    std::optional<ObjectAreas> objectZones;
    std::string objectZonesProblem;
};

// The course and the flags from what a ROM holds; the layout comes from elsewhere (the ROM's
// stream or the editor's map).
CheckInput checkInputOf(const CourseLayers &layers, codec::Bytes layout);

struct CheckReport
{
    std::vector<Finding> findings; // errors first, then warnings, each in the order checked

    int errors() const;
    int warnings() const;
    // "2 errors, 3 warnings"
    std::string summary() const;
};

CheckReport checkCourse(const CheckInput &input);

} // namespace velmor::rom
