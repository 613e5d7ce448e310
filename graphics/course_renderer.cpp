#include "graphics/course_renderer.h"

#include "graphics/tile_images.h"
#include "document/tile_text.h"

#include <cstring>

namespace velmor::graphics {

CourseRenderer::CourseRenderer()
    : mImage(CoursePixels, CoursePixels, QImage::Format_RGB32)
{
    setGraphics(nullptr);
}

void CourseRenderer::setGraphics(std::shared_ptr<const ThemeGraphics> graphics)
{
    mGraphics = std::move(graphics);
    const QImage placeholder = TileImages::makePlaceholder(TileSide);
    for (int slot = 0; slot <= TileCount; ++slot) {
        const bool defined = slot < TileCount && mGraphics && mGraphics->isDefined(slot);
        for (int y = 0; y < TileSide; ++y) {
            for (int x = 0; x < TileSide; ++x) {
                QRgb rgb = placeholder.pixel(x, y);
                if (defined) {
                    const Colour c = mGraphics->colour(slot, x, y);
                    rgb = qRgb(c.red, c.green, c.blue);
                }
                mPixels[std::size_t(slot)][std::size_t(TileSide * y + x)] = rgb;
            }
        }
    }
}

int CourseRenderer::slotOf(const QString &text) const
{
    const int tile = tileNumberOf(text);
    return tile >= 0 && mGraphics && mGraphics->isDefined(tile) ? tile : PlaceholderSlot;
}

void CourseRenderer::drawCell(uchar *bits, qsizetype stride, int column, int row, int slot) const
{
    const QRgb *source = mPixels[std::size_t(slot)].data();
    uchar *topLeft = bits + stride * row * TileSide + sizeof(QRgb) * std::size_t(column * TileSide);
    for (int y = 0; y < TileSide; ++y)
        std::memcpy(topLeft + stride * y, source + TileSide * y, sizeof(QRgb) * TileSide);
}

QImage CourseRenderer::tileImage(const QString &text) const
{
    QImage tile(TileSide, TileSide, QImage::Format_RGB32);
    drawCell(tile.bits(), tile.bytesPerLine(), 0, 0, slotOf(text));
    return tile;
}

void CourseRenderer::render(const QStringList &texts)
{
    update(texts, QRect(0, 0, CourseTiles, CourseTiles));
}

void CourseRenderer::update(const QStringList &texts, const QRect &cells)
{
    const QRect clipped = cells & QRect(0, 0, CourseTiles, CourseTiles);
    if (clipped.isEmpty())
        return;
    // bits() once: it checks whether the image must be copied first, every time it is asked.
    uchar *bits = mImage.bits();
    const qsizetype stride = mImage.bytesPerLine();
    for (int row = clipped.top(); row <= clipped.bottom(); ++row) {
        for (int column = clipped.left(); column <= clipped.right(); ++column) {
            const int index = CourseTiles * row + column;
            drawCell(bits, stride, column, row,
                index < texts.size() ? slotOf(texts.at(index)) : PlaceholderSlot);
        }
    }
}

QRect CourseRenderer::pixelRect(const QRect &cells)
{
    return QRect(cells.x() * TileSide, cells.y() * TileSide, cells.width() * TileSide,
        cells.height() * TileSide);
}

} // namespace velmor::graphics
