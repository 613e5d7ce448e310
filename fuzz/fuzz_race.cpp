// Arbitrary bytes as the tables of the race (AI, items, objects, start grid, lap line, themes):
// reading every course's layers must never crash or read outside the ROM, a refusal is one line,
// and whatever reads must write back and read again as the same value.
//
// The input is laid into a ROM of the game's size: its first byte chooses the copier header and
// the course whose layers are written back (copying the ROM for every course would slow the
// search tenfold), the next ones fill the race's tables one after another, and the rest is written wherever a start
// pointer of those tables leads, so that the start lists are reached too.
#include "rom/course_catalogue.h"
#include "rom/course_data.h"
#include "rom/course_layers.h"
#include "rom/race_map.h"
#include "rom/rom_map.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <span>
#include <vector>

namespace {

using namespace velmor;

void check(bool condition)
{
    if (!condition)
        std::abort();
}

struct Table
{
    std::size_t at;
    std::size_t size;
};

// In the order the input fills them.
constexpr Table Tables[] = {
    {rom::map::CourseThemes, rom::CourseCount},
    {rom::map::AiZonePointers, 2 * rom::map::AiPointerSize * rom::CourseCount},
    {rom::map::LapLines, rom::map::LapRecordSize * rom::map::FirstBattleCourse},
    {rom::map::StartPointers, 2 * rom::map::StartPointerCount},
    {rom::map::ObjectKinds, rom::map::StartPointerCount},
    {rom::map::ItemSlots, rom::map::ItemSlotSize * rom::CourseCount},
    {rom::map::ObjectSlots, rom::map::ObjectRecordSize * rom::map::FirstBattleCourse},
    {rom::map::AiBlockStart, rom::map::AiBlockSize},
};

constexpr std::size_t GameSize = 0x80000;

bool oneLine(const std::string &text)
{
    return !text.empty() && text.find('\n') == std::string::npos;
}

template <typename T>
void checkRead(const rom::LayerRead<T> &layer)
{
    check(layer.ok() ? layer.error.empty() : oneLine(layer.error));
}

// A value that was read is written into a copy and read back: the same value, or the writer's
// own one-line refusal.
template <typename Value, typename Write, typename Read>
void checkRoundTrip(const codec::Bytes &file, std::size_t header, int id, const Value &value,
                    Write write, Read read)
{
    codec::Bytes copy = file;
    const std::string refused = write(std::span(copy).subspan(header), id, value);
    if (!refused.empty()) {
        check(oneLine(refused));
        return;
    }
    const std::optional<rom::RomImage> image = rom::RomImage::open(copy);
    check(image.has_value());
    const auto again = read(*image, id);
    check(again.ok() && *again.value == value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::size_t header = (data[0] & 1) ? 512 : 0;
    codec::Bytes file(header + GameSize, 0xFF);
    const std::span<std::uint8_t> game = std::span(file).subspan(header);
    std::size_t used = 1;
    for (const Table &table : Tables) {
        const std::size_t count = std::min(table.size, size - used);
        std::memcpy(game.data() + table.at, data + used, count);
        used += count;
    }
    if (used < size) {
        for (std::size_t i = 0; i < rom::map::StartPointerCount; ++i) {
            const std::size_t pointer = rom::wordAt(game, rom::map::StartPointers + 2 * i);
            const std::size_t at = rom::map::StartBankStart + pointer;
            if (at < game.size())
                std::memcpy(game.data() + at, data + used, std::min(size - used, game.size() - at));
        }
    }

    const std::optional<rom::RomImage> rom = rom::RomImage::open(file);
    check(rom.has_value());
    for (int id = 0; id < int(rom::CourseCount); ++id) {
        const rom::CourseLayers layers = rom::readCourseLayers(*rom, id);
        checkRead(layers.theme);
        checkRead(layers.items);
        checkRead(layers.objects);
        checkRead(layers.start);
        checkRead(layers.lap);
        checkRead(layers.ai);
        for (const std::string &error : layers.errors())
            check(oneLine(error));
        if (id != (data[0] >> 1) % rom::CourseCount)
            continue;
        if (layers.items.ok())
            checkRoundTrip(file, header, id, *layers.items.value, rom::writeOverlayItems,
                           rom::readOverlayItems);
        if (layers.start.ok())
            checkRoundTrip(file, header, id, *layers.start.value, rom::writeStartGrid,
                           rom::readStartGrid);
        if (layers.lap.ok() && layers.lap.value->has_value())
            checkRoundTrip(file, header, id, **layers.lap.value, rom::writeLapLine,
                           rom::readLapLine);
        if (layers.objects.ok() && layers.objects.value->has_value())
            checkRoundTrip(file, header, id, **layers.objects.value, rom::writeObjectPositions,
                           rom::readObjectPositions);
        if (layers.theme.ok())
            checkRoundTrip(file, header, id, *layers.theme.value, rom::writeTheme, rom::readTheme);
    }
    return 0;
}
