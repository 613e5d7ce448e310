#pragma once

#include "graphics/theme_graphics.h"

#include <QImage>
#include <QList>

#include <bitset>

namespace velmor::graphics {

// A theme's 256 tiles as pictures at a whole-number scale (8 x 8 pixels times the scale), and the
// placeholder that stands for a tile the theme does not define and for a text that names no tile.
class TileImages
{
public:
    // The map shows tiles at twice the game's size: 16 pixels, the map's cell pitch.
    static constexpr int MapScale = 2;

    // No theme: every tile is the placeholder.
    explicit TileImages(int scale = MapScale);
    TileImages(const ThemeGraphics &graphics, int scale = MapScale);

    // A magenta and black checkerboard: unlike anything a course shows, so an undefined tile
    // stands out. `side` is in pixels.
    static QImage makePlaceholder(int side);

    int scale() const { return mScale; }
    int side() const { return TileSide * mScale; }
    bool hasTheme() const { return mHasTheme; }
    bool isDefined(int tile) const
    {
        return tile >= 0 && tile < TileCount && mDefined[std::size_t(tile)];
    }
    // The picture of a tile number; the placeholder for an undefined tile or a number out of range.
    const QImage &image(int tile) const;
    // All 256, undefined tiles as the placeholder.
    const QList<QImage> &images() const { return mImages; }
    const QImage &placeholder() const { return mPlaceholder; }

private:
    int mScale;
    bool mHasTheme = false;
    QList<QImage> mImages;
    QImage mPlaceholder;
    std::bitset<TileCount> mDefined;
};

} // namespace velmor::graphics
