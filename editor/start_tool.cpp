#include "editor/start_tool.h"

#include "document/course_document.h"
#include "document/layer_canvas.h"
#include "document/race_layers.h"
#include "rom/race_map.h"

#include <QPainter>
#include <QPen>

namespace velmor {

namespace {

constexpr double HandleSidePx = 7.0;

void drawHandle(QPainter &painter, QPointF at, bool filled)
{
    const QRectF box(at - QPointF(HandleSidePx / 2, HandleSidePx / 2), QSizeF(HandleSidePx, HandleSidePx));
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(filled ? QBrush(Qt::white) : QBrush(Qt::NoBrush));
    painter.drawRect(box);
}

} // namespace

StartLayer &StartTool::layer() const
{
    return context().document.start();
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
    if (event.button != LeftButton || refuseUnreadable(layer()))
        return false;
    mHandle = race::startHandleAt(layer().value(), event.coursePixel);
    if (mHandle == race::StartHandle::None)
        return false;
    mPress = event.coursePixel;
    mBefore = layer().value();
    return true;
}

void StartTool::move(const ToolEvent &event)
{
    // The side switch is a click; its release flips.
    if (mHandle == race::StartHandle::None || mHandle == race::StartHandle::Side)
        return;
    const rom::StartGrid moved = race::draggedStart(mBefore, mHandle, event.coursePixel - mPress);
    if (moved == layer().value())
        return;
    const QRect was = handleCells();
    layer().preview(moved);
    emit previewChanged(was | handleCells());
}

bool StartTool::release(const ToolEvent &event)
{
    if (event.button != LeftButton)
        return false;
    const race::StartHandle handle = std::exchange(mHandle, race::StartHandle::None);
    if (handle == race::StartHandle::None)
        return true;
    const rom::StartGrid final = race::draggedStart(mBefore, handle, event.coursePixel - mPress);
    const QRect was = handleCells();
    if (final != mBefore)
        layer().replace(final, stepText(handle));
    else if (layer().isPreviewing())
        layer().cancelPreview();
    emit previewChanged(was | handleCells());
    return true;
}

void StartTool::cancel()
{
    if (std::exchange(mHandle, race::StartHandle::None) == race::StartHandle::None)
        return;
    const QRect was = handleCells();
    layer().cancelPreview();
    emit previewChanged(was | handleCells());
}

void StartTool::drawPreview(QPainter &painter, const LayerCanvas &canvas) const
{
    if (!layer().unreadableReason().isEmpty() || !layer().isVisible())
        return;
    const rom::StartGrid &start = layer().value();
    if (!std::holds_alternative<rom::RaceStart>(start))
        return;
    drawHandle(painter, canvas.toView(race::startHandlePoint(start, race::StartHandle::Spacing)), true);
    drawHandle(painter, canvas.toView(race::startHandlePoint(start, race::StartHandle::Side)), false);
}

QRect StartTool::handleCells() const
{
    const rom::StartGrid &start = layer().value();
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
