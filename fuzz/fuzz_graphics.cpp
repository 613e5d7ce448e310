// Arbitrary bytes as a ROM's tables and graphics streams: loading every course's theme must never
// crash, hang or read outside the ROM, and what loads must be what a theme can hold.
//
// The input is laid into a ROM of the game's size so that the tables are reached: its first byte
// chooses the copier header, the next ones overwrite the tables from the course layout pointers to
// the end of the theme codes, and the rest is written as a stream at every place a theme pointer
// of those tables reaches and at the common tiles' address.
#include "graphics/theme_loader.h"
#include "rom/course_tables.h"
#include "rom/rom_map.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <span>
#include <vector>

namespace {

using namespace velmor;

constexpr std::size_t TablesStart = rom::map::CourseLayoutPointers;
constexpr std::size_t TablesEnd = rom::map::CourseThemes + rom::CourseCount;

void check(bool condition)
{
    if (!condition)
        std::abort();
}

void place(std::span<std::uint8_t> game, std::size_t at, const std::uint8_t *data, std::size_t size)
{
    if (at < game.size())
        std::memcpy(game.data() + at, data, std::min(size, game.size() - at));
}

void checkTheme(const graphics::ThemeLoad &load, rom::Theme theme)
{
    if (!load.ok()) {
        check(!load.error.empty() && load.error.find('\n') == std::string::npos);
        return;
    }
    const graphics::ThemeGraphics &graphics = *load.graphics;
    check(graphics.theme == theme);
    const std::vector<int> undefined = graphics.undefinedTiles();
    for (int tile = 0; tile < graphics::TileCount; ++tile) {
        const bool listed = std::binary_search(undefined.begin(), undefined.end(), tile);
        check(listed != graphics.isDefined(tile));
        // A pixel is the backdrop or has its own nibble in it, which is never 0.
        for (const std::uint8_t index : graphics.tiles[std::size_t(tile)].pixels)
            check(graphics.isDefined(tile) ? (index == 0 || (index & 0x0F) != 0) : index == 0);
    }
    // Each stream's defined tiles come first: a short stream leaves only its end undefined.
    for (int tile = 1; tile < graphics::TileCount; ++tile) {
        if (tile != graphics::ThemeTileCount && graphics.isDefined(tile))
            check(graphics.isDefined(tile - 1));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const bool headered = (data[0] & 1) != 0;
    ++data;
    --size;
    // One buffer for every run, outside the heap: a fresh half megabyte per run would cost more
    // in page faults than the loading it feeds.
    static std::uint8_t buffer[rom::CopierHeaderSize + rom::GameSize];
    // Bytes no input reaches end any stream at once (0xFF), so runs spend their time on the input.
    std::memset(buffer, codec::EndMarker, sizeof buffer);
    const std::span<std::uint8_t> file(headered ? buffer : buffer + rom::CopierHeaderSize,
        rom::GameSize + (headered ? rom::CopierHeaderSize : 0));
    const std::span<std::uint8_t> game = file.last(rom::GameSize);

    const std::size_t tableBytes = std::min(size, TablesEnd - TablesStart);
    place(game, TablesStart, data, tableBytes);
    const std::uint8_t *stream = data + tableBytes;
    const std::size_t streamSize = size - tableBytes;
    const codec::ByteView view(game.data(), game.size());
    for (const std::size_t table : {rom::map::ThemeTilePointers, rom::map::ThemePalettePointers}) {
        for (int k = 0; k < rom::ThemeCount; ++k) {
            const auto pointer = rom::readPointer(view, table + rom::PointerSize * std::size_t(k));
            const auto target = pointer ? rom::gameOffsetOf(*pointer) : std::nullopt;
            if (target)
                place(game, *target, stream, streamSize);
        }
    }
    place(game, rom::map::CommonTiles, stream, streamSize);

    const auto image = rom::RomImage::open(file);
    check(image.has_value());
    for (int k = 0; k < rom::ThemeCount; ++k) {
        const auto theme = rom::Theme(2 * k);
        checkTheme(graphics::loadTheme(*image, theme), theme);
    }
    const rom::CourseTables tables = rom::readCourseTables(*image);
    for (int id = 0; id < rom::CourseCount; ++id) {
        const auto chosen = rom::courseTheme(*image, id);
        check(chosen.has_value());
        const std::uint8_t code = game[rom::map::CourseThemes + std::size_t(id)];
        check(chosen->problem.empty() == rom::isThemeCode(code));
        if (chosen->problem.empty())
            check(std::uint8_t(chosen->theme) == code);
        const rom::CourseEntry &entry = tables[std::size_t(id)];
        if (entry.layoutOffset)
            check(rom::courseIdStartingAt(*image, *entry.layoutOffset).has_value());
    }
    return 0;
}
