#include "editor/start_tool.h"

#include "document/course_document.h"
#include "document/layer_canvas.h"
#include "document/race_layers.h"
#include "rom/race_map.h"


namespace velmor {

template class HandleDragTool<StartLayer, rom::StartGrid, race::StartHandle>;

StartLayer &StartTool::dragLayer() const
{
    return context().document.start();
}

rom::StartGrid StartTool::dragged(
    const rom::StartGrid &before, race::StartHandle handle, QPointF travel) const
{
    return race::draggedStart(before, handle, travel);
}

QString StartTool::stepText(race::StartHandle handle)
{
    switch (handle) {
    case race::StartHandle::Spacing:
        return tr("Change Start Spacing");
    case race::StartHandle::Side:
        return tr("Change Start Side");
    case race::StartHandle::P1:
        return tr("Move P1 Start");
    case race::StartHandle::P2:
        return tr("Move P2 Start");
    default:
        return tr("Move Start Grid");
    }
}

bool StartTool::press(const ToolEvent &event)
{
    if (event.button != LeftButton || refuseUnreadable(dragLayer()))
        return false;
    const rom::StartGrid &start = dragLayer().value();
    return beginDrag(race::startHandleAt(start, event.coursePixel), event.coursePixel, start);
}

void StartTool::drawPreview(QPainter &painter, const LayerCanvas &canvas) const
{
    if (!dragLayer().unreadableReason().isEmpty() || !dragLayer().isVisible())
        return;
    const rom::StartGrid &start = dragLayer().value();
    if (!std::holds_alternative<rom::RaceStart>(start))
        return;
    drawDragHandle(painter, canvas.toView(race::startHandlePoint(start, race::StartHandle::Spacing)), true);
    drawDragHandle(painter, canvas.toView(race::startHandlePoint(start, race::StartHandle::Side)), false);
}

QRect StartTool::handleCells() const
{
    const rom::StartGrid &start = dragLayer().value();
    QRectF area;
    for (race::StartHandle handle : {race::StartHandle::Grid, race::StartHandle::Spacing,
             race::StartHandle::Side, race::StartHandle::P1, race::StartHandle::P2}) {
        const QPointF at = race::startHandlePoint(start, handle);
        area |= QRectF(at - QPointF(race::HandleReach, race::HandleReach),
            QSizeF(2 * race::HandleReach, 2 * race::HandleReach));
    }
    return cellsOfPixels(area);
}

} // namespace velmor
