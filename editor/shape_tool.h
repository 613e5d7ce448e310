#pragma once

#include "editor/tool.h"

namespace velmor {

// Line and Rectangle: press, drag, release. The preview shows the cells the shape would write
// until the release writes them as one step; a rectangle is filled when Shift is held at the
// release. A palette text that is no tile number is refused at the press, before any drag.
class ShapeTool : public Tool
{
    Q_OBJECT

public:
    enum class Shape { Line, Rectangle };

    ShapeTool(Shape shape, ToolContext &context, QObject *parent = nullptr);

    bool press(const ToolEvent &event) override;
    void move(const ToolEvent &event) override;
    bool release(const ToolEvent &event) override;
    void cancel() override;

private:
    void update(QPoint cell, Qt::KeyboardModifiers modifiers);

    Shape mShape;
    int mButton = 0;
    QPoint mAnchor;
    QPoint mLast;
    bool mLastFilled = false;
};

} // namespace velmor
