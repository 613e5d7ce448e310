#pragma once

#include "rom/ai_tables.h"
#include "rom/course_data.h"
#include "rom/object_areas.h"
#include "rom/race_map.h"
#include "rom/tile_behaviour.h"

#include <array>

#include <optional>
#include <string>
#include <vector>

// Every race layer of one course as a ROM holds it, each read on its own: a layer that cannot be
// read carries its message, and the others are still there.
namespace velmor::rom {

struct CourseLayers
{
    int id = 0;
    LayerRead<Theme> theme;
    LayerRead<OverlayItems> items;
    // Race courses hold a value; battle courses an empty one.
    LayerRead<std::optional<ObjectPositions>> objects;
    LayerRead<StartGrid> start;
    LayerRead<std::optional<LapLine>> lap;
    LayerRead<CourseAi> ai;
    // The other course IDs that use the same AI set or the same start record.
    std::vector<int> aiSharers;
    std::vector<int> startSharers;
    // Beside the layers, for the editor's own use and not part of the course file: the object
    // areas' thresholds (race courses; their absence is no error of the course) and what each
    // theme's tiles do to a kart, where the ROM's table could be read.
    LayerRead<std::optional<ObjectAreas>> areas;
    std::array<std::optional<TileBehaviour>, ThemeCount> behaviours;
    // The tiles of each pattern as the ROM's pattern table gives them, where it could be read.
    std::array<std::optional<std::vector<int>>, map::DefinedItemPatterns> patterns;

    // The messages of the layers that could not be read, in the order above.
    std::vector<std::string> errors() const;
    // The whole course with this layout when every layer was read.
    std::optional<CourseData> course(codec::Bytes layout) const;
};

CourseLayers readCourseLayers(const RomImage &rom, int id);

} // namespace velmor::rom
