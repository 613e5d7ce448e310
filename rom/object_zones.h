#pragma once

#include "rom/race_map.h"
#include "rom/race_read.h"
#include "rom/rom_image.h"

#include <array>

// Which of a race course's four object groups is live while the leading kart is in which AI zone:
// an object stands outside the part of the course where its group is live is never seen.
namespace velmor::rom {

struct ObjectZones
{
    // Group g is live from zone bounds[g] up to, not including, bounds[g + 1].
    std::array<int, map::ObjectGroups + 1> bounds {};

    bool isLive(int group, int zone) const
    {
        return zone >= bounds[std::size_t(group)] && zone < bounds[std::size_t(group) + 1];
    }
};

// The record the course's object kind and index reach. Refused when a pointer or the record lies
// outside the records' place or its zone numbers do not ascend.
LayerRead<ObjectZones> readObjectZones(const RomImage &rom, int id);

} // namespace velmor::rom
