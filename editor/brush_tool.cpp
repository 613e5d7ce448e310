#include "editor/brush_tool.h"

#include "document/course_document.h"
#include "document/layer_canvas.h"
#include "document/map_history.h"

namespace velmor {

namespace {

QPoint twipsOf(const ToolEvent &event)
{
    return (event.coursePixel * TwipsPerCoursePixel).toPoint();
}

} // namespace

bool BrushTool::press(const ToolEvent &event)
{
    if (!mOpen) {
        mOpen = true;
        context().document.history().begin(tr("Paint"));
    }
    const int cell = mTracker.press(twipsOf(event), event.visible);
    if (cell >= 0)
        context().painter.press(cell, event.button, context().palettes());
    return true;
}

void BrushTool::move(const ToolEvent &event)
{
    if (event.buttons == 0)
        return;
    const QList<int> cells = mTracker.move(twipsOf(event), event.visible);
    if (cells.isEmpty())
        return;
    const Palettes palettes = context().palettes();
    for (int cell : cells)
        context().painter.move(cell, event.buttons, palettes);
}

bool BrushTool::release(const ToolEvent &event)
{
    if (event.buttons != 0)
        return false;
    mTracker.release();
    finishStroke();
    return true;
}

void BrushTool::finishStroke()
{
    if (!mOpen)
        return;
    mOpen = false;
    mTracker.release();
    context().document.history().end();
}

} // namespace velmor
