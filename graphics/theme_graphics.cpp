#include "graphics/theme_graphics.h"

namespace velmor::graphics {

std::vector<int> ThemeGraphics::undefinedTiles() const
{
    std::vector<int> undefined;
    for (int tile = 0; tile < TileCount; ++tile) {
        if (!tiles[std::size_t(tile)].defined)
            undefined.push_back(tile);
    }
    return undefined;
}

} // namespace velmor::graphics
