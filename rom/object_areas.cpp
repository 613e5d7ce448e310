#include "rom/object_areas.h"

namespace velmor::rom {

namespace {

constexpr std::size_t WordSize = 2;
constexpr int LargestWord = 0xFFFF;

bool namesZone(int threshold, int zoneCount)
{
    return threshold >= 0 && threshold <= zoneCount;
}

} // namespace

std::vector<ShiftedThreshold> shiftForInsertion(ObjectAreas &areas, int zoneCount, int at)
{
    std::vector<ShiftedThreshold> shifted;
    for (int i = 0; i < map::ObjectAreaThresholds; ++i) {
        int &threshold = areas.thresholds[std::size_t(i)];
        if (threshold >= at && namesZone(threshold, zoneCount)) {
            shifted.push_back({i, threshold, threshold + 1});
            ++threshold;
        }
    }
    return shifted;
}

std::vector<ShiftedThreshold> shiftForRemoval(ObjectAreas &areas, int zoneCount, int at)
{
    std::vector<ShiftedThreshold> shifted;
    for (int i = 0; i < map::ObjectAreaThresholds; ++i) {
        int &threshold = areas.thresholds[std::size_t(i)];
        if (threshold > at && namesZone(threshold, zoneCount)) {
            shifted.push_back({i, threshold, threshold - 1});
            --threshold;
        }
    }
    return shifted;
}

std::optional<std::size_t> objectAreasAt(codec::ByteView game, int id)
{
    if (!isRaceCourse(id) || !fits(game.size(), map::ObjectKinds, map::StartPointerCount)
        || !fits(game.size(), map::ObjectKindIndexes, map::StartPointerCount))
        return std::nullopt;
    const std::size_t kind = game[map::ObjectKinds + std::size_t(id)];
    const std::size_t index = game[map::ObjectKindIndexes + std::size_t(id)];
    const std::size_t pointer = map::ObjectAreaPointers + kind;
    if (kind % WordSize != 0 || !fits(game.size(), pointer, WordSize))
        return std::nullopt;
    const std::size_t record =
        map::ObjectAreaBank + wordAt(game, pointer) + index * map::ObjectAreaRecordSize;
    if (record < map::ObjectAreaStart || record + map::ObjectAreaRecordSize > map::ObjectAreaEnd
        || !fits(game.size(), record, map::ObjectAreaRecordSize))
        return std::nullopt;
    return record;
}

LayerRead<ObjectAreas> readObjectAreas(const RomImage &rom, int id)
{
    const codec::ByteView game = rom.game();
    const std::optional<std::size_t> record = objectAreasAt(game, id);
    if (!record) {
        return refused<ObjectAreas>(layerMessage(id, "object areas",
            rom.fileOffset(map::ObjectAreaPointers),
            isRaceCourse(id) ? "the kind's pointer leads outside the records" : "battle courses have none"));
    }
    ObjectAreas areas;
    for (std::size_t i = 0; i < areas.thresholds.size(); ++i)
        areas.thresholds[i] = wordAt(game, *record + i * WordSize);
    return {areas, {}};
}

std::string writeObjectAreas(GameBytes game, int id, const ObjectAreas &areas)
{
    const std::optional<std::size_t> record = objectAreasAt(game, id);
    if (!record)
        return courseLabel(id) + ": no object areas record to write";
    for (std::size_t i = 0; i < areas.thresholds.size(); ++i) {
        if (const std::string reason = rangeProblem(areas.thresholds[i], 0, LargestWord);
            !reason.empty())
            return keyProblem("thresholds[" + std::to_string(i) + "]", reason);
    }
    for (std::size_t i = 0; i < areas.thresholds.size(); ++i)
        putWord(game, *record + i * WordSize, std::uint16_t(areas.thresholds[i]));
    return {};
}

} // namespace velmor::rom
