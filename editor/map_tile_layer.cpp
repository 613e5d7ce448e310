#include "editor/map_tile_layer.h"

#include "editor/map_geometry.h"
#include "graphics/tile_number.h"

#include <QPainter>
#include <QPalette>

namespace velmor {

namespace {

constexpr int PitchPx = CellPitchTwips / TwipsPerPixel; // 16: one tile at twice the game's size
const QColor GridColour(0, 0, 0, 96);
const QColor FrameInside(0, 0, 0, 200);

} // namespace

void MapTileLayer::setTileImages(const QList<QImage> &tiles, const QImage &placeholder)
{
    mPlaceholder = QPixmap::fromImage(placeholder);
    mTiles.clear();
    mTiles.reserve(tiles.size());
    for (const QImage &tile : tiles)
        mTiles.append(tile.isNull() ? mPlaceholder : QPixmap::fromImage(tile));
}

const QPixmap *MapTileLayer::pictureOf(const QString &text) const
{
    const int tile = graphics::tileNumberOf(text);
    if (tile >= 0 && tile < mTiles.size())
        return &mTiles.at(tile);
    return mPlaceholder.isNull() ? nullptr : &mPlaceholder;
}

void MapTileLayer::paint(
    QPainter &painter, const QRect &exposed, const CourseMap &map, const QPalette &palette) const
{
    painter.fillRect(exposed, palette.color(QPalette::Button));
    const int firstColumn = qMax(0, exposed.left() / PitchPx);
    const int lastColumn = qMin(MapSide - 1, exposed.right() / PitchPx);
    const int firstRow = qMax(0, exposed.top() / PitchPx);
    const int lastRow = qMin(MapSide - 1, exposed.bottom() / PitchPx);
    if (firstColumn > lastColumn || firstRow > lastRow)
        return;

    for (int row = firstRow; row <= lastRow; ++row) {
        for (int column = firstColumn; column <= lastColumn; ++column) {
            const QRect cell(column * PitchPx, row * PitchPx, PitchPx, PitchPx);
            if (const QPixmap *picture = pictureOf(map.text(cellIndex(row, column))))
                painter.drawPixmap(cell, *picture);
            else
                painter.fillRect(cell, palette.color(QPalette::Dark));
        }
    }

    if (mGridVisible) {
        painter.setPen(GridColour);
        const int top = firstRow * PitchPx;
        const int bottom = (lastRow + 1) * PitchPx;
        const int left = firstColumn * PitchPx;
        const int right = (lastColumn + 1) * PitchPx;
        for (int column = firstColumn; column <= lastColumn + 1; ++column)
            painter.drawLine(column * PitchPx, top, column * PitchPx, bottom);
        for (int row = firstRow; row <= lastRow + 1; ++row)
            painter.drawLine(left, row * PitchPx, right, row * PitchPx);
    }

    // Marks last, over the grid: an untouched cell shows nothing but its tile.
    const QColor frames[] = {QColor(), QColor(Qt::white), palette.color(QPalette::Midlight)};
    painter.setBrush(Qt::NoBrush);
    for (int row = firstRow; row <= lastRow; ++row) {
        for (int column = firstColumn; column <= lastColumn; ++column) {
            const Mark mark = map.mark(cellIndex(row, column));
            if (mark == Mark::Untouched)
                continue;
            const QRect outer(column * PitchPx, row * PitchPx, PitchPx - 1, PitchPx - 1);
            painter.setPen(frames[int(mark)]);
            painter.drawRect(outer);
            painter.setPen(FrameInside);
            painter.drawRect(outer.adjusted(1, 1, -1, -1));
        }
    }
}

} // namespace velmor
