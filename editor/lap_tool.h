#pragma once

#include "editor/handle_drag_tool.h"
#include "editor/race_geometry.h"

namespace velmor {

class LapLayer;

// Lap line: drag the line up or down within its flagged rectangle, drag the rectangle by whole
// zone cells (the line goes with it), or resize it by a corner; the line's Y always stays inside
// the rectangle. A drag is one step ("Move Lap Line"). Battle courses have no lap line.
using LapDrag = HandleDragTool<LapLayer, rom::LapLine, race::LapHandle>;
extern template class HandleDragTool<LapLayer, rom::LapLine, race::LapHandle>;

class LapTool : public LapDrag
{
    Q_OBJECT

public:
    using LapDrag::LapDrag;

    bool press(const ToolEvent &event) override;
    void drawPreview(QPainter &painter, const LayerCanvas &canvas) const override;

    static QString stepText(race::LapHandle handle);

private:
    LapLayer &dragLayer() const override;
    rom::LapLine dragged(const rom::LapLine &before, race::LapHandle handle,
        QPointF travel) const override;
    QString dragStepText(race::LapHandle handle) const override { return stepText(handle); }
    QRect handleCells() const override;
};

} // namespace velmor
