#include "tests/support/synthetic_race.h"

#include "rom/race_map.h"
#include "rom/rom_map.h"

#include <algorithm>

namespace velmor::test {

namespace {

using rom::ZoneShape;
namespace map = rom::map;

// The original game's start records, by course ID (battle courses 4, 1 and 2 share one).
constexpr std::array<std::size_t, rom::CourseCount> StartRecords {
    0x18C7F, 0x18C5F, 0x18C47, 0x18C4F, 0x18C87, 0x18CA7, 0x18C8F, 0x18C2F,
    0x18C97, 0x18C77, 0x18C3F, 0x18C6F, 0x18C67, 0x18C37, 0x18C9F, 0x18C57,
    0x18C1F, 0x18C27, 0x18C17, 0x18C0F, 0x18C05, 0x18BFB, 0x18BFB, 0x18BFB,
};
constexpr int SharedBattleAi = 0x14; // battle courses 3, 4 and 2
constexpr int OwnBattleAi = 0x16; // battle course 1
constexpr int DiagonalCourse = 0x09;

rom::CourseAi aiOf(int id)
{
    const bool diagonals = id == DiagonalCourse || id == OwnBattleAi;
    const std::vector<int> shapes = diagonals ? std::vector {0, 2, 4, 6, 8, 10, 12}
                                              : std::vector {0, 2, 4, 6, 8};
    rom::CourseAi ai;
    const int count = 6 + (id * 5) % 15;
    for (int k = 0; k < count; ++k) {
        rom::Zone zone {ZoneShape(shapes[std::size_t(k + id) % shapes.size()]),
                        8 + (k * 7 + id) % 40, 8 + (k * 5 + 2 * id) % 40};
        if (zone.shape == ZoneShape::Rectangle) {
            zone.w = 2 + (k + id) % 6;
            zone.h = 2 + k % 5;
        } else {
            zone.n = 2 + (k * 3 + id) % 6;
            if (rom::isDiagonal(zone.shape))
                zone.a = (id * 11 + k) % 256;
        }
        ai.zones.push_back(zone);
        ai.targets.push_back({(k * 9 + id * 3) % 128, (k * 11 + id * 5) % 128, (k + id) % 4,
                              id == UnknownBitCourse && k == 1});
    }
    if (id == SpareTargetsCourse)
        ai.spare = {0x0A, 0x14, 0x01, 0x0B, 0x15, 0x02};
    return ai;
}

rom::OverlayItems itemsOf(int id)
{
    const int count = id == FullItemsCourse ? map::MaxItems
        : id == NoItemsCourse               ? 0
                                            : 1 + (id * 7) % 30;
    rom::OverlayItems items;
    for (int k = 0; k < count; ++k)
        items.push_back({(k + id) % 4, (k * 5 + id) % 56, (k * 13 + id * 3) % 120,
                         (k * 7 + id * 5) % 120});
    return items;
}

rom::ObjectPositions objectsOf(const rom::Course &course)
{
    rom::ObjectPositions objects;
    if (course.theme == rom::Theme::GhostValley)
        return objects;
    const int id = course.id;
    for (int g = 0; g < map::ObjectGroups; ++g) {
        for (int k = 0; k < map::ObjectsPerGroup; ++k)
            objects.groups[std::size_t(g)][std::size_t(k)] = {(id * 3 + g * 17 + k * 5) % 128,
                                                              (id + g * 11 + k * 29) % 128};
    }
    for (int k = 0; k < id % 9; ++k)
        objects.match.push_back({1 + (k * 15 + id) % 126, (k * 9 + id * 2) % 128, (k + id) % 4});
    return objects;
}

rom::StartGrid startOf(int id)
{
    if (id == SharedBattleAi)
        return rom::BattleStart {{200, 300}, {700, 310}};
    if (rom::isBattleCourse(id))
        return rom::BattleStart {{150, 500}, {850, 520}};
    const int w = 24 + id;
    return rom::RaceStart {300 + id * 16, 400 + id * 8, id % 2 ? -w : w};
}

rom::CourseData courseOf(const rom::Course &course)
{
    const int id = course.id;
    rom::CourseData data;
    data.id = id;
    data.name = course.name;
    data.theme = course.theme;
    data.layout = courseCells(id);
    data.items = itemsOf(id);
    data.start = startOf(id);
    if (rom::isRaceCourse(id)) {
        // The Ghost Valley kind shows no objects: its zero records are read as none.
        if (course.theme != rom::Theme::GhostValley)
            data.objects = objectsOf(course);
        data.lap = rom::LapLine {480 + id * 4, (id * 3) % 50, 20 + id, 4 + id % 6, 1 + id % 3};
    }
    const bool sharesBattleSet = rom::isBattleCourse(id) && id != OwnBattleAi;
    data.ai = aiOf(sharesBattleSet ? SharedBattleAi : id);
    return data;
}

// The builder's own encoding of the records, apart from the code under test.
void put(codec::Bytes &bytes, std::size_t at, std::uint16_t word)
{
    bytes[at] = std::uint8_t(word);
    bytes[at + 1] = std::uint8_t(word >> 8);
}

codec::Bytes aiBytes(const rom::CourseAi &ai, bool zones)
{
    codec::Bytes bytes;
    if (zones) {
        for (const rom::Zone &z : ai.zones) {
            bytes.insert(bytes.end(), {std::uint8_t(z.shape), std::uint8_t(z.x), std::uint8_t(z.y)});
            if (z.shape == ZoneShape::Rectangle)
                bytes.insert(bytes.end(), {std::uint8_t(z.w), std::uint8_t(z.h)});
            else if (rom::isDiagonal(z.shape))
                bytes.insert(bytes.end(), {std::uint8_t(z.a), std::uint8_t(z.n)});
            else
                bytes.push_back(std::uint8_t(z.n));
        }
        bytes.push_back(0xFF);
        return bytes;
    }
    for (const rom::Target &t : ai.targets)
        bytes.insert(bytes.end(), {std::uint8_t(t.x), std::uint8_t(t.y),
                                   std::uint8_t(t.speed | (t.unknownBit ? 0x80 : 0))});
    bytes.insert(bytes.end(), ai.spare.begin(), ai.spare.end());
    return bytes;
}

SyntheticAiPlaces placeAi()
{
    SyntheticAiPlaces places;
    std::size_t at = map::AiBlockStart;
    for (const rom::CourseData &course : syntheticCourses()) {
        const auto id = std::size_t(course.id);
        const bool sharer = rom::isBattleCourse(course.id) && course.id != SharedBattleAi
            && course.id != OwnBattleAi;
        if (sharer) {
            places.zonesAt[id] = places.zonesAt[SharedBattleAi];
            places.targetsAt[id] = places.targetsAt[SharedBattleAi];
            continue;
        }
        places.zonesAt[id] = at;
        at += aiBytes(course.ai, true).size();
        places.targetsAt[id] = at;
        at += aiBytes(course.ai, false).size();
    }
    places.end = at;
    return places;
}

} // namespace

const std::array<rom::CourseData, rom::CourseCount> &syntheticCourses()
{
    static const std::array<rom::CourseData, rom::CourseCount> courses = [] {
        std::array<rom::CourseData, rom::CourseCount> all;
        for (const rom::Course &course : rom::courses())
            all[std::size_t(course.id)] = courseOf(course);
        return all;
    }();
    return courses;
}

const SyntheticAiPlaces &syntheticAiPlaces()
{
    static const SyntheticAiPlaces places = placeAi();
    return places;
}

std::size_t startRecordOf(int id)
{
    return StartRecords[std::size_t(id)];
}

void writeRaceData(GameRom &rom)
{
    codec::Bytes &bytes = rom.bytes;
    const auto at = [&rom](std::size_t gameOffset) { return rom.fileOffset(gameOffset); };
    const SyntheticAiPlaces &places = syntheticAiPlaces();
    bytes[at(map::AiBankOperand)] = map::AiBankByte;
    std::fill(bytes.begin() + std::ptrdiff_t(at(places.end)),
              bytes.begin() + std::ptrdiff_t(at(map::AiBlockEnd)), map::AiFreeByte);
    for (const rom::CourseData &course : syntheticCourses()) {
        const auto id = std::size_t(course.id);
        for (const bool zones : {true, false}) {
            const std::size_t place = zones ? places.zonesAt[id] : places.targetsAt[id];
            const codec::Bytes list = aiBytes(course.ai, zones);
            std::copy(list.begin(), list.end(), bytes.begin() + std::ptrdiff_t(at(place)));
            put(bytes, at((zones ? map::AiZonePointers : map::AiTargetPointers) + 2 * id),
                std::uint16_t(place - map::AiBankStart));
        }
        std::size_t item = at(map::ItemSlots + map::ItemSlotSize * id);
        for (const rom::OverlayItem &i : course.items) {
            bytes[item] = std::uint8_t(i.size << 6 | i.pattern);
            put(bytes, item + 1, std::uint16_t(i.row * 128 + i.col));
            item += 3;
        }
        put(bytes, item + 1, 0xFFFF);

        const std::size_t start = startRecordOf(course.id);
        put(bytes, at(map::StartPointers + 2 * id), std::uint16_t(start & 0xFFFF));
        std::vector<int> words;
        if (const auto *race = std::get_if<rom::RaceStart>(&course.start))
            words = {race->x, race->y, race->w};
        else if (const auto *battle = std::get_if<rom::BattleStart>(&course.start))
            words = {battle->p1[0], battle->p1[1], battle->p2[0], battle->p2[1]};
        for (std::size_t k = 0; k < words.size(); ++k)
            put(bytes, at(start + 2 + 2 * k), std::uint16_t(words[k]));

        bytes[at(map::ObjectKinds + id)] = std::uint8_t(course.theme);
        if (!course.lap)
            continue;
        const std::size_t lap = at(map::LapLines + 6 * id);
        put(bytes, lap, std::uint16_t(course.lap->y));
        put(bytes, lap + 2, std::uint16_t(course.lap->row * 64 + course.lap->col));
        bytes[lap + 4] = std::uint8_t(course.lap->w);
        bytes[lap + 5] = std::uint8_t(course.lap->h);

        // A course without objects keeps a record of zeros, as the Ghost Valley courses do.
        const rom::ObjectPositions objects = course.objects.value_or(rom::ObjectPositions {});
        std::size_t object = at(map::ObjectSlots + 64 * id);
        for (const auto &group : objects.groups) {
            for (const rom::ObjectPlace &place : group) {
                put(bytes, object, std::uint16_t(place.row * 128 + place.col));
                object += 2;
            }
        }
        object = at(map::ObjectSlots + 64 * id + 0x20);
        for (const rom::MatchObject &m : objects.match) {
            put(bytes, object, std::uint16_t((m.row * 128 + m.col) | (m.motion << 14)));
            object += 2;
        }
        if (objects.match.size() < 8)
            put(bytes, object, 0);
    }
}

} // namespace velmor::test
