#include "editor/shape_tool.h"

#include "document/tile_text.h"
#include "editor/map_edits.h"
#include "editor/map_shapes.h"
#include "editor/tool_preview.h"

namespace velmor {

ShapeTool::ShapeTool(Shape shape, ToolContext &context, QObject *parent)
    : Tool(context, parent)
    , mShape(shape)
{ }

bool ShapeTool::press(const ToolEvent &event)
{
    const std::optional<Cell> ink = context().inkFor(event.button);
    if (!ink)
        return false;
    // Refused at once rather than after a drag that could only be refused at its end.
    if (!isTileNumber(ink->text)) {
        emit refused(MapEdits::refusalFor(ink->text));
        return false;
    }
    mButton = event.button;
    mAnchor = event.cell;
    update(event.cell, event.modifiers);
    return true;
}

void ShapeTool::move(const ToolEvent &event)
{
    const bool filled = event.modifiers & Qt::ShiftModifier;
    if (event.cell != mLast || filled != mLastFilled)
        update(event.cell, event.modifiers);
}

bool ShapeTool::release(const ToolEvent &event)
{
    if (event.button != mButton)
        return false;
    const QRect was = previewBounds();
    context().preview.clearShape();
    notifyPreview(was);
    // The palette is read again: the edit writes what the palette holds now.
    const std::optional<Cell> ink = context().inkFor(mButton);
    MapEdits &edits = context().edits;
    if (mShape == Shape::Line)
        report(edits.line(mAnchor, event.cell, ink->text, ink->mark));
    else
        report(edits.rectangle(
            mAnchor, event.cell, event.modifiers & Qt::ShiftModifier, ink->text, ink->mark));
    return true;
}

void ShapeTool::cancel()
{
    const QRect was = previewBounds();
    context().preview.clearShape();
    notifyPreview(was);
}

void ShapeTool::update(QPoint cell, Qt::KeyboardModifiers modifiers)
{
    mLast = cell;
    mLastFilled = modifiers & Qt::ShiftModifier;
    const QRect was = previewBounds();
    const QList<int> cells = mShape == Shape::Line ? lineCells(mAnchor, cell)
                                                   : rectangleCells(mAnchor, cell, mLastFilled);
    context().preview.setShape(cells, *context().inkFor(mButton));
    notifyPreview(was);
}

} // namespace velmor
