#include "editor/tool.h"

#include "document/layer.h"
#include "document/layer_canvas.h"
#include "editor/edit_result.h"
#include "editor/tool_preview.h"

namespace velmor {

ToolEvent ToolEvent::at(QPointF coursePixel)
{
    ToolEvent event;
    event.coursePixel = coursePixel;
    event.cell = cellAt(coursePixel);
    return event;
}

std::optional<Cell> ToolContext::inkFor(int button) const
{
    const Palettes current = palettes ? palettes() : Palettes();
    switch (button) {
    case LeftButton:
        return Cell {current.left, Mark::Painted};
    case RightButton:
        return Cell {current.right, Mark::Painted};
    case MiddleButton:
        return Cell {CourseMap::freshText(), Mark::Erased};
    default:
        return std::nullopt;
    }
}

Tool::Tool(ToolContext &context, QObject *parent)
    : QObject(parent)
    , mContext(context)
{ }

void Tool::drawPreview(QPainter &, const LayerCanvas &) const { }

QRect Tool::previewBounds() const
{
    return mContext.preview.bounds();
}

void Tool::notifyPreview(const QRect &before)
{
    const QRect cells = before | mContext.preview.bounds();
    if (!cells.isEmpty())
        emit previewChanged(cells);
}

bool Tool::refuseUnreadable(const Layer &layer)
{
    if (layer.unreadableReason().isEmpty())
        return false;
    emit refused(tr("The %1 cannot be edited: %2").arg(layer.title().toLower(), layer.unreadableReason()));
    return true;
}

void Tool::report(const EditResult &result)
{
    if (result.isRefused())
        emit refused(result.error);
}

} // namespace velmor
