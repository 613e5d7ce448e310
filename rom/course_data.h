#pragma once

#include "codec/codec.h"
#include "rom/course_ai.h"
#include "rom/course_catalogue.h"
#include "rom/lap_line.h"
#include "rom/object_positions.h"
#include "rom/overlay_items.h"
#include "rom/race_read.h"
#include "rom/rom_image.h"
#include "rom/start_grid.h"

#include <optional>
#include <string>

// One course whole as plain values: what the editor's document holds, a course file carries and
// a save writes back into a ROM.
namespace velmor::rom {

struct CourseData
{
    int id = 0;
    std::string name;
    Theme theme = Theme::MarioCircuit;
    codec::Bytes layout; // TrackTileLimit tiles, row by row
    OverlayItems items;
    std::optional<ObjectPositions> objects; // race courses only
    StartGrid start; // the race form for race courses, the battle form for battle courses
    std::optional<LapLine> lap; // race courses only
    CourseAi ai;

    bool operator==(const CourseData &) const = default;
};

// "" when every value fits the game; else the first fault with its key path in the course file
// ("ai.targets[12].speed: 7 is not 0–3", "lap: battle courses have no lap line").
std::string courseDataProblem(const CourseData &course);

// Theme, overlay items, object positions, start grid and lap line, each written in place (the
// layout and the AI need room found for them and are written by their own procedures). Every
// block is checked first: on a refusal nothing is written. A start record shared with other
// courses changes for them too (startSharers).
std::string writeCourseBlocks(GameBytes game, const CourseData &course);

// From the ROM's own theme table: an odd code or one past 0x0E is refused.
LayerRead<Theme> readTheme(const RomImage &rom, int id);
std::string writeTheme(GameBytes game, int id, Theme theme);

// The per-course byte that picks the kind of the course's objects (theme-like codes).
std::optional<std::uint8_t> readObjectKind(const RomImage &rom, int id);
std::string writeObjectKind(GameBytes game, int id, std::uint8_t kind);
// The kind a race course of this theme takes: the theme's own code, but Rainbow Road's courses
// take Bowser Castle's (the Thwomps).
std::uint8_t objectKindOf(Theme theme);

} // namespace velmor::rom
