#pragma once

#include "editor/race_geometry.h"
#include "editor/tool.h"

namespace velmor {

class StartLayer;

// Start: drag the grid as a whole by any kart's place; the handle at the second kart's place
// sets how far the second column stands from the first, and a click on the handle opposite it
// puts that column on the other side. Battle courses: drag P1 or P2. A drag is one step ("Move
// Start Grid").
class StartTool : public Tool
{
    Q_OBJECT

public:
    using Tool::Tool;

    bool press(const ToolEvent &event) override;
    void move(const ToolEvent &event) override;
    bool release(const ToolEvent &event) override;
    void cancel() override;
    void drawPreview(QPainter &painter, const LayerCanvas &canvas) const override;

    static QString stepText(race::StartHandle handle);

private:
    StartLayer &layer() const;
    // The cells the grid and its handles cover, for repainting.
    QRect handleCells() const;

    race::StartHandle mHandle = race::StartHandle::None;
    QPointF mPress;
    rom::StartGrid mBefore;
};

} // namespace velmor
