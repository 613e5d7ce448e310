#include "editor/map_numbers_art.h"

#include "document/layer_canvas.h"
#include "document/map_geometry.h"

#include <QPainter>
#include <QWidget>

namespace velmor {

namespace {

constexpr int PitchPx = CellPitchTwips / TwipsPerPixel; // 16
constexpr int CellPx = CellSizeTwips / TwipsPerPixel;   // 17
constexpr int FacePx = CellPx - 2;                      // inside the two border lines
constexpr qsizetype MaxCachedFaces = 1024;

QPoint faceCorner(int index)
{
    return QPoint(cellColumn(index) * PitchPx + 1, cellRow(index) * PitchPx + 1);
}

} // namespace

void MapNumbersArt::drawCells(QPainter &painter, const LayerCanvas &canvas, const CourseMap &map) const
{
    const QRect exposed = canvas.exposed().toAlignedRect();
    const QPalette &palette = mOwner->palette();
    painter.fillRect(exposed, palette.color(QPalette::Button));

    const int firstColumn = qMax(0, (exposed.left() - 1) / PitchPx);
    const int lastColumn = qMin(MapSide - 1, exposed.right() / PitchPx);
    const int firstRow = qMax(0, (exposed.top() - 1) / PitchPx);
    const int lastRow = qMin(MapSide - 1, exposed.bottom() / PitchPx);
    if (firstColumn > lastColumn || firstRow > lastRow)
        return;

    for (int row = firstRow; row <= lastRow; ++row) {
        for (int column = firstColumn; column <= lastColumn; ++column) {
            const int index = cellIndex(row, column);
            // The border lines are drawn once below; the face fills the inside.
            painter.drawPixmap(faceCorner(index), cellFace(map.text(index), map.mark(index)));
        }
    }
    painter.setPen(palette.color(QPalette::WindowText));
    // Neighbouring cells share their one-pixel borders, so the borders form one grid of lines.
    const int left = firstColumn * PitchPx;
    const int right = lastColumn * PitchPx + CellPx - 1;
    const int top = firstRow * PitchPx;
    const int bottom = lastRow * PitchPx + CellPx - 1;
    for (int column = firstColumn; column <= lastColumn + 1; ++column)
        painter.drawLine(column * PitchPx, top, column * PitchPx, bottom);
    for (int row = firstRow; row <= lastRow + 1; ++row)
        painter.drawLine(left, row * PitchPx, right, row * PitchPx);
}

void MapNumbersArt::drawCell(
    QPainter &painter, const LayerCanvas &, int index, const Cell &cell) const
{
    painter.drawPixmap(faceCorner(index), cellFace(cell.text, cell.mark));
}

void MapNumbersArt::clearFaces()
{
    for (auto &faces : mFaces)
        faces.clear();
}

const QPixmap &MapNumbersArt::cellFace(const QString &text, Mark mark) const
{
    QHash<QString, QPixmap> &faces = mFaces[int(mark)];
    auto found = faces.constFind(text);
    if (found != faces.constEnd())
        return *found;
    // Typed texts can be anything; keep the cache bounded.
    if (faces.size() >= MaxCachedFaces)
        faces.clear();

    const QPalette &palette = mOwner->palette();
    const QColor backgrounds[] = {palette.color(QPalette::Button), QColor(Qt::white),
                                  palette.color(QPalette::Midlight)};
    const qreal ratio = mOwner->devicePixelRatioF();
    QPixmap face(QSize(FacePx, FacePx) * ratio);
    face.setDevicePixelRatio(ratio);
    face.fill(backgrounds[int(mark)]);
    QPainter painter(&face);
    QFont cellFont = mOwner->font();
    cellFont.setBold(isBold(mark));
    painter.setFont(cellFont);
    painter.setPen(palette.color(QPalette::WindowText));
    // Centred in the whole cell, borders included, as the face sits one pixel inside it.
    painter.drawText(QRect(-1, -1, CellPx, CellPx), Qt::AlignCenter, text);
    painter.end();
    return *faces.insert(text, face);
}

} // namespace velmor
