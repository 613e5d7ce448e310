#include "graphics/tile_images.h"

#include <QColor>

namespace velmor::graphics {

namespace {

constexpr QRgb PlaceholderLight = 0xFFFF00FF; // magenta
constexpr QRgb PlaceholderDark = 0xFF000000;

QRgb toRgb(Colour colour)
{
    return qRgb(colour.red, colour.green, colour.blue);
}

QImage tileImage(const ThemeGraphics &graphics, int tile, int scale)
{
    const int side = TileSide * scale;
    QImage image(side, side, QImage::Format_RGB32);
    for (int y = 0; y < side; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < side; ++x)
            line[x] = toRgb(graphics.colour(tile, x / scale, y / scale));
    }
    return image;
}

} // namespace

QImage TileImages::makePlaceholder(int side)
{
    QImage image(side, side, QImage::Format_RGB32);
    const int square = qMax(1, side / 2);
    for (int y = 0; y < side; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < side; ++x)
            line[x] = ((x / square + y / square) % 2 == 0) ? PlaceholderLight : PlaceholderDark;
    }
    return image;
}

TileImages::TileImages(int scale)
    : mScale(qMax(1, scale))
    , mPlaceholder(makePlaceholder(TileSide * mScale))
{
    mImages.fill(mPlaceholder, TileCount);
}

TileImages::TileImages(const ThemeGraphics &graphics, int scale)
    : TileImages(scale)
{
    mHasTheme = true;
    for (int tile = 0; tile < TileCount; ++tile) {
        if (!graphics.isDefined(tile))
            continue;
        mImages[tile] = tileImage(graphics, tile, mScale);
        mDefined.set(std::size_t(tile));
    }
}

const QImage &TileImages::image(int tile) const
{
    return isDefined(tile) ? mImages.at(tile) : mPlaceholder;
}

} // namespace velmor::graphics
