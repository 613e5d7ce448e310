#include "editor/select_tool.h"

#include "editor/map_edits.h"
#include "editor/map_shapes.h"
#include "editor/tool_preview.h"

namespace velmor {

namespace {

const QRect MapCells(0, 0, MapSide, MapSide);

} // namespace

bool SelectTool::press(const ToolEvent &event)
{
    if (event.button != LeftButton || !isOnMap(event.cell))
        return false;
    mAnchor = event.cell;
    mLast = event.cell;
    const QRect selection = context().preview.selection();
    if (selection.contains(event.cell)) {
        mDrag = Drag::Moving;
        mMoving = context().edits.copy(selection);
        updateMove(event.cell);
    } else {
        mDrag = Drag::Selecting;
        const QRect was = previewBounds();
        setSelection(QRect(event.cell, event.cell));
        notifyPreview(was);
    }
    return true;
}

void SelectTool::move(const ToolEvent &event)
{
    if (event.cell == mLast)
        return;
    if (mDrag == Drag::Moving) {
        updateMove(event.cell);
        return;
    }
    mLast = event.cell;
    const QRect was = previewBounds();
    setSelection(cellSpan(mAnchor, event.cell) & MapCells);
    notifyPreview(was);
}

bool SelectTool::release(const ToolEvent &event)
{
    if (event.button != LeftButton)
        return false;
    ToolPreview &preview = context().preview;
    const QRect was = previewBounds();
    if (mDrag == Drag::Moving) {
        const QPoint offset = event.cell - mAnchor;
        const QRect source = preview.selection();
        preview.clearFloating();
        mMoving = CellBlock();
        setSelection(source.translated(offset) & MapCells);
        notifyPreview(was);
        report(context().edits.move(source, offset));
        return true;
    }
    // The release may come without a move onto its cell.
    setSelection(cellSpan(mAnchor, event.cell) & MapCells);
    notifyPreview(was);
    return true;
}

void SelectTool::cancel()
{
    if (mMoving.isEmpty())
        return;
    const QRect was = previewBounds();
    mMoving = CellBlock();
    context().preview.clearFloating();
    notifyPreview(was);
}

void SelectTool::setSelection(const QRect &cells)
{
    if (context().preview.setSelection(cells))
        emit selectionChanged(!cells.isEmpty());
}

void SelectTool::updateMove(QPoint cell)
{
    mLast = cell;
    const QRect was = previewBounds();
    const QRect selection = context().preview.selection();
    context().preview.setFloating(mMoving, selection.topLeft() + (cell - mAnchor), selection);
    notifyPreview(was);
}

} // namespace velmor
