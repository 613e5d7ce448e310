#pragma once

#include "tests/support/synthetic_rom.h"

#include <cstdint>
#include <optional>

// Synthetic theme graphics for the one ROM builder (gameRom with themeGraphics on), and the pixels
// and colours the tests expect, worked out from the bytes the builder wrote rather than by the code
// under test.
//
// The tiles: each theme's 32-byte base pattern has different left and right nibbles and different
// rows, so a swapped nibble or row order shows; tile t is the pattern turned by 5·t bytes, and
// inverted in every second group of 32 tiles; row bytes differ between neighbouring tiles and have
// low bits set, so OR and addition differ. Rainbow Road's stream is short (12 tiles), Bowser
// Castle's runs on past the 0x1900 bytes the game reads without an end mark. The colours: all 256
// of a palette differ, and about half have bit 15 set.
namespace velmor::test {

// Where the original game keeps a stream, as a game offset, and the bytes until its next item.
struct StreamPlace
{
    std::size_t offset = 0;
    std::size_t room = 0;
};

StreamPlace themeTilePlace(rom::Theme theme);
StreamPlace palettePlace(rom::Theme theme);
StreamPlace commonTilePlace();

inline constexpr rom::Theme ShortTheme = rom::Theme::RainbowRoad;
inline constexpr int ShortThemeTiles = 12;
inline constexpr rom::Theme RunOnTheme = rom::Theme::BowserCastle;

// The decoded bytes of each stream.
codec::Bytes themeTileData(rom::Theme theme);
codec::Bytes commonTileData();
codec::Bytes paletteData(rom::Theme theme);

// Writes the pointer tables and the streams into a ROM built by gameRom(), and records the data.
void writeThemeGraphics(GameRom &rom, BankForm banks);

// The colour index of pixel (x, y) of map tile `tile` (0x00-0xFF) in a theme: nothing when the
// theme's data does not hold that tile.
std::optional<int> expectedIndex(const GameRom &rom, rom::Theme theme, int tile, int x, int y);
// Colour `index` of the theme's palette as 0xAARRGGBB (opaque), as QRgb holds it.
std::uint32_t expectedColour(const GameRom &rom, rom::Theme theme, int index);
// Both together; nothing for an undefined tile.
std::optional<std::uint32_t> expectedPixel(
    const GameRom &rom, rom::Theme theme, int tile, int x, int y);

} // namespace velmor::test
