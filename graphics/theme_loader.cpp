#include "graphics/theme_loader.h"

#include "graphics/palette.h"
#include "graphics/tile_stream.h"
#include "rom/course_tables.h"
#include "rom/hex_offset.h"
#include "rom/rom_map.h"
#include "rom/snes_address.h"

#include <span>

namespace velmor::graphics {

namespace {

// One decoded stream, or why there is none.
struct Stream
{
    codec::Bytes bytes;
    std::string error;
};

std::string themeText(rom::Theme theme)
{
    return std::string(rom::themeName(theme));
}

// Decodes at most `wanted` bytes of the stream at a game offset; `what` names the stream in the
// error ("the Mario Circuit tile stream at 0x481c9 (pointer $84:81C9 at 0x1eba6)").
Stream decodeAt(
    const rom::RomImage &rom, std::size_t gameOffset, std::size_t wanted, const std::string &what)
{
    Stream stream;
    const codec::ByteView game = rom.game();
    if (gameOffset >= game.size()) {
        stream.error = what + " lies past the end of this ROM";
        return stream;
    }
    codec::DecodeResult decoded = codec::decodePrefix(game.subspan(gameOffset), wanted);
    if (!decoded.ok) {
        stream.error = what + " does not decode: " + decoded.reason + " at "
            + rom::hexText(rom.fileOffset(gameOffset + decoded.errorOffset));
        return stream;
    }
    stream.bytes = std::move(decoded.output);
    return stream;
}

// Follows entry `index` of a theme pointer table and decodes what it points at.
Stream decodeThroughTable(const rom::RomImage &rom, std::size_t table, rom::Theme theme,
    const std::string &kind, std::size_t wanted)
{
    const std::size_t at = table + rom::PointerSize * std::size_t(rom::themeIndex(theme));
    const std::string name = "the " + themeText(theme) + " " + kind;
    const std::optional<rom::SnesAddress> pointer = rom::readPointer(rom.game(), at);
    if (!pointer)
        return {{},
            name + " pointer at " + rom::hexText(rom.fileOffset(at))
                + " lies outside "
                  "this ROM"};
    const std::string pointerText =
        "pointer " + rom::addressText(*pointer) + " at " + rom::hexText(rom.fileOffset(at));
    const std::optional<std::size_t> target = rom::gameOffsetOf(*pointer);
    if (!target)
        return {{}, name + " " + pointerText + " points at no ROM address"};
    if (*target >= rom.game().size())
        return {{},
            name + " " + pointerText + " points past the end of this ROM (to "
                + rom::hexText(rom.fileOffset(*target)) + ")"};
    return decodeAt(rom, *target, wanted,
        name + " stream at " + rom::hexText(rom.fileOffset(*target)) + " (" + pointerText + ")");
}

ThemeLoad failure(std::string error)
{
    ThemeLoad load;
    load.error = std::move(error);
    return load;
}

} // namespace

ThemeLoad loadTheme(const rom::RomImage &rom, rom::Theme theme)
{
    auto graphics = std::make_shared<ThemeGraphics>();
    graphics->theme = theme;
    const std::span<Tile> tiles(graphics->tiles);

    const Stream own = decodeThroughTable(
        rom, rom::map::ThemeTilePointers, theme, "tile", tile_stream::bytesFor(ThemeTileCount));
    if (!own.error.empty())
        return failure(own.error);
    tile_stream::readTiles(own.bytes, tiles.first(ThemeTileCount));

    const Stream common =
        decodeAt(rom, rom::map::CommonTiles, tile_stream::bytesFor(CommonTileCount),
            "the common tile stream at " + rom::hexText(rom.fileOffset(rom::map::CommonTiles)));
    if (!common.error.empty())
        return failure(common.error);
    tile_stream::readTiles(common.bytes, tiles.last(CommonTileCount));

    const Stream colours = decodeThroughTable(
        rom, rom::map::ThemePalettePointers, theme, "palette", palette::PaletteBytes);
    if (!colours.error.empty())
        return failure(colours.error);
    if (colours.bytes.size() < palette::PaletteBytes) {
        return failure("the " + themeText(theme) + " palette decodes to "
            + std::to_string(colours.bytes.size()) + " bytes, not the "
            + std::to_string(palette::PaletteBytes) + " of 256 colours");
    }
    palette::readColours(colours.bytes, graphics->palette);

    ThemeLoad load;
    load.graphics = std::move(graphics);
    return load;
}

} // namespace velmor::graphics
