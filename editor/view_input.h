#pragma once

#include "editor/tool.h"

#include <QMouseEvent>

namespace velmor {

// The buttons of the map's press and move rules: left, right and middle as ButtonBit values.
inline int buttonBit(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return LeftButton;
    case Qt::RightButton:
        return RightButton;
    case Qt::MiddleButton:
        return MiddleButton;
    default:
        return 0;
    }
}

inline int buttonBits(Qt::MouseButtons buttons)
{
    int bits = 0;
    for (Qt::MouseButton b : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
        if (buttons & b)
            bits |= buttonBit(b);
    }
    return bits;
}

// A view's mouse event as the tools take it, at a point the view found on the course.
inline ToolEvent toolEventOf(const QMouseEvent &event, QPointF coursePixel)
{
    ToolEvent tool = ToolEvent::at(coursePixel);
    tool.button = buttonBit(event.button());
    tool.buttons = buttonBits(event.buttons());
    tool.modifiers = event.modifiers();
    return tool;
}

} // namespace velmor
