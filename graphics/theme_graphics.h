#pragma once

#include "rom/course_catalogue.h"

#include <array>
#include <cstdint>
#include <vector>

// Sizes of the game's course graphics, and the graphics of one theme as the game draws a course
// with them. Plain C++ over bytes, no Qt, so the fuzzers can build it.
namespace velmor::graphics {

inline constexpr int TileSide = 8;
inline constexpr int TilePixels = TileSide * TileSide;
inline constexpr int TileCount = 256;
// Map values 0x00-0xBF come from the theme's own stream, 0xC0-0xFF from the one all themes share.
inline constexpr int ThemeTileCount = 0xC0;
inline constexpr int CommonTileCount = TileCount - ThemeTileCount;
inline constexpr int ColourCount = 256;
// The course map is this many tiles square; the game repeats tile 0 outside it.
inline constexpr int CourseTiles = 128;
inline constexpr int CoursePixels = CourseTiles * TileSide; // 1024
// Colour index 0 is the backdrop: a pixel whose nibble is 0 shows colour 0 whatever its tile.
inline constexpr std::uint8_t BackdropIndex = 0;

struct Colour
{
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    friend bool operator==(const Colour &, const Colour &) = default;
};

struct Tile
{
    // False for a tile whose bytes lie past the end of its stream: it has no pixels to show.
    bool defined = false;
    // Colour indices row by row from the top, each row left to right.
    std::array<std::uint8_t, TilePixels> pixels {};

    std::uint8_t index(int x, int y) const { return pixels[std::size_t(TileSide * y + x)]; }
};

// The 256 tiles and 256 colours of one theme: everything needed to draw any course map in it.
struct ThemeGraphics
{
    rom::Theme theme = rom::Theme::MarioCircuit;
    std::array<Tile, TileCount> tiles {};
    std::array<Colour, ColourCount> palette {};

    bool isDefined(int tile) const
    {
        return tile >= 0 && tile < TileCount && tiles[std::size_t(tile)].defined;
    }
    // In increasing order; empty when the theme's streams define every tile.
    std::vector<int> undefinedTiles() const;
    // The colour of pixel (x, y) of a defined tile.
    Colour colour(int tile, int x, int y) const
    {
        return palette[tiles[std::size_t(tile)].index(x, y)];
    }
};

} // namespace velmor::graphics
