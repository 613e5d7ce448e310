#pragma once

#include "rom/race_read.h"
#include "rom/rom_image.h"

#include <string>

// Where a race course counts a lap: a karts crossing pixel row y while on one of the w x h cells
// of the zone grid flagged from (col, row). Battle courses have none.
namespace velmor::rom {

struct LapLine
{
    int y = 0; // pixels
    int col = 0; // cells of the 64 x 64 zone grid
    int row = 0;
    int w = 0;
    int h = 0;

    bool operator==(const LapLine &) const = default;
};

// "" when the values fit the record; else the first fault as the course file names it under
// "lap" ("col: 70 is not 0–63").
std::string lapProblem(const LapLine &lap);

// A cell index past the zone grid, or a value out of range, is refused.
LayerRead<LapLine> readLapLine(const RomImage &rom, int id);
// The 6-byte record in place. "" on success; on a refusal nothing is written.
std::string writeLapLine(GameBytes game, int id, const LapLine &lap);

} // namespace velmor::rom
