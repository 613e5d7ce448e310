#pragma once

#include "editor/race_geometry.h"
#include "editor/tool.h"

namespace velmor {

class LapLayer;

// Lap line: drag the line up or down within its flagged rectangle, drag the rectangle by whole
// zone cells (the line goes with it), or resize it by a corner; the line's Y always stays inside
// the rectangle. A drag is one step ("Move Lap Line"). Battle courses have no lap line.
class LapTool : public Tool
{
    Q_OBJECT

public:
    using Tool::Tool;

    bool press(const ToolEvent &event) override;
    void move(const ToolEvent &event) override;
    bool release(const ToolEvent &event) override;
    void cancel() override;
    void drawPreview(QPainter &painter, const LayerCanvas &canvas) const override;

    static QString stepText(race::LapHandle handle);

private:
    LapLayer &layer() const;
    QRect handleCells() const;

    race::LapHandle mHandle = race::LapHandle::None;
    QPointF mPress;
    rom::LapLine mBefore;
};

} // namespace velmor
