#include "tests/support/synthetic_graphics.h"

#include "rom/rom_map.h"

#include <QtGlobal>

#include <algorithm>

namespace velmor::test {

namespace {

using rom::Theme;

constexpr std::size_t RowBytes = 0x100;
constexpr std::size_t TileBytes = 32;
constexpr int ThemeTiles = 0xC0;
constexpr int CommonTiles = 0x40;
// The common stream's data is made like a theme's, as a ninth one.
constexpr int CommonKey = 8;
// Bowser Castle's stream goes on with this many more bytes of tiles before the next item.
constexpr std::size_t RunOnExtra = 0x200;

// The places of rom-graphics §3, by theme index.
constexpr StreamPlace TilePlaces[rom::ThemeCount] = {
    {0x60189, 0x399}, // Ghost Valley
    {0x481C9, 0xDA1}, // Mario Circuit
    {0x50000, 0xC45}, // Donut Plains
    {0x78000, 0xA6B}, // Choco Island
    {0x014EE, 0xA5E}, // Vanilla Lake
    {0x51636, 0x98D}, // Koopa Beach
    {0x48F6A, 0x897}, // Bowser Castle
    {0x41EBB, 0x114}, // Rainbow Road
};
constexpr StreamPlace PalettePlaces[rom::ThemeCount] = {
    {0x41313, 0x1B1},
    {0x4117F, 0x194},
    {0x414C4, 0x1B1},
    {0x419C0, 0x19B},
    {0x4182F, 0x191},
    {0x41B5B, 0x1B0},
    {0x41675, 0x1BA},
    {0x41D0B, 0x1A6},
};
constexpr StreamPlace CommonPlace {0x40000, 0x594};

int key(Theme theme)
{
    return int(theme) / 2;
}

codec::Bytes tileData(int k, int tiles)
{
    codec::Bytes data(RowBytes + TileBytes * std::size_t(tiles));
    for (int t = 0; t < int(RowBytes); ++t)
        data[std::size_t(t)] = std::uint8_t((((t * 7 + 3 * k) % 16) << 4) | ((t / 16 + k) % 3));
    std::uint8_t base[TileBytes];
    for (int j = 0; j < int(TileBytes); ++j)
        base[j] = std::uint8_t(((3 * j + k) % 16) | (((5 * j + 2 * k + 1) % 16) << 4));
    for (int t = 0; t < tiles; ++t) {
        const std::uint8_t invert = (t / 32) % 2 == 1 ? 0xFF : 0x00;
        for (int j = 0; j < int(TileBytes); ++j)
            data[RowBytes + TileBytes * std::size_t(t) + std::size_t(j)] =
                std::uint8_t(base[(j + 5 * t) % 32] ^ invert);
    }
    return data;
}

void place(GameRom &rom, const StreamPlace &where, const codec::Bytes &stream, const char *what)
{
    if (stream.size() > where.room)
        qFatal("synthetic ROM: the %s stream takes %zu bytes, more than the %zu at 0x%zx", what,
            stream.size(), where.room, where.offset);
    std::copy(stream.begin(), stream.end(),
        rom.bytes.begin() + std::ptrdiff_t(rom.fileOffset(where.offset)));
}

std::uint32_t expand(unsigned five)
{
    return (five << 3) | (five >> 2);
}

} // namespace

StreamPlace themeTilePlace(Theme theme)
{
    return TilePlaces[key(theme)];
}

StreamPlace palettePlace(Theme theme)
{
    return PalettePlaces[key(theme)];
}

StreamPlace commonTilePlace()
{
    return CommonPlace;
}

codec::Bytes themeTileData(Theme theme)
{
    if (theme == ShortTheme)
        return tileData(key(theme), ShortThemeTiles);
    const std::size_t extra = theme == RunOnTheme ? RunOnExtra / TileBytes : 0;
    return tileData(key(theme), ThemeTiles + int(extra));
}

codec::Bytes commonTileData()
{
    return tileData(CommonKey, CommonTiles);
}

codec::Bytes paletteData(Theme theme)
{
    // Two increasing runs, the second one step further on: every colour's low byte differs.
    const int start = 17 * key(theme) + 5;
    codec::Bytes data(512);
    for (int j = 0; j < 256; ++j) {
        data[std::size_t(j)] = std::uint8_t(start + j);
        data[std::size_t(256 + j)] = std::uint8_t(start + 1 + j);
    }
    return data;
}

void writeThemeGraphics(GameRom &rom, BankForm banks)
{
    for (int k = 0; k < rom::ThemeCount; ++k) {
        const auto theme = Theme(2 * k);
        rom.themeTileData[std::size_t(k)] = themeTileData(theme);
        codec::Bytes tiles = codec::compress(rom.themeTileData[std::size_t(k)]);
        // No end mark: the stream runs on into whatever follows.
        if (theme == RunOnTheme)
            tiles.pop_back();
        place(rom, themeTilePlace(theme), tiles, "tile");
        rom.themeTileStreamLength[std::size_t(k)] = tiles.size();
        rom.writePointer(
            rom::map::ThemeTilePointers + 3 * std::size_t(k), themeTilePlace(theme).offset, banks);

        rom.paletteData[std::size_t(k)] = paletteData(theme);
        place(
            rom, palettePlace(theme), codec::compress(rom.paletteData[std::size_t(k)]), "palette");
        rom.writePointer(
            rom::map::ThemePalettePointers + 3 * std::size_t(k), palettePlace(theme).offset, banks);
    }
    rom.commonTileData = commonTileData();
    place(rom, CommonPlace, codec::compress(rom.commonTileData), "common tile");
}

std::optional<int> expectedIndex(const GameRom &rom, Theme theme, int tile, int x, int y)
{
    const bool common = tile >= ThemeTiles;
    const codec::Bytes &data =
        common ? rom.commonTileData : rom.themeTileData[std::size_t(key(theme))];
    const std::size_t t = std::size_t(common ? tile - ThemeTiles : tile);
    if (RowBytes + TileBytes * (t + 1) > data.size())
        return std::nullopt;
    const std::uint8_t pair = data[RowBytes + TileBytes * t + std::size_t(4 * y + x / 2)];
    const int nibble = x % 2 == 0 ? pair & 0x0F : pair >> 4;
    return nibble == 0 ? 0 : nibble | data[t];
}

std::uint32_t expectedColour(const GameRom &rom, Theme theme, int index)
{
    const codec::Bytes &data = rom.paletteData[std::size_t(key(theme))];
    const unsigned value =
        data[std::size_t(2 * index)] | (unsigned(data[std::size_t(2 * index + 1)]) << 8);
    const std::uint32_t red = expand(value & 31);
    const std::uint32_t green = expand((value >> 5) & 31);
    const std::uint32_t blue = expand((value >> 10) & 31);
    return 0xFF000000u | (red << 16) | (green << 8) | blue;
}

std::optional<std::uint32_t> expectedPixel(const GameRom &rom, Theme theme, int tile, int x, int y)
{
    const std::optional<int> index = expectedIndex(rom, theme, tile, x, y);
    if (!index)
        return std::nullopt;
    return expectedColour(rom, theme, *index);
}

} // namespace velmor::test
