#include "editor/click_tools.h"

#include "editor/map_edits.h"

namespace velmor {

bool FillTool::press(const ToolEvent &event)
{
    if (const std::optional<Cell> ink = context().inkFor(event.button))
        report(context().edits.fill(event.cell, ink->text, ink->mark));
    // The click is the whole edit; the rest of the press changes nothing.
    return false;
}

bool PickTool::press(const ToolEvent &event)
{
    pickAt(event);
    return false;
}

void PickTool::pickAt(const ToolEvent &event)
{
    if (event.button != LeftButton && event.button != RightButton)
        return;
    if (const std::optional<QString> text = context().edits.pick(event.cell))
        emit picked(event.button, *text);
}

} // namespace velmor
