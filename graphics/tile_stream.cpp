#include "graphics/tile_stream.h"

namespace velmor::graphics::tile_stream {

namespace {

constexpr int BytesPerRow = TileSide / 2;
constexpr std::uint8_t LowNibble = 0x0F;

} // namespace

int readTiles(codec::ByteView decoded, std::span<Tile> out)
{
    int defined = 0;
    for (std::size_t t = 0; t < out.size(); ++t) {
        Tile &tile = out[t];
        tile = Tile {};
        const std::size_t start = RowBytes + BytesPerTile * t;
        if (decoded.size() < start + BytesPerTile)
            continue;
        const std::uint8_t rowByte = decoded[t];
        for (int y = 0; y < TileSide; ++y) {
            for (int x = 0; x < TileSide; ++x) {
                const std::uint8_t pair = decoded[start + std::size_t(BytesPerRow * y + x / 2)];
                const std::uint8_t nibble = (x % 2 == 0) ? (pair & LowNibble) : (pair >> 4);
                tile.pixels[std::size_t(TileSide * y + x)] =
                    nibble == 0 ? BackdropIndex : std::uint8_t(nibble | rowByte);
            }
        }
        tile.defined = true;
        ++defined;
    }
    return defined;
}

} // namespace velmor::graphics::tile_stream
