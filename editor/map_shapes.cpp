#include "editor/map_shapes.h"

#include "editor/stroke_tracker.h"

namespace velmor {

namespace {

QPoint centreTwips(QPoint cell)
{
    return QPoint(cell.x() * CellPitchTwips + CellPitchTwips / 2,
        cell.y() * CellPitchTwips + CellPitchTwips / 2);
}

} // namespace

QRect cellSpan(QPoint a, QPoint b)
{
    // Not QRect(a, b).normalized(): with swapped corners it drops the corners' rows and columns.
    return QRect(QPoint(qMin(a.x(), b.x()), qMin(a.y(), b.y())),
                 QPoint(qMax(a.x(), b.x()), qMax(a.y(), b.y())));
}

QList<int> lineCells(QPoint a, QPoint b)
{
    return StrokeTracker::cellsOnSegment(centreTwips(a), centreTwips(b));
}

QList<int> rectangleCells(QPoint a, QPoint b, bool filled)
{
    const QRect span = cellSpan(a, b);
    const QRect onMap = span & QRect(0, 0, MapSide, MapSide);
    QList<int> cells;
    if (onMap.isEmpty())
        return cells;
    for (int row = onMap.top(); row <= onMap.bottom(); ++row) {
        const bool edgeRow = row == span.top() || row == span.bottom();
        if (filled || edgeRow) {
            for (int column = onMap.left(); column <= onMap.right(); ++column)
                cells.append(cellIndex(row, column));
            continue;
        }
        if (span.left() >= 0)
            cells.append(cellIndex(row, span.left()));
        if (span.right() < MapSide && span.right() != span.left())
            cells.append(cellIndex(row, span.right()));
    }
    return cells;
}

QList<int> cellsIn(const QRect &cells)
{
    if (cells.isEmpty())
        return {};
    return rectangleCells(cells.topLeft(), cells.bottomRight(), true);
}

} // namespace velmor
