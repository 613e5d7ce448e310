#include "graphics/palette.h"

#include <algorithm>

namespace velmor::graphics::palette {

namespace {

constexpr unsigned ChannelMask = 0x1F;
constexpr int GreenShift = 5;
constexpr int BlueShift = 10;

} // namespace

Colour colourOf(std::uint8_t low, std::uint8_t high)
{
    const unsigned value = unsigned(low) | (unsigned(high) << 8);
    return {expandChannel(value & ChannelMask), expandChannel((value >> GreenShift) & ChannelMask),
        expandChannel((value >> BlueShift) & ChannelMask)};
}

int readColours(codec::ByteView decoded, std::array<Colour, ColourCount> &out)
{
    const std::size_t count = std::min<std::size_t>(ColourCount, decoded.size() / BytesPerColour);
    for (std::size_t i = 0; i < count; ++i)
        out[i] = colourOf(decoded[BytesPerColour * i], decoded[BytesPerColour * i + 1]);
    return int(count);
}

} // namespace velmor::graphics::palette
