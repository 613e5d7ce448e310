#pragma once

#include "codec/codec.h"
#include "graphics/theme_graphics.h"

// The game's colours: two bytes each, low byte first, 0bbbbbgg gggrrrrr. Bit 15 means nothing to
// the picture and is ignored.
namespace velmor::graphics::palette {

inline constexpr std::size_t BytesPerColour = 2;
inline constexpr std::size_t PaletteBytes = BytesPerColour * ColourCount; // 512

// Five bits to eight, spreading the top bits into the bottom ones so that 31 gives 255.
constexpr std::uint8_t expandChannel(unsigned fiveBits)
{
    return std::uint8_t((fiveBits << 3) | (fiveBits >> 2));
}

Colour colourOf(std::uint8_t low, std::uint8_t high);

// Reads as many whole colours as `decoded` holds, at most 256, into the front of out; returns how
// many that was.
int readColours(codec::ByteView decoded, std::array<Colour, ColourCount> &out);

} // namespace velmor::graphics::palette
