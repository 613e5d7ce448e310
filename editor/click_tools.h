#pragma once

#include "editor/tool.h"

namespace velmor {

// Fill: the area of touching cells (not diagonally) that hold the clicked cell's text gets the
// button's palette text, as one step.
class FillTool : public Tool
{
    Q_OBJECT

public:
    using Tool::Tool;

    bool press(const ToolEvent &event) override;
    void move(const ToolEvent &) override { }
    bool release(const ToolEvent &) override { return true; }
};

// Pick: the clicked cell's text goes into the palette of the button that clicked.
class PickTool : public Tool
{
    Q_OBJECT

public:
    using Tool::Tool;

    bool press(const ToolEvent &event) override;
    void move(const ToolEvent &) override { }
    bool release(const ToolEvent &) override { return true; }
    // Alt with a left or right click picks with any tool; the controller asks for it here.
    void pickAt(const ToolEvent &event);
};

} // namespace velmor
