#pragma once

#include "editor/stroke_tracker.h"
#include "editor/tool.h"

namespace velmor {

// The painting of the described window: a press paints its cell with the button's palette, a
// drag paints every cell the pointer crosses, however fast it moves (StrokeTracker fills the
// gaps), the middle button erases; places the user cannot see paint nothing. Everything from
// the first press to the release of the last button held is one undo step, "Paint", and keeps
// the pointer whatever tool is chosen meanwhile.
class BrushTool : public Tool
{
    Q_OBJECT

public:
    using Tool::Tool;

    bool press(const ToolEvent &event) override;
    void move(const ToolEvent &event) override;
    bool release(const ToolEvent &event) override;
    void cancel() override { finishStroke(); }
    bool keepsGesture() const override { return true; }

    bool isStrokeOpen() const { return mOpen; }
    // Ends a stroke whose release never came (a dialog took the mouse): its step closes.
    void finishStroke();

private:
    StrokeTracker mTracker;
    bool mOpen = false;
};

} // namespace velmor
