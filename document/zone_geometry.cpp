#include "document/zone_geometry.h"

#include "rom/race_map.h"

#include <QtMath>

#include <algorithm>
#include <cstdlib>

namespace velmor {

namespace {

using rom::Zone;
using rom::ZoneShape;

constexpr int Side = rom::map::ZoneGridSide;

bool goesRight(ZoneShape shape)
{
    return shape == ZoneShape::TriangleRightDown || shape == ZoneShape::TriangleRightUp
        || shape == ZoneShape::DiagonalRight;
}

bool goesDown(ZoneShape shape)
{
    return shape != ZoneShape::TriangleLeftUp && shape != ZoneShape::TriangleRightUp;
}

ZoneShape triangle(bool right, bool down)
{
    if (right)
        return down ? ZoneShape::TriangleRightDown : ZoneShape::TriangleRightUp;
    return down ? ZoneShape::TriangleLeftDown : ZoneShape::TriangleLeftUp;
}

int clampSize(int n)
{
    return std::clamp(n, 1, Side);
}

// Shifted, as far as its size allows, so that its cells lie on the grid; its corner always does.
Zone keptOnGrid(Zone zone)
{
    const QRect bounds = zoneBounds(zone);
    if (!bounds.isEmpty()) {
        if (bounds.left() < 0)
            zone.x -= bounds.left();
        else if (bounds.right() >= Side)
            zone.x -= std::min(bounds.right() - (Side - 1), bounds.left());
        if (bounds.top() < 0)
            zone.y -= bounds.top();
        else if (bounds.bottom() >= Side)
            zone.y -= std::min(bounds.bottom() - (Side - 1), bounds.top());
    }
    zone.x = std::clamp(zone.x, 0, Side - 1);
    zone.y = std::clamp(zone.y, 0, Side - 1);
    return zone;
}

// The grid point at the right angle of a triangle, or at the top of a diagonal's first column on
// the side its columns go from.
QPoint anchorPoint(const Zone &zone)
{
    const bool right = goesRight(zone.shape);
    if (rom::isDiagonal(zone.shape))
        return {right ? zone.x : zone.x + 1, zone.y};
    return {right ? zone.x : zone.x + 1, goesDown(zone.shape) ? zone.y : zone.y + 1};
}

} // namespace

QPoint zoneCellAt(QPointF coursePixel)
{
    return {qFloor(coursePixel.x() / ZoneCellPixels), qFloor(coursePixel.y() / ZoneCellPixels)};
}

QPoint snapToZoneGrid(QPointF coursePixel)
{
    return {std::clamp(qRound(coursePixel.x() / ZoneCellPixels), 0, Side),
        std::clamp(qRound(coursePixel.y() / ZoneCellPixels), 0, Side)};
}

bool zoneContains(const Zone &zone, QPoint cell)
{
    if (zone.shape == ZoneShape::Rectangle)
        return QRect(zone.x, zone.y, zone.w, zone.h).contains(cell);
    if (rom::isDiagonal(zone.shape)) {
        // Column k starts k cells lower and holds n - k cells.
        const int k = goesRight(zone.shape) ? cell.x() - zone.x : zone.x - cell.x();
        const int i = cell.y() - zone.y - k;
        return k >= 0 && k < zone.n && i >= 0 && i < zone.n - k;
    }
    // Row k holds n - k cells from x.
    const int k = goesDown(zone.shape) ? cell.y() - zone.y : zone.y - cell.y();
    const int i = goesRight(zone.shape) ? cell.x() - zone.x : zone.x - cell.x();
    return k >= 0 && k < zone.n && i >= 0 && i < zone.n - k;
}

QRect zoneBounds(const Zone &zone)
{
    if (zone.shape == ZoneShape::Rectangle)
        return zone.w > 0 && zone.h > 0 ? QRect(zone.x, zone.y, zone.w, zone.h) : QRect();
    if (zone.n <= 0)
        return {};
    const int left = goesRight(zone.shape) ? zone.x : zone.x - zone.n + 1;
    const int top = goesDown(zone.shape) ? zone.y : zone.y - zone.n + 1;
    return {left, top, zone.n, zone.n};
}

std::optional<int> zoneAt(const rom::CourseAi &ai, QPoint cell)
{
    const int written = std::min(int(ai.zones.size()), rom::map::MaxZones);
    for (int n = written - 1; n >= 0; --n) {
        if (zoneContains(ai.zones[std::size_t(n)], cell))
            return n;
    }
    return std::nullopt;
}

Zone zoneFromDrag(ZoneDraw kind, QPointF pressPixel, QPointF pointerPixel)
{
    const QPoint from = snapToZoneGrid(pressPixel);
    const QPoint to = snapToZoneGrid(pointerPixel);
    const int dx = to.x() - from.x();
    const int dy = to.y() - from.y();
    Zone zone;
    switch (kind) {
    case ZoneDraw::Rectangle:
        zone.x = std::min(from.x(), to.x());
        zone.y = std::min(from.y(), to.y());
        zone.w = std::max(std::abs(dx), 1);
        zone.h = std::max(std::abs(dy), 1);
        break;
    case ZoneDraw::Triangle:
        zone.shape = triangle(dx >= 0, dy >= 0);
        zone.x = dx >= 0 ? from.x() : from.x() - 1;
        zone.y = dy >= 0 ? from.y() : from.y() - 1;
        zone.n = clampSize(std::max(std::abs(dx), std::abs(dy)));
        break;
    case ZoneDraw::DiagonalLeft:
    case ZoneDraw::DiagonalRight: {
        const QPoint cell = zoneCellAt(pressPixel);
        zone.shape = kind == ZoneDraw::DiagonalLeft ? ZoneShape::DiagonalLeft
                                                    : ZoneShape::DiagonalRight;
        zone.x = cell.x();
        zone.y = cell.y();
        zone.n = clampSize(std::max(std::abs(dx), std::abs(dy)));
        break;
    }
    }
    return keptOnGrid(zone);
}

std::vector<ZoneHandlePlace> zoneHandles(const Zone &zone)
{
    const auto at = [](int x, int y) { return QPointF(x * ZoneCellPixels, y * ZoneCellPixels); };
    if (zone.shape == ZoneShape::Rectangle) {
        const int l = zone.x, t = zone.y, r = zone.x + zone.w, b = zone.y + zone.h;
        const int cx = l + zone.w / 2, cy = t + zone.h / 2;
        return {{ZoneHandle::TopLeft, at(l, t)}, {ZoneHandle::Top, at(cx, t)},
            {ZoneHandle::TopRight, at(r, t)}, {ZoneHandle::Right, at(r, cy)},
            {ZoneHandle::BottomRight, at(r, b)}, {ZoneHandle::Bottom, at(cx, b)},
            {ZoneHandle::BottomLeft, at(l, b)}, {ZoneHandle::Left, at(l, cy)}};
    }
    const QPoint anchor = anchorPoint(zone);
    const int sx = goesRight(zone.shape) ? 1 : -1;
    if (rom::isDiagonal(zone.shape))
        return {{ZoneHandle::Size, at(anchor.x() + sx * zone.n, anchor.y() + zone.n)}};
    const int sy = goesDown(zone.shape) ? 1 : -1;
    return {{ZoneHandle::Size, at(anchor.x() + sx * zone.n, anchor.y())},
        {ZoneHandle::Size, at(anchor.x(), anchor.y() + sy * zone.n)}};
}

std::optional<ZoneHandle> zoneHandleAt(const Zone &zone, QPointF coursePixel, qreal radius)
{
    std::optional<ZoneHandle> nearest;
    qreal best = radius;
    for (const ZoneHandlePlace &place : zoneHandles(zone)) {
        const QPointF d = place.pixel - coursePixel;
        const qreal distance = std::max(std::abs(d.x()), std::abs(d.y()));
        if (distance <= best) {
            best = distance;
            nearest = place.handle;
        }
    }
    return nearest;
}

Zone resizeZone(const Zone &zone, ZoneHandle handle, QPointF pointerPixel)
{
    const QPoint to = snapToZoneGrid(pointerPixel);
    Zone resized = zone;
    if (zone.shape != ZoneShape::Rectangle) {
        const QPoint anchor = anchorPoint(zone);
        const int along = goesRight(zone.shape) ? to.x() - anchor.x() : anchor.x() - to.x();
        const int down = rom::isDiagonal(zone.shape) || goesDown(zone.shape) ? to.y() - anchor.y()
                                                                               : anchor.y() - to.y();
        resized.n = clampSize(std::max(along, down));
        return keptOnGrid(resized);
    }
    int l = zone.x, t = zone.y, r = zone.x + zone.w, b = zone.y + zone.h;
    const bool left = handle == ZoneHandle::TopLeft || handle == ZoneHandle::Left
        || handle == ZoneHandle::BottomLeft;
    const bool right = handle == ZoneHandle::TopRight || handle == ZoneHandle::Right
        || handle == ZoneHandle::BottomRight;
    const bool top = handle == ZoneHandle::TopLeft || handle == ZoneHandle::Top
        || handle == ZoneHandle::TopRight;
    const bool bottom = handle == ZoneHandle::BottomLeft || handle == ZoneHandle::Bottom
        || handle == ZoneHandle::BottomRight;
    // An edge stops one cell before the opposite one: a zone never turns inside out.
    if (left)
        l = std::min(to.x(), r - 1);
    if (right)
        r = std::max(to.x(), l + 1);
    if (top)
        t = std::min(to.y(), b - 1);
    if (bottom)
        b = std::max(to.y(), t + 1);
    resized.x = l;
    resized.y = t;
    resized.w = r - l;
    resized.h = b - t;
    return resized;
}

Zone movedZone(const Zone &zone, QPoint cells)
{
    Zone moved = zone;
    moved.x += cells.x();
    moved.y += cells.y();
    return keptOnGrid(moved);
}

ZoneShape nextZoneShape(ZoneShape shape)
{
    return ZoneShape((int(shape) + 2) % (int(ZoneShape::DiagonalRight) + 2));
}

Zone reshapedZone(const Zone &zone, ZoneShape shape)
{
    QRect bounds = zoneBounds(zone);
    if (bounds.isEmpty())
        bounds = QRect(zone.x, zone.y, 1, 1);
    Zone reshaped;
    reshaped.shape = shape;
    if (shape == ZoneShape::Rectangle) {
        reshaped.x = bounds.left();
        reshaped.y = bounds.top();
        reshaped.w = bounds.width();
        reshaped.h = bounds.height();
        return keptOnGrid(reshaped);
    }
    reshaped.n = clampSize(std::max(bounds.width(), bounds.height()));
    if (rom::isDiagonal(shape))
        reshaped.a = rom::isDiagonal(zone.shape) ? zone.a : 0;
    // The corner the shape grows from, at the matching corner of the same bounds.
    const int far = reshaped.n - 1;
    reshaped.x = goesRight(shape) ? bounds.left() : bounds.left() + far;
    reshaped.y = goesDown(shape) ? bounds.top() : bounds.top() + far;
    return keptOnGrid(reshaped);
}

Zone duplicatedZone(const Zone &zone)
{
    Zone copy = zone;
    copy.x += 1;
    copy.y += 1;
    const QRect bounds = zoneBounds(copy);
    if (bounds.right() >= Side || copy.x >= Side)
        copy.x -= 2;
    if (bounds.bottom() >= Side || copy.y >= Side)
        copy.y -= 2;
    return keptOnGrid(copy);
}

bool targetInZone(const rom::Target &target, const Zone &zone)
{
    return zoneContains(zone, QPoint(target.x / ZoneCellTiles, target.y / ZoneCellTiles));
}

} // namespace velmor
