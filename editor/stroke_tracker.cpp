#include "editor/stroke_tracker.h"

#include "document/layer_canvas.h"
#include "document/map_geometry.h"
#include "editor/map_shapes.h"

#include <cmath>
#include <limits>

namespace velmor {

namespace {

bool insideCell(int index, QPoint twips)
{
    const int x = twips.x() - cellLeftTwips(index);
    const int y = twips.y() - cellTopTwips(index);
    return x >= 0 && x <= CellSizeTwips && y >= 0 && y <= CellSizeTwips;
}

} // namespace

int StrokeTracker::cellAt(QPoint twips)
{
    const QPoint cell = velmor::cellAt(QPointF(twips) / TwipsPerCoursePixel);
    return isOnMap(cell) ? cellIndex(cell.y(), cell.x()) : -1;
}

QList<int> StrokeTracker::cellsOnSegment(QPoint a, QPoint b)
{
    // Grid traversal on the 240-twip pitch: step into the neighbour whose boundary the segment
    // reaches first. Grid lines are counted in unbounded pitch steps, then mapped with cellAt, so
    // the overlap strip is decided the same way as for a single position.
    QList<int> cells;
    auto add = [&cells](QPoint p) {
        const int cell = cellAt(p);
        if (cell >= 0 && (cells.isEmpty() || cells.constLast() != cell))
            cells.append(cell);
    };
    const double dx = b.x() - a.x();
    const double dy = b.y() - a.y();
    auto floorDiv = [](int v) { return int(std::floor(double(v) / CellPitchTwips)); };
    int gx = floorDiv(a.x());
    int gy = floorDiv(a.y());
    const int endX = floorDiv(b.x());
    const int endY = floorDiv(b.y());
    const int stepX = dx > 0 ? 1 : (dx < 0 ? -1 : 0);
    const int stepY = dy > 0 ? 1 : (dy < 0 ? -1 : 0);
    constexpr double never = std::numeric_limits<double>::infinity();
    auto nextT = [](int g, int step, double start, double delta) {
        if (step == 0)
            return never;
        const double boundary = double(step > 0 ? (g + 1) : g) * CellPitchTwips;
        return (boundary - start) / delta;
    };
    double tX = nextT(gx, stepX, a.x(), dx);
    double tY = nextT(gy, stepY, a.y(), dy);
    const double dtX = stepX ? CellPitchTwips / std::abs(dx) : never;
    const double dtY = stepY ? CellPitchTwips / std::abs(dy) : never;

    add(a);
    while (gx != endX || gy != endY) {
        // A segment through a grid corner steps diagonally: it touches the side cells in one point.
        if (tX < tY) {
            gx += stepX;
            tX += dtX;
        } else if (tY < tX) {
            gy += stepY;
            tY += dtY;
        } else {
            gx += stepX;
            gy += stepY;
            tX += dtX;
            tY += dtY;
        }
        // A sample point inside the grid square (the square's centre, moved onto the segment's
        // end square at the end) keeps the mapping of positions and squares in one place.
        const QPoint inSquare(gx * CellPitchTwips + CellPitchTwips / 2,
                              gy * CellPitchTwips + CellPitchTwips / 2);
        add(gx == endX && gy == endY ? b : inSquare);
        if (std::abs(gx - endX) > 2 * MapSide + 2 || std::abs(gy - endY) > 2 * MapSide + 2)
            break; // only rounding could bring us here; never loop without end
    }
    add(b);
    return cells;
}

int StrokeTracker::press(QPoint twips, bool visible)
{
    release();
    const int cell = visible ? cellAt(twips) : -1;
    if (cell < 0)
        return -1;
    mCaptured = cell;
    mLastCell = cell;
    mLastPos = twips;
    mHasLastPos = true;
    return cell;
}

QList<int> StrokeTracker::move(QPoint twips, bool visible)
{
    QList<int> cells;
    if (mCaptured >= 0) {
        if (insideCell(mCaptured, twips)) {
            mLastPos = twips;
            return {mCaptured};
        }
        // The move that leaves the pressed cell is still handled for it, then the capture ends.
        cells.append(mCaptured);
        mLastCell = mCaptured;
        mCaptured = -1;
    }
    if (!visible || cellAt(twips) < 0) {
        mHasLastPos = false;
        mLastCell = -1;
        return cells;
    }
    if (mHasLastPos)
        appendWalk(cells, mLastPos, twips);
    else if (cells.isEmpty() || cells.constLast() != cellAt(twips))
        cells.append(cellAt(twips));
    mLastCell = cells.isEmpty() ? mLastCell : cells.constLast();
    mLastPos = twips;
    mHasLastPos = true;
    return cells;
}

void StrokeTracker::appendWalk(QList<int> &cells, QPoint from, QPoint to)
{
    // The walk starts in the cell handled last; that one had its turn already.
    int previous = cells.isEmpty() ? mLastCell : cells.constLast();
    for (int cell : cellsOnSegment(from, to)) {
        if (cell != previous)
            cells.append(cell);
        previous = cell;
    }
}

void StrokeTracker::release()
{
    mCaptured = -1;
    mLastCell = -1;
    mHasLastPos = false;
}

} // namespace velmor
