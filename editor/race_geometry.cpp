#include "editor/race_geometry.h"

#include "document/race_marks.h"
#include "rom/race_map.h"

#include <QLineF>

#include <algorithm>
#include <cmath>

namespace velmor::race {

namespace {

constexpr int LastPixel = rom::map::CoursePixels - 1;
constexpr int LastTile = rom::map::MapSide - 1;
constexpr int ZoneSide = rom::map::ZoneGridSide;
constexpr int Spacing = rom::map::StartKartSpacing;
constexpr int LastKart = rom::map::StartKarts - 1;
// A press on a kart's mark, as the start layer draws it, takes the grid.
constexpr double KartReach = marks::KartRadius;

bool near(QPointF a, QPointF b, double reach)
{
    return QLineF(a, b).length() <= reach;
}

int rounded(double value)
{
    return int(std::lround(value));
}

} // namespace

QRectF itemRect(const rom::OverlayItem &item)
{
    return marks::itemBox(item);
}

int itemAt(const rom::OverlayItems &items, QPointF point)
{
    for (int i = int(items.size()) - 1; i >= 0; --i) {
        if (itemRect(items[std::size_t(i)]).contains(point))
            return i;
    }
    return -1;
}

rom::OverlayItems movedItems(
    const rom::OverlayItems &items, const QList<int> &chosen, QPoint tileOffset)
{
    int dx = tileOffset.x();
    int dy = tileOffset.y();
    for (int i : chosen) {
        if (i < 0 || i >= int(items.size()))
            continue;
        const rom::OverlayItem &item = items[std::size_t(i)];
        const rom::ItemExtent extent = rom::itemExtent(item.size);
        dx = std::clamp(dx, -item.col, rom::map::MapSide - extent.width - item.col);
        dy = std::clamp(dy, -item.row, rom::map::MapSide - extent.height - item.row);
    }
    rom::OverlayItems moved = items;
    for (int i : chosen) {
        if (i < 0 || i >= int(items.size()))
            continue;
        moved[std::size_t(i)].col += dx;
        moved[std::size_t(i)].row += dy;
    }
    return moved;
}

StartHandle startHandleAt(const rom::StartGrid &start, QPointF point)
{
    if (std::holds_alternative<rom::BattleStart>(start)) {
        // P2 is drawn over P1.
        for (StartHandle handle : {StartHandle::P2, StartHandle::P1}) {
            if (near(point, startHandlePoint(start, handle), KartReach))
                return handle;
        }
        return StartHandle::None;
    }
    for (StartHandle handle : {StartHandle::Spacing, StartHandle::Side}) {
        if (near(point, startHandlePoint(start, handle), HandleReach))
            return handle;
    }
    for (const rom::KartPlace &place : rom::kartPlaces(std::get<rom::RaceStart>(start))) {
        if (near(point, QPointF(place.x, place.y), KartReach))
            return StartHandle::Grid;
    }
    return StartHandle::None;
}

QPointF startHandlePoint(const rom::StartGrid &start, StartHandle handle)
{
    if (const auto *battle = std::get_if<rom::BattleStart>(&start)) {
        const auto &p = handle == StartHandle::P2 ? battle->p2 : battle->p1;
        return QPointF(p[0], p[1]);
    }
    const rom::RaceStart &race = std::get<rom::RaceStart>(start);
    switch (handle) {
    case StartHandle::Spacing:
        return QPointF(race.x + race.w, race.y + Spacing);
    case StartHandle::Side:
        return QPointF(race.x - race.w, race.y + Spacing);
    default:
        return QPointF(race.x, race.y);
    }
}

rom::StartGrid draggedStart(const rom::StartGrid &from, StartHandle handle, QPointF delta)
{
    const int dx = rounded(delta.x());
    const int dy = rounded(delta.y());
    if (const auto *battle = std::get_if<rom::BattleStart>(&from)) {
        rom::BattleStart moved = *battle;
        if (handle == StartHandle::P1 || handle == StartHandle::P2) {
            auto &p = handle == StartHandle::P2 ? moved.p2 : moved.p1;
            p[0] = std::clamp(p[0] + dx, 0, LastPixel);
            p[1] = std::clamp(p[1] + dy, 0, LastPixel);
        }
        return moved;
    }
    rom::RaceStart race = std::get<rom::RaceStart>(from);
    switch (handle) {
    case StartHandle::Grid:
        // Both columns and the last row stay on the course.
        race.x = std::clamp(race.x + dx, std::max(0, -race.w), LastPixel - std::max(0, race.w));
        race.y = std::clamp(race.y + dy, 0, LastPixel - Spacing * LastKart);
        break;
    case StartHandle::Spacing:
        race.w = std::clamp(race.w + dx, -race.x, LastPixel - race.x);
        break;
    case StartHandle::Side:
        if (race.x - race.w >= 0 && race.x - race.w <= LastPixel)
            race.w = -race.w;
        break;
    default:
        break;
    }
    return race;
}

QRectF lapRect(const rom::LapLine &lap)
{
    return QRectF(lap.col * ZoneCellPixels, lap.row * ZoneCellPixels, lap.w * ZoneCellPixels,
        lap.h * ZoneCellPixels);
}

QPointF lapHandlePoint(const rom::LapLine &lap, LapHandle handle)
{
    const QRectF area = lapRect(lap);
    switch (handle) {
    case LapHandle::TopLeft:
        return area.topLeft();
    case LapHandle::TopRight:
        return area.topRight();
    case LapHandle::BottomLeft:
        return area.bottomLeft();
    case LapHandle::BottomRight:
        return area.bottomRight();
    default:
        return QPointF(area.center().x(), lap.y);
    }
}

LapHandle lapHandleAt(const rom::LapLine &lap, QPointF point)
{
    for (LapHandle handle : {LapHandle::TopLeft, LapHandle::TopRight, LapHandle::BottomLeft,
             LapHandle::BottomRight}) {
        if (near(point, lapHandlePoint(lap, handle), HandleReach))
            return handle;
    }
    const QRectF area = lapRect(lap);
    if (point.x() >= area.left() && point.x() <= area.right()
        && std::abs(point.y() - lap.y) <= HandleReach)
        return LapHandle::Line;
    return area.contains(point) ? LapHandle::Area : LapHandle::None;
}

int snappedLapY(const rom::LapLine &lap, int y)
{
    const int top = lap.row * ZoneCellPixels;
    const int bottom = std::max(top, (lap.row + lap.h) * ZoneCellPixels - 1);
    return std::clamp(y, top, std::min(bottom, LastPixel));
}

rom::LapLine draggedLap(const rom::LapLine &from, LapHandle handle, QPointF delta)
{
    rom::LapLine lap = from;
    const int cellsX = rounded(delta.x() / ZoneCellPixels);
    const int cellsY = rounded(delta.y() / ZoneCellPixels);
    const bool left = handle == LapHandle::TopLeft || handle == LapHandle::BottomLeft;
    const bool top = handle == LapHandle::TopLeft || handle == LapHandle::TopRight;
    switch (handle) {
    case LapHandle::None:
        return from;
    case LapHandle::Line:
        lap.y = from.y + rounded(delta.y());
        break;
    case LapHandle::Area:
        lap.col = std::clamp(from.col + cellsX, 0, ZoneSide - from.w);
        lap.row = std::clamp(from.row + cellsY, 0, ZoneSide - from.h);
        lap.y = from.y + (lap.row - from.row) * ZoneCellPixels;
        break;
    default: {
        // The far edges stay; the dragged ones move by whole cells, one cell apart at least.
        int x0 = from.col, x1 = from.col + from.w, y0 = from.row, y1 = from.row + from.h;
        if (left)
            x0 = std::clamp(x0 + cellsX, 0, x1 - 1);
        else
            x1 = std::clamp(x1 + cellsX, x0 + 1, ZoneSide);
        if (top)
            y0 = std::clamp(y0 + cellsY, 0, y1 - 1);
        else
            y1 = std::clamp(y1 + cellsY, y0 + 1, ZoneSide);
        lap.col = x0;
        lap.w = x1 - x0;
        lap.row = y0;
        lap.h = y1 - y0;
        break;
    }
    }
    lap.y = snappedLapY(lap, lap.y);
    return lap;
}

QRectF objectRect(int col, int row)
{
    return marks::objectMark(col, row);
}

ObjectRef objectAt(const rom::ObjectPositions &objects, QPointF point)
{
    for (int i = int(objects.match.size()) - 1; i >= 0; --i) {
        const rom::MatchObject &object = objects.match[std::size_t(i)];
        if (objectRect(object.col, object.row).contains(point))
            return {ObjectRef::List::Match, 0, i};
    }
    for (int g = int(objects.groups.size()) - 1; g >= 0; --g) {
        const auto &group = objects.groups[std::size_t(g)];
        for (int i = int(group.size()) - 1; i >= 0; --i) {
            const rom::ObjectPlace &place = group[std::size_t(i)];
            if (place.holdsObject() && objectRect(place.col, place.row).contains(point))
                return {ObjectRef::List::Group, g, i};
        }
    }
    return {};
}

QPoint objectTile(const rom::ObjectPositions &objects, const ObjectRef &ref)
{
    if (ref.list == ObjectRef::List::Match && ref.index < int(objects.match.size())) {
        const rom::MatchObject &object = objects.match[std::size_t(ref.index)];
        return QPoint(object.col, object.row);
    }
    if (ref.list == ObjectRef::List::Group) {
        const rom::ObjectPlace &place
            = objects.groups[std::size_t(ref.group)][std::size_t(ref.index)];
        return QPoint(place.col, place.row);
    }
    return {};
}

rom::ObjectPositions movedObject(
    const rom::ObjectPositions &objects, const ObjectRef &ref, QPoint tile)
{
    rom::ObjectPositions moved = objects;
    const int col = std::clamp(tile.x(), 0, LastTile);
    const int row = std::clamp(tile.y(), 0, LastTile);
    if (ref.list == ObjectRef::List::Match && ref.index < int(moved.match.size())) {
        moved.match[std::size_t(ref.index)].col = col;
        moved.match[std::size_t(ref.index)].row = row;
    } else if (ref.list == ObjectRef::List::Group) {
        rom::ObjectPlace &place = moved.groups[std::size_t(ref.group)][std::size_t(ref.index)];
        place = {col, row};
    }
    return moved;
}

} // namespace velmor::race
