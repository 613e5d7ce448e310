#include "rom/object_zones.h"

#include "rom/course_data.h"
#include "rom/hex_offset.h"

namespace velmor::rom {

namespace {

constexpr const char *Table = "object zones";

LayerRead<ObjectZones> refuse(const RomImage &rom, int id, std::size_t at, const std::string &why)
{
    return refused<ObjectZones>(layerMessage(id, Table, rom.fileOffset(at), why));
}

} // namespace

LayerRead<ObjectZones> readObjectZones(const RomImage &rom, int id)
{
    const codec::ByteView game = rom.game();
    const std::optional<std::uint8_t> kind = readObjectKind(rom, id);
    const std::size_t indexAt = map::ObjectKindIndices + std::size_t(id);
    if (!kind || !isRaceCourse(id) || !fits(game.size(), indexAt, 1))
        return refuse(rom, id, map::ObjectKinds, "the object kind tables lie outside this ROM");
    const std::size_t pointerAt = map::ObjectZonePointers + *kind;
    if (!fits(game.size(), pointerAt, 2))
        return refuse(rom, id, pointerAt, "kind " + hexText(*kind) + " has no pointer in this ROM");
    const std::size_t record = map::ObjectZoneBank + wordAt(game, pointerAt)
        + map::ObjectZoneRecordSize * game[indexAt];
    if (record < map::ObjectZoneRecordsStart
        || record + map::ObjectZoneRecordSize > map::ObjectZoneRecordsEnd
        || !fits(game.size(), record, map::ObjectZoneRecordSize))
        return refuse(rom, id, pointerAt, "the record at " + hexText(rom.fileOffset(record))
                          + " lies outside the object zone records");
    ObjectZones zones;
    for (std::size_t k = 0; k < zones.bounds.size(); ++k) {
        zones.bounds[k] = wordAt(game, record + 2 * k);
        if (k > 0 && zones.bounds[k] < zones.bounds[k - 1])
            return refuse(rom, id, record + 2 * k, "zone " + std::to_string(zones.bounds[k])
                              + " follows zone " + std::to_string(zones.bounds[k - 1]));
    }
    return {zones, {}};
}

} // namespace velmor::rom
