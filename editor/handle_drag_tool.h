#pragma once

#include "editor/tool.h"

#include <QPointF>
#include <QRect>
#include <QString>

#include <utility>

class QPainter;

namespace velmor {

// A drag handle as the race tools draw it: a small square, white or hollow, centred on a point
// of the view.
void drawDragHandle(QPainter &painter, QPointF at, bool filled = true);

// A tool that drags a handle of one layer's whole value: the value at the press is kept, the
// pointer's travel since then is previewed as what the handle makes of it, and the release turns
// that into one named undo step, or into nothing when the value ends as it began. Layer is a
// ValueLayer whose value compares with Value; Handle is an enum whose None means no drag.
template <typename Layer, typename Value, typename Handle>
class HandleDragTool : public Tool
{
public:
    using Tool::Tool;

    void move(const ToolEvent &event) override;
    bool release(const ToolEvent &event) override;
    void cancel() override;

protected:
    // Starts dragging a handle at a press (course pixels); false when it is None.
    bool beginDrag(Handle handle, QPointF press, const Value &before);

    virtual Layer &dragLayer() const = 0;
    virtual Value dragged(const Value &before, Handle handle, QPointF travel) const = 0;
    virtual QString dragStepText(Handle handle) const = 0;
    // The cells the value and its handles cover, for repainting what a step changes.
    virtual QRect handleCells() const = 0;
    // A handle that acts as a click changes nothing while the pointer moves.
    virtual bool followsPointer(Handle) const { return true; }

private:
    Handle mHandle = Handle::None;
    QPointF mPress;
    Value mBefore {};
};

template <typename Layer, typename Value, typename Handle>
bool HandleDragTool<Layer, Value, Handle>::beginDrag(
    Handle handle, QPointF press, const Value &before)
{
    mHandle = handle;
    mPress = press;
    mBefore = before;
    return handle != Handle::None;
}

template <typename Layer, typename Value, typename Handle>
void HandleDragTool<Layer, Value, Handle>::move(const ToolEvent &event)
{
    if (mHandle == Handle::None || !followsPointer(mHandle))
        return;
    const Value moved = dragged(mBefore, mHandle, event.coursePixel - mPress);
    if (dragLayer().value() == moved)
        return;
    const QRect was = handleCells();
    dragLayer().preview(moved);
    emit previewChanged(was | handleCells());
}

template <typename Layer, typename Value, typename Handle>
bool HandleDragTool<Layer, Value, Handle>::release(const ToolEvent &event)
{
    if (event.button != LeftButton)
        return false;
    const Handle handle = std::exchange(mHandle, Handle::None);
    if (handle == Handle::None)
        return true;
    const Value final = dragged(mBefore, handle, event.coursePixel - mPress);
    const QRect was = handleCells();
    if (final != mBefore)
        dragLayer().replace(final, dragStepText(handle));
    else if (dragLayer().isPreviewing())
        dragLayer().cancelPreview();
    emit previewChanged(was | handleCells());
    return true;
}

template <typename Layer, typename Value, typename Handle>
void HandleDragTool<Layer, Value, Handle>::cancel()
{
    if (std::exchange(mHandle, Handle::None) == Handle::None)
        return;
    const QRect was = handleCells();
    dragLayer().cancelPreview();
    emit previewChanged(was | handleCells());
}

} // namespace velmor
