#pragma once

#include "graphics/theme_graphics.h"

#include <QImage>
#include <QRect>
#include <QStringList>

#include <array>
#include <memory>

namespace velmor::graphics {

// Draws a course map as the game does, one 8 x 8 tile per cell, into a 1024 x 1024 picture, and
// after an edit redraws only the cells that changed. A cell whose text names no tile, or a tile
// the theme does not define, shows the placeholder.
class CourseRenderer
{
public:
    CourseRenderer();

    // Nothing (no theme yet) draws every cell as the placeholder. Call render() after it.
    void setGraphics(std::shared_ptr<const ThemeGraphics> graphics);
    const std::shared_ptr<const ThemeGraphics> &graphics() const { return mGraphics; }

    // texts holds the map's cells in index order (128 x row + column); missing ones draw as the
    // placeholder.
    void render(const QStringList &texts);
    // Redraws the cells of a rectangle (x column, y row), clipped to the map.
    void update(const QStringList &texts, const QRect &cells);

    const QImage &image() const { return mImage; }
    // One cell's picture as it would be drawn holding `text`.
    QImage tileImage(const QString &text) const;
    // The image's pixels that show a rectangle of cells.
    static QRect pixelRect(const QRect &cells);

private:
    static constexpr int PlaceholderSlot = TileCount;

    void drawCell(uchar *bits, qsizetype stride, int column, int row, int slot) const;
    int slotOf(const QString &text) const;

    std::shared_ptr<const ThemeGraphics> mGraphics;
    // The 256 tiles' pixels, then the placeholder's, row by row, ready to copy into the image.
    std::array<std::array<QRgb, TilePixels>, TileCount + 1> mPixels {};
    QImage mImage;
};

} // namespace velmor::graphics
