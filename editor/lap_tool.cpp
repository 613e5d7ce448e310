#include "editor/lap_tool.h"

#include "document/course_document.h"
#include "document/layer_canvas.h"
#include "document/race_layers.h"

#include <QPainter>
#include <QPen>

namespace velmor {

namespace {

constexpr double HandleSidePx = 7.0;

} // namespace

LapLayer &LapTool::layer() const
{
    return context().document.lap();
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
    if (event.button != LeftButton || refuseUnreadable(layer()))
        return false;
    if (!layer().value()) {
        emit refused(tr("A battle course has no lap line."));
        return false;
    }
    mHandle = race::lapHandleAt(*layer().value(), event.coursePixel);
    if (mHandle == race::LapHandle::None)
        return false;
    mPress = event.coursePixel;
    mBefore = *layer().value();
    return true;
}

void LapTool::move(const ToolEvent &event)
{
    if (mHandle == race::LapHandle::None)
        return;
    const rom::LapLine moved = race::draggedLap(mBefore, mHandle, event.coursePixel - mPress);
    if (layer().value() == moved)
        return;
    const QRect was = handleCells();
    layer().preview(moved);
    emit previewChanged(was | handleCells());
}

bool LapTool::release(const ToolEvent &event)
{
    if (event.button != LeftButton)
        return false;
    const race::LapHandle handle = std::exchange(mHandle, race::LapHandle::None);
    if (handle == race::LapHandle::None)
        return true;
    const rom::LapLine final = race::draggedLap(mBefore, handle, event.coursePixel - mPress);
    const QRect was = handleCells();
    if (final != mBefore)
        layer().replace(final, stepText(handle));
    else if (layer().isPreviewing())
        layer().cancelPreview();
    emit previewChanged(was | handleCells());
    return true;
}

void LapTool::cancel()
{
    if (std::exchange(mHandle, race::LapHandle::None) == race::LapHandle::None)
        return;
    const QRect was = handleCells();
    layer().cancelPreview();
    emit previewChanged(was | handleCells());
}

void LapTool::drawPreview(QPainter &painter, const LayerCanvas &canvas) const
{
    if (!layer().value() || !layer().unreadableReason().isEmpty() || !layer().isVisible())
        return;
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::white);
    for (race::LapHandle handle : {race::LapHandle::TopLeft, race::LapHandle::TopRight,
             race::LapHandle::BottomLeft, race::LapHandle::BottomRight}) {
        const QPointF at = canvas.toView(race::lapHandlePoint(*layer().value(), handle));
        painter.drawRect(QRectF(at - QPointF(HandleSidePx / 2, HandleSidePx / 2),
            QSizeF(HandleSidePx, HandleSidePx)));
    }
}

QRect LapTool::handleCells() const
{
    if (!layer().value())
        return {};
    const rom::LapLine &lap = *layer().value();
    // The line as the ROM gave it may lie outside its rectangle.
    const QRectF area = race::lapRect(lap) | QRectF(lap.col * race::ZoneCellPixels, lap.y, 1, 1);
    const double reach = race::HandleReach;
    return cellsOfPixels(area.adjusted(-reach, -reach, reach, reach));
}

} // namespace velmor
