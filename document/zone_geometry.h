#pragma once

#include "rom/course_ai.h"

#include <QPoint>
#include <QPointF>
#include <QRect>

#include <optional>
#include <vector>

// The AI zones as the editor handles them on the map: which zone lies under a point, the handles
// that resize one, zones made from a drag over the 16-pixel zone grid, moved, reshaped and copied.
// Zones are in cells of the 64 x 64 zone grid (2 x 2 tiles); points are course pixels.
namespace velmor {

inline constexpr int ZoneCellPixels = 16;
inline constexpr int ZoneCellTiles = 2;

// The cell under a course pixel, and the grid line (a cell corner) nearest to it: zones snap to it.
QPoint zoneCellAt(QPointF coursePixel);
QPoint snapToZoneGrid(QPointF coursePixel);

// Whether the zone covers the cell, by the game's rules for its shape (as rom::zoneCells).
bool zoneContains(const rom::Zone &zone, QPoint cell);
// The cells the shape spans, grid or not; empty for a zone without cells.
QRect zoneBounds(const rom::Zone &zone);
// The number of the zone a kart on the cell is in: the last one over it, as the game writes them.
std::optional<int> zoneAt(const rom::CourseAi &ai, QPoint cell);

// What a drag makes: a rectangle over the span of its two grid points; a triangle with its right
// angle at the press, going the way the drag goes (its four shapes), as large as the longer side
// of the drag; a diagonal from its top at the press cell. Empty spans give a one-cell zone.
enum class ZoneDraw { Rectangle, Triangle, DiagonalLeft, DiagonalRight };
rom::Zone zoneFromDrag(ZoneDraw kind, QPointF pressPixel, QPointF pointerPixel);

// The handles of a selected zone: a rectangle's corners and sides, the ends of a triangle's two
// legs, a diagonal's lowest cell. Each is a grid point.
enum class ZoneHandle { TopLeft, Top, TopRight, Right, BottomRight, Bottom, BottomLeft, Left, Size };
struct ZoneHandlePlace
{
    ZoneHandle handle;
    QPointF pixel;
};
std::vector<ZoneHandlePlace> zoneHandles(const rom::Zone &zone);
std::optional<ZoneHandle> zoneHandleAt(const rom::Zone &zone, QPointF coursePixel, qreal radius);
// The zone with `handle` dragged to the grid point nearest the pointer; at least one cell.
rom::Zone resizeZone(const rom::Zone &zone, ZoneHandle handle, QPointF pointerPixel);

// Moved by whole cells, kept with its corner on the grid.
rom::Zone movedZone(const rom::Zone &zone, QPoint cells);
// The next shape in the game's order (rectangle, the four triangles, the two diagonals, then a
// rectangle again), over the same bounds as far as the shape allows.
rom::ZoneShape nextZoneShape(rom::ZoneShape shape);
rom::Zone reshapedZone(const rom::Zone &zone, rom::ZoneShape shape);
// A copy one cell right and down (left or up where the grid ends), to be seen beside its original.
rom::Zone duplicatedZone(const rom::Zone &zone);

// A target's tile lies in its zone's cells.
bool targetInZone(const rom::Target &target, const rom::Zone &zone);

} // namespace velmor
