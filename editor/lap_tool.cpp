#include "editor/lap_tool.h"

#include "document/course_document.h"
#include "document/layer_canvas.h"
#include "document/race_layers.h"


namespace velmor {

template class HandleDragTool<LapLayer, rom::LapLine, race::LapHandle>;

LapLayer &LapTool::dragLayer() const
{
    return context().document.lap();
}

rom::LapLine LapTool::dragged(
    const rom::LapLine &before, race::LapHandle handle, QPointF travel) const
{
    return race::draggedLap(before, handle, travel);
}

QString LapTool::stepText(race::LapHandle handle)
{
    switch (handle) {
    case race::LapHandle::Line:
        return tr("Move Lap Line");
    case race::LapHandle::Area:
        return tr("Move Lap Line Area");
    default:
        return tr("Resize Lap Line Area");
    }
}

bool LapTool::press(const ToolEvent &event)
{
    if (event.button != LeftButton || refuseUnreadable(dragLayer()))
        return false;
    if (!dragLayer().value()) {
        emit refused(tr("A battle course has no lap line."));
        return false;
    }
    const rom::LapLine &lap = *dragLayer().value();
    return beginDrag(race::lapHandleAt(lap, event.coursePixel), event.coursePixel, lap);
}

void LapTool::drawPreview(QPainter &painter, const LayerCanvas &canvas) const
{
    const LapLayer &lap = dragLayer();
    if (!lap.value() || !lap.unreadableReason().isEmpty() || !lap.isVisible())
        return;
    for (race::LapHandle handle : {race::LapHandle::TopLeft, race::LapHandle::TopRight,
             race::LapHandle::BottomLeft, race::LapHandle::BottomRight})
        drawDragHandle(painter, canvas.toView(race::lapHandlePoint(*lap.value(), handle)));
}

QRect LapTool::handleCells() const
{
    if (!dragLayer().value())
        return {};
    const rom::LapLine &lap = *dragLayer().value();
    // The line as the ROM gave it may lie outside its rectangle.
    const QRectF area = race::lapRect(lap) | QRectF(lap.col * race::ZoneCellPixels, lap.y, 1, 1);
    const double reach = race::HandleReach;
    return cellsOfPixels(area.adjusted(-reach, -reach, reach, reach));
}

} // namespace velmor
