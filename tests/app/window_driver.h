#pragma once

#include "app/splash.h"
#include "editor/map_view.h"
#include "tests/app/window_fixture.h"

#include <QApplication>
#include <QTest>

namespace velmor::test {

// The whole map as the model holds it: what an undo must bring back exactly.
struct MapState
{
    QStringList texts;
    QList<Mark> marks;

    static MapState of(const CourseMap &map) { return {map.texts(), map.marks()}; }
    bool operator==(const MapState &other) const = default;
};

// Drives a shown window as a user does: mouse events go to its QWindow at the pixels of map cells,
// keys go to the window, so Qt finds the widget under the pointer and the shortcuts itself.
struct WindowDriver
{
    ClientWindow *window;

    // Shows the window, waits until it is active (window shortcuts need that) and takes the
    // splash away, so that every visible cell takes paint.
    static bool showForInput(ClientWindow *window)
    {
        QApplication::setQuitOnLastWindowClosed(false);
        window->show();
        if (!QTest::qWaitForWindowActive(window))
            return false;
        window->splash()->hide();
        return true;
    }

    // The middle of a cell, in the window's pixels (the map is not scrolled).
    QPoint at(int row, int column) const
    {
        return window->mapView()->mapTo(window, QPoint(column * 16 + 8, row * 16 + 8));
    }
    void press(int row, int column, Qt::MouseButton button = Qt::LeftButton) const
    {
        QTest::mousePress(window->windowHandle(), button, {}, at(row, column));
    }
    void moveTo(int row, int column) const
    {
        QTest::mouseMove(window->windowHandle(), at(row, column));
    }
    void release(int row, int column, Qt::MouseButton button = Qt::LeftButton) const
    {
        QTest::mouseRelease(window->windowHandle(), button, {}, at(row, column));
    }
    void click(int row, int column, Qt::MouseButton button = Qt::LeftButton) const
    {
        press(row, column, button);
        release(row, column, button);
    }
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers) const
    {
        QTest::keyClick(window, key, modifiers);
    }
    void undo() const { key(Qt::Key_Z, Qt::ControlModifier); }
    void redoShiftZ() const { key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier); }
    void redoY() const { key(Qt::Key_Y, Qt::ControlModifier); }

    MapState state() const { return MapState::of(window->courseMap()); }
    Cell cell(int row, int column) const
    {
        return window->courseMap().cell(cellIndex(row, column));
    }
};

} // namespace velmor::test
