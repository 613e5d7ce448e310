#pragma once

#include "document/map_geometry.h"

#include <QPointF>
#include <QRect>
#include <QRectF>

#include <cmath>

namespace velmor {

class TileArt;

// Course pixels: the game's own, eight to a tile, 1024 across the course. Every layer keeps its
// places in them (or in tiles), whatever view draws it.
inline constexpr int CoursePixelsPerTile = 8;
inline constexpr int CoursePixelSide = MapSide * CoursePixelsPerTile;

// Twips (the described window's unit) per course pixel: a map view cell of 240 twips is a tile.
inline constexpr int TwipsPerCoursePixel = CellPitchTwips / CoursePixelsPerTile;

// The one hit test of the program, for every view, tool and readout: the cell (column, row) at a
// point in course pixels, off the map where the point is. The described map's cells overlap
// their right and lower neighbours by 15 twips (half a course pixel); that strip belongs to the
// neighbour, except past the last column and row, which keep it.
inline QPoint cellAt(QPointF coursePixel)
{
    const auto line = [](double at) {
        const int cell = int(std::floor(at / CoursePixelsPerTile));
        const double lastEdge = double(CellPitchTwips * (MapSide - 1) + CellSizeTwips)
                                / TwipsPerCoursePixel;
        return cell == MapSide && at < lastEdge ? MapSide - 1 : cell;
    };
    return QPoint(line(coursePixel.x()), line(coursePixel.y()));
}

// Where one view shows the course while it paints: course pixels to the view's pixels by a scale
// and an origin, the part of the view being painted, and how that view draws the cells
// themselves. A layer draws through this and knows nothing else about the view.
class LayerCanvas
{
public:
    LayerCanvas(double scale, QPointF origin, const QRectF &exposed, const TileArt *tileArt)
        : mScale(scale)
        , mOrigin(origin)
        , mExposed(exposed)
        , mTileArt(tileArt)
    { }

    // View pixels per course pixel.
    double scale() const { return mScale; }
    double pixelsPerTile() const { return mScale * CoursePixelsPerTile; }
    QPointF origin() const { return mOrigin; }
    // The part of the view being painted, in its pixels.
    QRectF exposed() const { return mExposed; }
    const TileArt *tileArt() const { return mTileArt; }

    QPointF toView(QPointF course) const { return mOrigin + course * mScale; }
    QRectF toView(const QRectF &course) const
    {
        return QRectF(toView(course.topLeft()), course.size() * mScale);
    }
    QPointF toCourse(QPointF view) const { return (view - mOrigin) / mScale; }
    // A rectangle of cells (x column, y row) in the view's pixels.
    QRectF cellsToView(const QRect &cells) const
    {
        return toView(QRectF(QPointF(cells.topLeft()) * CoursePixelsPerTile,
                             QSizeF(cells.size()) * CoursePixelsPerTile));
    }
    // The cells that meet the exposed part, clipped to the map.
    QRect exposedCells() const
    {
        const QRectF course = QRectF(toCourse(mExposed.topLeft()), toCourse(mExposed.bottomRight()));
        const int left = qMax(0, int(course.left() / CoursePixelsPerTile));
        const int top = qMax(0, int(course.top() / CoursePixelsPerTile));
        const int right = qMin(MapSide - 1, int(course.right() / CoursePixelsPerTile));
        const int bottom = qMin(MapSide - 1, int(course.bottom() / CoursePixelsPerTile));
        return right < left || bottom < top ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
    }

private:
    double mScale;
    QPointF mOrigin;
    QRectF mExposed;
    const TileArt *mTileArt;
};

} // namespace velmor
