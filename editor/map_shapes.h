#pragma once

#include "document/map_geometry.h"

#include <QList>
#include <QPoint>
#include <QRect>

// The cells the drawing tools' shapes cover. Cells are given as (column, row) and may lie off the
// map, as a drag past the edge gives them; results are the cells on the map, as indices.
namespace velmor {

inline bool isOnMap(QPoint cell)
{
    return cell.x() >= 0 && cell.y() >= 0 && cell.x() < MapSide && cell.y() < MapSide;
}

// The rectangle spanned by two corner cells, both included, in either order.
QRect cellSpan(QPoint a, QPoint b);

// The cells of the straight line from a to b, in order from a, each once: a fast stroke's cells
// between the two cells' centres, so a line and a quick drag along it paint the same cells.
QList<int> lineCells(QPoint a, QPoint b);

// The outline (or, when filled, the whole area) of the rectangle with corners a and b, clipped
// at the map's edge: sides that lie off the map are not drawn. Row by row, each cell once.
QList<int> rectangleCells(QPoint a, QPoint b, bool filled);

// The cells of a rectangle that lie on the map, row by row.
QList<int> cellsIn(const QRect &cells);

} // namespace velmor
