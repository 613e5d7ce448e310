#pragma once

#include "rom/course_ai.h"
#include "rom/object_areas.h"

#include <optional>
#include <string>
#include <vector>

// Changes of the race order: a zone put in after another, taken out, moved, or the whole order
// rearranged, each zone keeping its own target. A kart's progress is the number of the zone under
// it, so the object areas' thresholds follow an insertion or a removal.
namespace velmor::rom {

struct RaceOrderEdit
{
    CourseAi ai;
    std::optional<ObjectAreas> areas;
    // The thresholds that moved, for the user to be told.
    std::vector<ShiftedThreshold> shifted;
    // Where the zone that was acted on now is (-1 after a removal).
    int zone = -1;
    // Why nothing changed; then ai and areas are the ones given.
    std::string error;

    bool ok() const { return error.empty(); }
};

// `zone` with `target` as number after + 1 (after = -1 puts it first). Refused past 127 zones.
RaceOrderEdit insertZone(const CourseAi &ai, const std::optional<ObjectAreas> &areas, int after,
    const Zone &zone, const Target &target);
RaceOrderEdit removeZone(const CourseAi &ai, const std::optional<ObjectAreas> &areas, int index);
// Zone `from` with its target to number `to`; the zones between close up. Thresholds stay: the
// numbers still follow one another, only which zone holds them changes.
RaceOrderEdit moveZone(const CourseAi &ai, const std::optional<ObjectAreas> &areas, int from, int to);
// order[k] = the old number of the zone that becomes number k; a permutation of them all.
RaceOrderEdit reorderZones(const CourseAi &ai, const std::optional<ObjectAreas> &areas,
    const std::vector<int> &order);

} // namespace velmor::rom
