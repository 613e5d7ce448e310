#include "editor/tool_preview.h"

namespace velmor {

ToolPreview::ToolPreview()
    : mInShape(CellCount)
{ }

void ToolPreview::setShape(const QList<int> &cells, const Cell &ink)
{
    clearShape();
    mShapeCells = cells;
    mShapeInk = ink;
    for (int index : cells) {
        mInShape.setBit(index);
        mShapeBounds |= cellRect(index);
    }
}

void ToolPreview::clearShape()
{
    for (int index : std::as_const(mShapeCells))
        mInShape.clearBit(index);
    mShapeCells.clear();
    mShapeBounds = QRect();
}

void ToolPreview::setFloating(const CellBlock &block, QPoint topLeft, const QRect &vacated)
{
    mFloating = block;
    mFloatingAt = topLeft;
    mVacated = vacated;
}

void ToolPreview::clearFloating()
{
    mFloating = CellBlock();
    mFloatingAt = QPoint();
    mVacated = QRect();
}

std::optional<Cell> ToolPreview::at(int index) const
{
    if (mInShape.testBit(index))
        return mShapeInk;
    const QPoint cell(cellColumn(index), cellRow(index));
    if (isFloating() && mFloating.area(mFloatingAt).contains(cell)) {
        const QPoint inBlock = cell - mFloatingAt;
        return Cell {mFloating.text(inBlock.x(), inBlock.y()), Mark::Painted};
    }
    if (mVacated.contains(cell))
        return Cell {CourseMap::freshText(), Mark::Erased};
    return std::nullopt;
}

QRect ToolPreview::bounds() const
{
    QRect all = mShapeBounds | mVacated | mSelection;
    if (isFloating())
        all |= mFloating.area(mFloatingAt);
    return all & wholeMapRect();
}

} // namespace velmor
