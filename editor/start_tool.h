#pragma once

#include "editor/handle_drag_tool.h"
#include "editor/race_geometry.h"

namespace velmor {

class StartLayer;

// Start: drag the grid as a whole by any kart's place; the handle at the second kart's place
// sets how far the second column stands from the first, and a click on the handle opposite it
// puts that column on the other side. Battle courses: drag P1 or P2. A drag is one step ("Move
// Start Grid").
using StartDrag = HandleDragTool<StartLayer, rom::StartGrid, race::StartHandle>;
extern template class HandleDragTool<StartLayer, rom::StartGrid, race::StartHandle>;

class StartTool : public StartDrag
{
    Q_OBJECT

public:
    using StartDrag::StartDrag;

    bool press(const ToolEvent &event) override;
    void drawPreview(QPainter &painter, const LayerCanvas &canvas) const override;

    static QString stepText(race::StartHandle handle);

private:
    StartLayer &dragLayer() const override;
    rom::StartGrid dragged(const rom::StartGrid &before, race::StartHandle handle,
        QPointF travel) const override;
    QString dragStepText(race::StartHandle handle) const override { return stepText(handle); }
    QRect handleCells() const override;
    // The side switch is a click: its release flips the column.
    bool followsPointer(race::StartHandle handle) const override
    {
        return handle != race::StartHandle::Side;
    }
};

} // namespace velmor
