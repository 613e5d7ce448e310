#pragma once

#include "rom/lap_line.h"
#include "rom/object_positions.h"
#include "rom/overlay_items.h"
#include "rom/start_grid.h"

#include <QList>
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QRectF>

// Where the race's things lie on the course and how a drag changes them, in course pixels (eight
// to a tile, 1024 across): the hit tests, handles and snapping the race tools share with their
// tests. Every result stays inside what the game's records can hold.
namespace velmor::race {

// How near (course pixels) a press must come to a handle or a line to take it.
inline constexpr double HandleReach = 5.0;
// A zone cell of the lap line's rectangle, in course pixels.
inline constexpr int ZoneCellPixels = 16;

// --- Items (and objects below) hit where their layers draw them (document/race_marks.h).
QRectF itemRect(const rom::OverlayItem &item);
// The topmost item at a point: the game stamps later records over earlier ones. -1 for none.
int itemAt(const rom::OverlayItems &items, QPointF point);
// The items with the chosen ones moved by whole tiles; the offset is cut short where the first
// of them would leave the map, so the group keeps its shape.
rom::OverlayItems movedItems(
    const rom::OverlayItems &items, const QList<int> &chosen, QPoint tileOffset);

// --- Start grid
enum class StartHandle { None, Grid, Spacing, Side, P1, P2 };
// Race: the grid as a whole (any kart's place), the second column's spacing (kart 2's place)
// and the side switch (where the second column would stand on the other side). Battle: P1, P2.
StartHandle startHandleAt(const rom::StartGrid &start, QPointF point);
QPointF startHandlePoint(const rom::StartGrid &start, StartHandle handle);
// The grid after a drag of a handle by `delta` from `from`. Side flips the second column to the
// other side whatever the delta. Every kart's place stays on the course.
rom::StartGrid draggedStart(const rom::StartGrid &from, StartHandle handle, QPointF delta);

// --- Lap line
enum class LapHandle { None, Line, Area, TopLeft, TopRight, BottomLeft, BottomRight };
QRectF lapRect(const rom::LapLine &lap);
LapHandle lapHandleAt(const rom::LapLine &lap, QPointF point);
QPointF lapHandlePoint(const rom::LapLine &lap, LapHandle handle);
// The line's Y kept inside its flagged rectangle: a line outside it would never count a lap.
int snappedLapY(const rom::LapLine &lap, int y);
// Line moves Y alone; Area moves the rectangle by whole zone cells and the line with it; a
// corner resizes the rectangle (one cell at least). Y ends inside the rectangle.
rom::LapLine draggedLap(const rom::LapLine &from, LapHandle handle, QPointF delta);

// --- Objects
struct ObjectRef
{
    enum class List { None, Group, Match };
    List list = List::None;
    int group = 0; // for List::Group
    int index = 0;

    bool isNone() const { return list == List::None; }
    bool operator==(const ObjectRef &) const = default;
};
// The marker as the objects layer draws it, around the object's tile.
QRectF objectRect(int col, int row);
// Match-race objects first (they are drawn over the groups), then groups 3 to 0.
ObjectRef objectAt(const rom::ObjectPositions &objects, QPointF point);
QPoint objectTile(const rom::ObjectPositions &objects, const ObjectRef &ref);
rom::ObjectPositions movedObject(
    const rom::ObjectPositions &objects, const ObjectRef &ref, QPoint tile);

} // namespace velmor::race
