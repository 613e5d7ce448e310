#include "editor/map_tile_layer.h"

#include "document/layer_canvas.h"
#include "document/map_geometry.h"
#include "document/tile_text.h"

#include <QPainter>
#include <QPalette>
#include <QWidget>

namespace velmor {

namespace {

constexpr int PitchPx = CellPitchTwips / TwipsPerPixel; // 16: one tile at twice the game's size
const QColor GridColour(0, 0, 0, 96);
const QColor FrameInside(0, 0, 0, 200);

} // namespace

void MapTileLayer::drawCells(QPainter &painter, const LayerCanvas &canvas, const CourseMap &map) const
{
    paint(painter, canvas.exposed().toAlignedRect(), map, mOwner->palette());
}

void MapTileLayer::drawCell(
    QPainter &painter, const LayerCanvas &, int index, const Cell &cell) const
{
    paintCell(painter, index, cell, mOwner->palette());
}

void MapTileLayer::setTileImages(const QList<QImage> &tiles, const QImage &placeholder)
{
    mImages = tiles;
    mPlaceholderImage = placeholder;
    makePictures();
}

void MapTileLayer::setGridVisible(bool visible)
{
    if (visible == mGridVisible)
        return;
    mGridVisible = visible;
    makePictures();
}

void MapTileLayer::makePictures()
{
    const auto picture = [this](const QImage &image) {
        QImage tile = image.convertToFormat(QImage::Format_RGB32)
                          .scaled(PitchPx, PitchPx, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        if (mGridVisible) {
            QPainter painter(&tile);
            painter.fillRect(0, 0, PitchPx, 1, GridColour);
            painter.fillRect(0, 1, 1, PitchPx - 1, GridColour);
        }
        return QPixmap::fromImage(tile);
    };
    mPlaceholder = mPlaceholderImage.isNull() ? QPixmap() : picture(mPlaceholderImage);
    mTiles.clear();
    mTiles.reserve(mImages.size());
    for (const QImage &image : std::as_const(mImages))
        mTiles.append(image.isNull() ? mPlaceholder : picture(image));
}

const QPixmap *MapTileLayer::pictureOf(const QString &text) const
{
    const int tile = tileNumberOf(text);
    if (tile >= 0 && tile < mTiles.size())
        return &mTiles.at(tile);
    return mPlaceholder.isNull() ? nullptr : &mPlaceholder;
}

void MapTileLayer::paintCell(
    QPainter &painter, int index, const Cell &cell, const QPalette &palette) const
{
    const QRect place(cellColumn(index) * PitchPx, cellRow(index) * PitchPx, PitchPx, PitchPx);
    if (const QPixmap *picture = pictureOf(cell.text))
        painter.drawPixmap(place, *picture);
    else
        painter.fillRect(place, palette.color(QPalette::Dark));
    drawMark(painter, place, cell.mark, palette);
}

void MapTileLayer::drawMark(
    QPainter &painter, const QRect &place, Mark mark, const QPalette &palette)
{
    if (mark == Mark::Untouched)
        return;
    const QColor frames[] = {QColor(), QColor(Qt::white), palette.color(QPalette::Midlight)};
    const QRect outer = place.adjusted(0, 0, -1, -1);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(frames[int(mark)]);
    painter.drawRect(outer);
    painter.setPen(FrameInside);
    painter.drawRect(outer.adjusted(1, 1, -1, -1));
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
        // The pictures carry each cell's top and left line; the map's last column and row
        // still need their closing line on the far side.
        if (lastColumn == MapSide - 1)
            painter.fillRect(MapSide * PitchPx, firstRow * PitchPx, 1,
                (lastRow - firstRow + 1) * PitchPx, GridColour);
        if (lastRow == MapSide - 1)
            painter.fillRect(firstColumn * PitchPx, MapSide * PitchPx,
                (lastColumn - firstColumn + 1) * PitchPx + 1, 1, GridColour);
    }

    // Marks last, over the grid: an untouched cell shows nothing but its tile.
    for (int row = firstRow; row <= lastRow; ++row) {
        for (int column = firstColumn; column <= lastColumn; ++column) {
            drawMark(painter, QRect(column * PitchPx, row * PitchPx, PitchPx, PitchPx),
                     map.mark(cellIndex(row, column)), palette);
        }
    }
}

} // namespace velmor
