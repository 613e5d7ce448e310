#include "tests/support/synthetic_check.h"

#include "tests/support/synthetic_race.h"

#include "rom/race_map.h"
#include "rom/rom_map.h"

#include <algorithm>

namespace velmor::test {

namespace {

namespace map = rom::map;

// The ring in zone cells: outer box [8, 56), hole [16, 48).
constexpr int Outer = 8;
constexpr int Inner = 16;
constexpr int Far = 48;
constexpr int End = 56;
// Theme starts in the synthetic behaviour table: the common tiles' 64 values, then 192 a theme.
constexpr std::size_t CommonValues = 0x40;
constexpr std::size_t ThemeValues = 0xC0;
// Group g of the objects is live in zones 4g to 4g + 3.
constexpr int ZonesPerGroup = 4;

std::uint8_t behaviourOf(int tile)
{
    if (tile == OutTile)
        return 0x26;
    if (tile < 0x10)
        return 0x40;
    if (tile >= WallTile && tile < 0x30)
        return 0x80;
    if (tile == LavaTile)
        return 0x24;
    if (tile == FallTile)
        return 0x20;
    if (tile == DeepWaterTile)
        return 0x22;
    return 0x54; // off-road
}

void put(codec::Bytes &bytes, std::size_t at, int word)
{
    bytes[at] = std::uint8_t(word);
    bytes[at + 1] = std::uint8_t(word >> 8);
}

void writeBehaviour(GameRom &rom)
{
    // The common tiles as the game has them: C0-CF item boxes, D0-DF road, E0-EF dash plates,
    // F0-F3 blocks, F4-F9 jump bars, FA-FD oil, FE a coin, FF road.
    struct Run
    {
        std::size_t tiles;
        std::uint8_t value;
    };
    codec::Bytes table;
    for (const Run run : {Run {16, 0x14}, Run {16, 0x40}, Run {16, 0x16}, Run {4, 0x80},
                          Run {6, 0x10}, Run {4, 0x18}, Run {1, 0x1A}, Run {1, 0x40}})
        table.insert(table.end(), run.tiles, run.value);
    for (int theme = 0; theme < rom::ThemeCount; ++theme) {
        put(rom.bytes, rom.fileOffset(map::TileBehaviourStarts + std::size_t(2 * theme)),
            int(CommonValues + ThemeValues * std::size_t(theme)));
        for (int tile = 0; tile < int(ThemeValues); ++tile)
            table.push_back(behaviourOf(tile));
    }
    const codec::Bytes stream = codec::compress(table);
    std::copy(stream.begin(), stream.end(),
              rom.bytes.begin() + std::ptrdiff_t(rom.fileOffset(map::TileBehaviourTable)));
}

// Every kind's pointer reaches the first record, every race course's index 0: one record of
// zone bounds for all.
void writeObjectZones(GameRom &rom)
{
    for (int kind = 0; kind <= int(rom::LastThemeCode); kind += 2)
        put(rom.bytes, rom.fileOffset(map::ObjectAreaPointers + std::size_t(kind)),
            int(map::ObjectAreaStart - map::ObjectAreaBank));
    for (int g = 0; g <= map::ObjectGroups; ++g)
        put(rom.bytes, rom.fileOffset(map::ObjectAreaStart + std::size_t(2 * g)),
            g * ZonesPerGroup);
    for (int id = 0; id < map::FirstBattleCourse; ++id)
        rom.bytes[rom.fileOffset(map::ObjectKindIndexes + std::size_t(id))] = 0;
}

std::vector<rom::Zone> ringZones()
{
    std::vector<rom::Zone> zones;
    const auto rect = [&zones](int x, int y, int w, int h) {
        zones.push_back({rom::ZoneShape::Rectangle, x, y, w, h});
    };
    for (int x = Outer; x < End; x += 12)
        rect(x, Outer, 12, Inner - Outer); // along the top, going right
    for (int y = Inner; y < Far; y += 8)
        rect(Far, y, End - Far, 8); // down the right
    for (int x = End - 12; x >= Outer; x -= 12)
        rect(x, Far, 12, End - Far); // along the bottom, going left
    for (int y = Far - 8; y >= Inner; y -= 8)
        rect(Outer, y, Inner - Outer, 8); // up the left
    return zones;
}

// The zone's middle, in tiles.
rom::ObjectPlace middleOf(const rom::Zone &zone)
{
    return {zone.x * 2 + zone.w, zone.y * 2 + zone.h};
}

codec::Bytes aiBytes(const rom::CourseAi &ai)
{
    codec::Bytes bytes;
    for (const rom::Zone &z : ai.zones)
        bytes.insert(bytes.end(), {std::uint8_t(z.shape), std::uint8_t(z.x), std::uint8_t(z.y),
                                   std::uint8_t(z.w), std::uint8_t(z.h)});
    bytes.push_back(map::ZoneListEnd);
    return bytes;
}

void writeCourse(GameRom &rom, const rom::CourseData &course)
{
    const auto id = std::size_t(course.id);
    const rom::Course &known = *rom::courseById(course.id);
    const auto at = [&rom](std::size_t gameOffset) { return rom.fileOffset(gameOffset); };
    codec::Bytes &bytes = rom.bytes;

    const codec::Bytes stream = codec::compress(trackStream(course.layout));
    std::copy(stream.begin(), stream.end(), bytes.begin() + std::ptrdiff_t(at(known.layoutOffset)));
    rom.streamLength[id] = stream.size();

    // The AI goes into the room after the builder's own lists.
    const std::size_t zonesAt = syntheticAiPlaces().end;
    const codec::Bytes zones = aiBytes(course.ai);
    std::copy(zones.begin(), zones.end(), bytes.begin() + std::ptrdiff_t(at(zonesAt)));
    std::size_t target = zonesAt + zones.size();
    put(bytes, at(map::AiZonePointers + 2 * id), int(zonesAt - map::AiBankStart));
    put(bytes, at(map::AiTargetPointers + 2 * id), int(target - map::AiBankStart));
    for (const rom::Target &t : course.ai.targets) {
        bytes[at(target)] = std::uint8_t(t.x);
        bytes[at(target) + 1] = std::uint8_t(t.y);
        bytes[at(target) + 2] = std::uint8_t(t.speed);
        target += map::TargetRecordSize;
    }

    std::size_t item = at(map::ItemSlots + map::ItemSlotSize * id);
    for (const rom::OverlayItem &i : course.items) {
        bytes[item] = std::uint8_t(i.size << map::ItemSizeShift | i.pattern);
        put(bytes, item + 1, i.row * map::MapSide + i.col);
        item += map::ItemRecordSize;
    }
    put(bytes, item + 1, map::ItemListEnd);

    const auto &start = std::get<rom::RaceStart>(course.start);
    const std::size_t record = at(startRecordOf(course.id) + map::StartRoutineSize);
    put(bytes, record, start.x);
    put(bytes, record + 2, start.y);
    put(bytes, record + 4, start.w);

    const std::size_t lap = at(map::LapLines + map::LapRecordSize * id);
    put(bytes, lap, course.lap->y);
    put(bytes, lap + 2, course.lap->row * map::ZoneGridSide + course.lap->col);
    bytes[lap + 4] = std::uint8_t(course.lap->w);
    bytes[lap + 5] = std::uint8_t(course.lap->h);

    std::size_t object = at(map::ObjectSlots + map::ObjectRecordSize * id);
    for (const auto &group : course.objects->groups) {
        for (const rom::ObjectPlace &place : group) {
            put(bytes, object, place.row * map::MapSide + place.col);
            object += 2;
        }
    }
    put(bytes, at(map::ObjectSlots + map::ObjectRecordSize * id + map::ObjectMatchList), 0);
}

} // namespace

void setTile(rom::CourseData &course, int col, int row, std::uint8_t tile)
{
    course.layout[std::size_t(row * map::MapSide + col)] = tile;
}

rom::CourseData cleanCheckCourse()
{
    rom::CourseData course;
    const rom::Course &known = *rom::courseById(CheckCourseId);
    course.id = known.id;
    course.name = known.name;
    course.theme = known.theme;
    course.layout.assign(std::size_t(map::MapSide * map::MapSide), OutTile);
    for (int row = 2 * Outer; row < 2 * End; ++row) {
        for (int col = 2 * Outer; col < 2 * End; ++col) {
            const bool hole = row >= 2 * Inner && row < 2 * Far && col >= 2 * Inner && col < 2 * Far;
            if (!hole)
                setTile(course, col, row, RoadTile);
        }
    }
    course.ai.zones = ringZones();
    for (const rom::Zone &zone : course.ai.zones) {
        const rom::ObjectPlace middle = middleOf(zone);
        course.ai.targets.push_back({middle.col, middle.row, 2, false});
    }
    // Item boxes along the top, on the road.
    for (int k = 0; k < 10; ++k)
        course.items.push_back({0, k % 4, 2 * Outer + 4 + 6 * k, 2 * Outer + 6});
    rom::ObjectPositions objects;
    for (int g = 0; g < map::ObjectGroups; ++g) {
        for (int k = 0; k < map::ObjectsPerGroup; ++k)
            objects.groups[std::size_t(g)][std::size_t(k)] =
                middleOf(course.ai.zones[std::size_t(g * ZonesPerGroup + k)]);
    }
    course.objects = objects;
    // Up the left side: two columns of karts from first place down, the lap line just above.
    course.start = rom::RaceStart {160, 400, 48};
    course.lap = rom::LapLine {384, Outer, 24, Inner - Outer, 1};
    return course;
}

GameRom checkRom(const rom::CourseData &course)
{
    // Building the graphics takes long: once for every test of a program.
    static const GameRom base = [] {
        GameRomOptions options;
        options.themeGraphics = true;
        options.raceData = true;
        GameRom rom = gameRom(options);
        writeBehaviour(rom);
        writeObjectZones(rom);
        return rom;
    }();
    GameRom rom = base;
    writeCourse(rom, course);
    return rom;
}

} // namespace velmor::test
