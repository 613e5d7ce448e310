#pragma once

#include "codec/codec.h"
#include "graphics/theme_graphics.h"

#include <span>

// A decoded tile stream of the game: one row byte per tile (bytes 0x000-0x0FF), then 32 bytes per
// tile from 0x100, eight rows of four bytes, two pixels a byte with the left one in the low nibble.
// A pixel's colour index is its nibble with the tile's row byte OR'ed in, except that nibble 0
// stays 0, the backdrop.
namespace velmor::graphics::tile_stream {

inline constexpr std::size_t RowBytes = 0x100;
inline constexpr std::size_t BytesPerTile = TilePixels / 2;

// The decoded bytes that hold the first `tiles` tiles: 0x1900 for a theme's 192, 0x900 for the
// 64 common ones. The game reads no further, so a decoder may stop there.
constexpr std::size_t bytesFor(int tiles)
{
    return RowBytes + BytesPerTile * std::size_t(tiles);
}

// Reads the stream's tiles 0 .. out.size() - 1 into out. A tile whose bytes lie (even partly)
// past the end of `decoded` is left undefined; nothing past the end is read. Returns how many
// tiles were defined.
int readTiles(codec::ByteView decoded, std::span<Tile> out);

} // namespace velmor::graphics::tile_stream
