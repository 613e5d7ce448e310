#pragma once

#include <QPoint>

namespace velmor::test {

// The middle of a cell of the visible map, in the map widget's pixels (16-pixel pitch): where a
// test points the mouse to paint that cell.
inline QPoint cellCentre(int row, int column)
{
    constexpr int Pitch = 16;
    return QPoint(column * Pitch + Pitch / 2, row * Pitch + Pitch / 2);
}

} // namespace velmor::test
