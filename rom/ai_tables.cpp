#include "rom/ai_tables.h"

#include "rom/hex_offset.h"
#include "rom/race_map.h"
#include "rom/snes_address.h"

#include <algorithm>

namespace velmor::rom {

namespace {

constexpr std::size_t TablesSize = map::AiPointerSize * CourseCount;

// How far a list starting at `at` may run: to the end of the AI block when it starts inside it,
// else to the end of bank $C6; never past the ROM.
struct ListBound
{
    std::size_t end = 0;
    const char *name = "";
};

ListBound boundOf(std::size_t at, std::size_t gameSize)
{
    ListBound bound {map::AiBankStart + map::AiBankSize, "bank $C6"};
    if (at >= map::AiBlockStart && at < map::AiBlockEnd)
        bound = {map::AiBlockEnd, "the AI block"};
    bound.end = std::min(bound.end, gameSize);
    return bound;
}

std::string pointerText(std::uint16_t pointer)
{
    return addressText({map::AiBankByte, pointer});
}

std::string recordPlace(const char *what, std::size_t index, std::size_t fileOffset)
{
    return std::string(what) + " " + std::to_string(index) + " at " + hexText(fileOffset);
}

std::string zoneFault(std::size_t index, std::size_t fileOffset, const FieldProblem &problem)
{
    return recordPlace("zone", index, fileOffset) + ": " + problem.field + " " + problem.reason;
}

struct ZoneListRead
{
    std::vector<Zone> zones;
    std::string reason; // when the list cannot be used
};

ZoneListRead readZoneList(const RomImage &rom, std::size_t start)
{
    const codec::ByteView game = rom.game();
    const ListBound bound = boundOf(start, game.size());
    ZoneListRead read;
    std::size_t at = start;
    while (true) {
        if (at >= bound.end) {
            read.reason = std::string("no end mark within ") + bound.name;
            return read;
        }
        const std::uint8_t code = game[at];
        if (code == map::ZoneListEnd)
            return read;
        const std::size_t index = read.zones.size();
        if (!isZoneShape(code)) {
            read.reason = recordPlace("zone", index, rom.fileOffset(at)) + ": shape "
                + hexText(code) + " is none of the game's (0x0 to 0xc, even)";
            return read;
        }
        if (index == std::size_t(map::MaxZones)) {
            read.reason = "more than " + std::to_string(map::MaxZones) + " zones before the end mark";
            return read;
        }
        Zone zone;
        zone.shape = ZoneShape(code);
        const std::size_t size = zoneRecordSize(zone.shape);
        if (!fits(bound.end, at, size)) {
            read.reason = std::string("no end mark within ") + bound.name;
            return read;
        }
        zone.x = game[at + 1];
        zone.y = game[at + 2];
        if (zone.shape == ZoneShape::Rectangle) {
            zone.w = game[at + 3];
            zone.h = game[at + 4];
        } else if (isDiagonal(zone.shape)) {
            zone.a = game[at + 3];
            zone.n = game[at + 4];
        } else {
            zone.n = game[at + 3];
        }
        if (const FieldProblem problem = zoneProblem(zone); problem.found()) {
            read.reason = zoneFault(index, rom.fileOffset(at), problem);
            return read;
        }
        read.zones.push_back(zone);
        at += size;
    }
}

Target targetAt(codec::ByteView game, std::size_t at)
{
    const std::uint8_t speed = game[at + 2];
    return {game[at], game[at + 1], speed & map::TargetSpeedMask,
            (speed & map::TargetUnknownBit) != 0};
}

// Where the next list of any course begins after `at`, if before `end`.
std::size_t nextListStart(const AiPointers &pointers, std::size_t at, std::size_t end)
{
    for (int id = 0; id < CourseCount; ++id) {
        for (const std::size_t start : {pointers.zonesAt(id), pointers.targetsAt(id)}) {
            if (start > at)
                end = std::min(end, start);
        }
    }
    return end;
}

} // namespace

std::size_t AiPointers::zonesAt(int id) const
{
    return map::AiBankStart + zones[std::size_t(id)];
}

std::size_t AiPointers::targetsAt(int id) const
{
    return map::AiBankStart + targets[std::size_t(id)];
}

std::vector<int> AiPointers::sharers(int id) const
{
    std::vector<int> others;
    if (id < 0 || id >= CourseCount)
        return others;
    for (int other = 0; other < CourseCount; ++other) {
        if (other != id && zones[std::size_t(other)] == zones[std::size_t(id)]
            && targets[std::size_t(other)] == targets[std::size_t(id)])
            others.push_back(other);
    }
    return others;
}

int AiPointers::setOwner(int id) const
{
    const std::vector<int> others = sharers(id);
    return others.empty() ? id : std::min(id, others.front());
}

LayerRead<AiPointers> readAiPointers(const RomImage &rom)
{
    const codec::ByteView game = rom.game();
    for (const std::size_t table : {map::AiZonePointers, map::AiTargetPointers}) {
        if (!fits(game.size(), table, TablesSize))
            return refused<AiPointers>("the AI pointer table at " + hexText(rom.fileOffset(table))
                + " lies outside this ROM");
    }
    AiPointers pointers;
    for (std::size_t id = 0; id < std::size_t(CourseCount); ++id) {
        pointers.zones[id] = wordAt(game, map::AiZonePointers + map::AiPointerSize * id);
        pointers.targets[id] = wordAt(game, map::AiTargetPointers + map::AiPointerSize * id);
    }
    return {pointers, {}};
}

LayerRead<CourseAi> readCourseAi(const RomImage &rom, int id)
{
    const LayerRead<AiPointers> pointers = readAiPointers(rom);
    if (!pointers.ok())
        return refused<CourseAi>(courseLabel(id) + ": " + pointers.error);
    return readCourseAi(rom, *pointers.value, id);
}

LayerRead<CourseAi> readCourseAi(const RomImage &rom, const AiPointers &pointers, int id)
{
    if (id < 0 || id >= CourseCount)
        return refused<CourseAi>(courseLabel(id) + ": no course of the game has this ID");
    const codec::ByteView game = rom.game();
    const std::size_t entry = map::AiPointerSize * std::size_t(id);
    const std::size_t zonesAt = pointers.zonesAt(id);
    const std::size_t targetsAt = pointers.targetsAt(id);
    if (zonesAt >= game.size())
        return refused<CourseAi>(layerMessage(id, "AI zone pointers",
            rom.fileOffset(map::AiZonePointers + entry),
            pointerText(pointers.zones[std::size_t(id)]) + " points past the end of this ROM"));
    if (targetsAt >= game.size())
        return refused<CourseAi>(layerMessage(id, "AI target pointers",
            rom.fileOffset(map::AiTargetPointers + entry),
            pointerText(pointers.targets[std::size_t(id)]) + " points past the end of this ROM"));

    ZoneListRead zones = readZoneList(rom, zonesAt);
    if (!zones.reason.empty())
        return refused<CourseAi>(
            layerMessage(id, "AI zones", rom.fileOffset(zonesAt), zones.reason));

    CourseAi ai;
    ai.zones = std::move(zones.zones);
    const ListBound bound = boundOf(targetsAt, game.size());
    const std::size_t count = ai.zones.size();
    if (!fits(bound.end, targetsAt, count * map::TargetRecordSize))
        return refused<CourseAi>(layerMessage(id, "AI targets", rom.fileOffset(targetsAt),
            "the " + std::to_string(count) + " targets of its zones run past the end of "
                + bound.name));
    std::size_t at = targetsAt;
    for (std::size_t i = 0; i < count; ++i, at += map::TargetRecordSize) {
        const Target target = targetAt(game, at);
        if (const FieldProblem problem = targetProblem(target); problem.found())
            return refused<CourseAi>(layerMessage(id, "AI targets", rom.fileOffset(targetsAt),
                recordPlace("target", i, rom.fileOffset(at)) + ": " + problem.field + " "
                    + problem.reason));
        ai.targets.push_back(target);
    }
    // Records stored past the last one read, up to the next list, that are targets in form. An
    // empty list has none: another list may begin at its very place.
    const std::size_t next = count == 0 ? at : nextListStart(pointers, targetsAt, bound.end);
    while (fits(next, at, map::TargetRecordSize) && !targetProblem(targetAt(game, at)).found()) {
        ai.spare.insert(ai.spare.end(), game.begin() + std::ptrdiff_t(at),
                        game.begin() + std::ptrdiff_t(at + map::TargetRecordSize));
        at += map::TargetRecordSize;
    }
    return {std::move(ai), {}};
}

std::string writeCourseAi(GameBytes game, int id, const CourseAi &ai, std::size_t zonesAt,
                          std::size_t targetsAt)
{
    const std::string who = courseLabel(id) + ": AI: ";
    if (id < 0 || id >= CourseCount)
        return who + "no course of the game has this ID";
    if (const std::string problem = aiProblem(ai); !problem.empty())
        return who + problem;
    const codec::Bytes zones = encodeZones(ai.zones);
    const codec::Bytes targets = encodeTargets(ai);
    const std::size_t bankEnd = std::min(map::AiBankStart + map::AiBankSize, game.size());
    for (const auto &[at, size] : {std::pair {zonesAt, zones.size()}, {targetsAt, targets.size()}}) {
        if (at < map::AiBankStart || !fits(bankEnd, at, size))
            return who + "a list of " + std::to_string(size) + " bytes at " + hexText(at)
                + " would not lie inside bank $C6 of this ROM";
    }
    if (targets.size() > 0 && zonesAt < targetsAt + targets.size() && targetsAt < zonesAt + zones.size())
        return who + "its zones at " + hexText(zonesAt) + " and its targets at " + hexText(targetsAt)
            + " would overlap";
    if (!fits(game.size(), map::AiTargetPointers, TablesSize))
        return who + "the AI pointer tables lie outside this ROM";
    std::copy(zones.begin(), zones.end(), game.begin() + std::ptrdiff_t(zonesAt));
    std::copy(targets.begin(), targets.end(), game.begin() + std::ptrdiff_t(targetsAt));
    setAiPointers(game, id, zonesAt, targetsAt);
    return {};
}

void setAiPointers(GameBytes game, int id, std::size_t zonesAt, std::size_t targetsAt)
{
    const std::size_t entry = map::AiPointerSize * std::size_t(id);
    putWord(game, map::AiZonePointers + entry, std::uint16_t(zonesAt - map::AiBankStart));
    putWord(game, map::AiTargetPointers + entry, std::uint16_t(targetsAt - map::AiBankStart));
}

} // namespace velmor::rom
