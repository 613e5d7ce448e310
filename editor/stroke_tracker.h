#pragma once

#include <QList>
#include <QPoint>

namespace velmor {

// Turns the pointer positions of one stroke into the cells that the press and move rules apply to.
// Positions are in twips relative to the map's top-left corner, so the scroll offset plays no part.
//
// A press captures its cell: the following moves go to that cell while the pointer stays inside it
// (an edge counts as inside). The move that leaves it is still handled for the pressed cell and ends
// the capture. From then on every cell that the pointer crosses between two successive positions
// gets the move rule, so a fast stroke leaves no gaps. Positions the user cannot see (outside the
// viewport, under the splash) paint nothing; the stroke resumes where the pointer comes back.
class StrokeTracker
{
public:
    // The cell under a position, or -1 off the cells. Neighbours overlap by 15 twips; the strip goes
    // to the right (lower) neighbour, except after the last column (row), which keeps it.
    static int cellAt(QPoint twips);
    // The cells a straight segment passes through, in order from a's cell to b's, each once.
    // Parts of the segment off the map are left out.
    static QList<int> cellsOnSegment(QPoint a, QPoint b);

    // Starts a stroke; returns the pressed cell, or -1 when the press hits no visible cell.
    int press(QPoint twips, bool visible);
    // The cells to apply the move rule to, in order; empty when nothing is to be painted.
    QList<int> move(QPoint twips, bool visible);
    void release();

    bool isCapturing() const { return mCaptured >= 0; }
    int capturedCell() const { return mCaptured; }

private:
    void appendWalk(QList<int> &cells, QPoint from, QPoint to);

    int mCaptured = -1;
    // The last cell handled and the last visible position of the stroke; reset when it leaves sight.
    int mLastCell = -1;
    QPoint mLastPos;
    bool mHasLastPos = false;
};

} // namespace velmor
