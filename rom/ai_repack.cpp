#include "rom/ai_repack.h"

#include "rom/race_map.h"

#include <algorithm>
#include <numeric>

namespace velmor::rom {

namespace {

// One list to place: a set's zones or its targets, and where it lies before the repacking.
struct Unit
{
    int owner = 0;
    bool zones = true;
    std::size_t now = 0;
};

std::string setName(const AiSets &sets, int owner)
{
    std::string name = courseLabel(owner);
    const std::vector<int> others = sets.sharers(owner);
    for (std::size_t k = 0; k < others.size(); ++k)
        name += (k == 0 ? " (shared with " : ", ") + courseLabel(others[k]);
    return name + (others.empty() ? "" : ")");
}

std::string overFullMessage(const AiSets &sets, std::vector<int> owners, std::size_t total)
{
    std::sort(owners.begin(), owners.end(), [&sets](int a, int b) {
        const std::size_t sa = sets.of(a).size(), sb = sets.of(b).size();
        return sa != sb ? sa > sb : a < b;
    });
    std::string message = "the AI of all courses takes " + std::to_string(total) + " bytes, "
        + std::to_string(total - map::AiBlockSize) + " more than the "
        + std::to_string(map::AiBlockSize) + " bytes of the AI block; the largest: ";
    for (std::size_t k = 0; k < std::min<std::size_t>(3, owners.size()); ++k)
        message += (k ? ", " : "") + setName(sets, owners[k]) + " ("
            + std::to_string(sets.of(owners[k]).size()) + " bytes)";
    return message;
}

} // namespace

std::vector<int> AiSets::sharers(int id) const
{
    std::vector<int> others;
    for (int other = 0; other < CourseCount; ++other) {
        if (other != id && setOf[std::size_t(other)] == setOf[std::size_t(id)])
            others.push_back(other);
    }
    return others;
}

void AiSets::split(int id)
{
    const auto course = std::size_t(id);
    const int owner = setOf[course];
    if (owner == id) {
        // The course keeps the set; the others take a copy under the lowest of them.
        const std::vector<int> others = sharers(id);
        if (others.empty())
            return;
        ai[std::size_t(others.front())] = ai[course];
        for (const int other : others)
            setOf[std::size_t(other)] = others.front();
        return;
    }
    ai[course] = ai[std::size_t(owner)];
    setOf[course] = id;
}

LayerRead<AiSets> readAiSets(const RomImage &rom)
{
    const LayerRead<AiPointers> pointers = readAiPointers(rom);
    if (!pointers.ok())
        return refused<AiSets>(pointers.error);
    AiSets sets;
    for (int id = 0; id < CourseCount; ++id) {
        const int owner = pointers.value->setOwner(id);
        sets.setOf[std::size_t(id)] = owner;
        if (owner != id)
            continue;
        LayerRead<CourseAi> read = readCourseAi(rom, *pointers.value, id);
        if (!read.ok())
            return refused<AiSets>(std::move(read.error));
        sets.ai[std::size_t(id)] = std::move(*read.value);
    }
    return {std::move(sets), {}};
}

std::string repackAi(GameBytes game, const AiSets &sets)
{
    const auto image = RomImage::open(game);
    if (!image || !fits(game.size(), map::AiBlockStart, map::AiBlockSize))
        return "the AI block lies outside this ROM";
    const LayerRead<AiPointers> pointers = readAiPointers(*image);
    if (!pointers.ok())
        return pointers.error;

    std::vector<int> owners;
    std::vector<Unit> units;
    for (int id = 0; id < CourseCount; ++id) {
        const int owner = sets.setOf[std::size_t(id)];
        if (owner < 0 || owner >= CourseCount || sets.setOf[std::size_t(owner)] != owner)
            return courseLabel(id) + ": AI: uses the set of a course that does not use its own";
        if (owner != id)
            continue;
        if (const std::string problem = aiProblem(sets.ai[std::size_t(id)]); !problem.empty())
            return courseLabel(id) + ": AI: " + problem;
        owners.push_back(id);
        units.push_back({id, true, pointers.value->zonesAt(id)});
        units.push_back({id, false, pointers.value->targetsAt(id)});
    }
    const std::size_t total = std::accumulate(owners.begin(), owners.end(), std::size_t(0),
        [&sets](std::size_t sum, int owner) { return sum + sets.of(owner).size(); });
    if (total > map::AiBlockSize)
        return overFullMessage(sets, owners, total);

    // The lists keep their order, so a set that grows moves only those behind it.
    std::stable_sort(units.begin(), units.end(),
                     [](const Unit &a, const Unit &b) { return a.now < b.now; });
    codec::Bytes block(map::AiBlockSize, map::AiFreeByte);
    std::array<std::size_t, CourseCount> zonesAt {}, targetsAt {};
    std::size_t at = 0;
    for (const Unit &unit : units) {
        const CourseAi &ai = sets.of(unit.owner);
        const codec::Bytes bytes = unit.zones ? encodeZones(ai.zones) : encodeTargets(ai);
        std::copy(bytes.begin(), bytes.end(), block.begin() + std::ptrdiff_t(at));
        (unit.zones ? zonesAt : targetsAt)[std::size_t(unit.owner)] = map::AiBlockStart + at;
        at += bytes.size();
    }
    std::copy(block.begin(), block.end(), game.begin() + std::ptrdiff_t(map::AiBlockStart));
    for (int id = 0; id < CourseCount; ++id) {
        const auto owner = std::size_t(sets.setOf[std::size_t(id)]);
        setAiPointers(game, id, zonesAt[owner], targetsAt[owner]);
    }
    return {};
}

} // namespace velmor::rom
