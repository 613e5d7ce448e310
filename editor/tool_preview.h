#pragma once

#include "editor/cell_block.h"
#include "document/course_map.h"

#include <QBitArray>
#include <QList>
#include <QPoint>
#include <QRect>

#include <optional>

namespace velmor {

// What the map view draws over the map while a tool works, none of it in the model yet: the cells
// a line or rectangle would write, a floating block (a paste following the pointer, or a selection
// being dragged, with the cells the move would leave erased) and the selection's outline.
class ToolPreview
{
public:
    ToolPreview();

    // The cells a shape would write, all with one text and mark.
    void setShape(const QList<int> &cells, const Cell &ink);
    void clearShape();
    const QList<int> &shapeCells() const { return mShapeCells; }
    const Cell &shapeInk() const { return mShapeInk; }

    // A block whose top-left cell is at topLeft (it may reach past the map's edge). vacated: the
    // cells a move would leave erased, empty for a paste.
    void setFloating(const CellBlock &block, QPoint topLeft, const QRect &vacated = QRect());
    void clearFloating();
    bool isFloating() const { return !mFloating.isEmpty(); }
    const CellBlock &floatingBlock() const { return mFloating; }
    QPoint floatingPosition() const { return mFloatingAt; }
    QRect vacated() const { return mVacated; }

    // Cells, not pixels: the view draws the outline around them. Empty when nothing is selected.
    // True when the selection changed.
    bool setSelection(const QRect &cells)
    {
        if (cells == mSelection)
            return false;
        mSelection = cells;
        return true;
    }
    QRect selection() const { return mSelection; }

    // What the preview shows in a map cell instead of the model's cell, if anything.
    std::optional<Cell> at(int index) const;
    // All map cells the preview draws on, the selection's included; empty when nothing shows.
    QRect bounds() const;

private:
    QList<int> mShapeCells;
    QBitArray mInShape;
    QRect mShapeBounds;
    Cell mShapeInk;
    CellBlock mFloating;
    QPoint mFloatingAt;
    QRect mVacated;
    QRect mSelection;
};

} // namespace velmor
