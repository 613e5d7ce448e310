#pragma once

#include "rom/race_map.h"
#include "rom/race_read.h"
#include "rom/rom_image.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

// Which of a race course's four object groups is live, chosen by the AI zone the leading kart is
// in: ascending zone numbers in one record per course, reached through the course's object kind.
// They are zone numbers, so putting a zone into the race order or taking one out moves them.
namespace velmor::rom {

struct ObjectAreas
{
    std::array<int, map::ObjectAreaThresholds> thresholds {};

    // Group g is live while the leading kart is in a zone from thresholds[g] up to, not
    // including, thresholds[g + 1].
    bool isLive(int group, int zone) const
    {
        return zone >= thresholds[std::size_t(group)] && zone < thresholds[std::size_t(group) + 1];
    }

    bool operator==(const ObjectAreas &) const = default;
};

// One threshold moved by a change of the race order: its place in the record, before and after.
struct ShiftedThreshold
{
    int index = 0;
    int from = 0;
    int to = 0;

    bool operator==(const ShiftedThreshold &) const = default;
};

// A zone put in at number `at` of `zoneCount`: every threshold from `at` up to the zone count
// follows the zones it names (the new zone joins the area of the zone before it). Values past
// the zone count name no zone (end marks) and stay.
std::vector<ShiftedThreshold> shiftForInsertion(ObjectAreas &areas, int zoneCount, int at);
// Zone `at` of `zoneCount` taken out: thresholds above it follow their zones down; one that named
// it now names the zone that took its number.
std::vector<ShiftedThreshold> shiftForRemoval(ObjectAreas &areas, int zoneCount, int at);

// The file offset of the course's record, or nothing when its kind's pointer leads outside the
// records (battle courses have none).
std::optional<std::size_t> objectAreasAt(codec::ByteView game, int id);
LayerRead<ObjectAreas> readObjectAreas(const RomImage &rom, int id);
// The record in place. "" on success; on a refusal (no record, a value past a word) nothing is
// written. Courses of one kind with the same index share a record.
std::string writeObjectAreas(GameBytes game, int id, const ObjectAreas &areas);

} // namespace velmor::rom
