#include "editor/handle_drag_tool.h"

#include <QPainter>
#include <QPen>

namespace velmor {

void drawDragHandle(QPainter &painter, QPointF at, bool filled)
{
    constexpr double Side = 7.0;
    QPen edge(Qt::black, 1);
    edge.setCosmetic(true);
    painter.setPen(edge);
    painter.setBrush(filled ? QBrush(Qt::white) : QBrush(Qt::NoBrush));
    painter.drawRect(QRectF(at - QPointF(Side / 2, Side / 2), QSizeF(Side, Side)));
}

} // namespace velmor
