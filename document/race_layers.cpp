#include "document/race_layers.h"

#include "document/layer_canvas.h"
#include "document/race_marks.h"

#include "rom/zone_grid.h"

#include <cmath>

namespace velmor {

namespace {

// Pixels of the game's 16-pixel zone grid cells.
constexpr int ZoneCellPixels = rom::map::ZoneGridSide == 64 ? 16 : 0;
static_assert(ZoneCellPixels * rom::map::ZoneGridSide == CoursePixelSide);

QRectF tileRect(int col, int row, int width = 1, int height = 1)
{
    return QRectF(col * CoursePixelsPerTile, row * CoursePixelsPerTile,
                  width * CoursePixelsPerTile, height * CoursePixelsPerTile);
}

QRectF zoneCellRect(int x, int y, int width = 1, int height = 1)
{
    return QRectF(x * ZoneCellPixels, y * ZoneCellPixels, width * ZoneCellPixels,
                  height * ZoneCellPixels);
}

QRectF itemRect(const rom::OverlayItem &item)
{
    const rom::ItemExtent extent = rom::itemExtent(item.size);
    return tileRect(item.col, item.row, extent.width, extent.height);
}

QRectF markAround(QPointF centre, double radius)
{
    return QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
}

QString itemKindName(rom::ItemKind kind)
{
    switch (kind) {
    case rom::ItemKind::ItemBox:
        return Layer::tr("Item box");
    case rom::ItemKind::UsedBox:
        return Layer::tr("Used item box");
    case rom::ItemKind::DashPlate:
        return Layer::tr("Dash plate");
    case rom::ItemKind::SolidBlock:
        return Layer::tr("Solid block");
    case rom::ItemKind::Oil:
        return Layer::tr("Oil slick");
    case rom::ItemKind::JumpBar:
        return Layer::tr("Jump bar");
    case rom::ItemKind::Coins:
        return Layer::tr("Coins");
    case rom::ItemKind::Unknown:
        break;
    }
    return Layer::tr("Item");
}

} // namespace

QRect cellsOfPixels(const QRectF &coursePixels)
{
    if (coursePixels.isEmpty())
        return {};
    const int left = qMax(0, int(std::floor(coursePixels.left() / CoursePixelsPerTile)));
    const int top = qMax(0, int(std::floor(coursePixels.top() / CoursePixelsPerTile)));
    const int right = qMin(MapSide - 1, int(std::ceil(coursePixels.right() / CoursePixelsPerTile)) - 1);
    const int bottom = qMin(MapSide - 1, int(std::ceil(coursePixels.bottom() / CoursePixelsPerTile)) - 1);
    return right < left || bottom < top ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

// --- where each layer's marks lie, in course pixels; drawing and hit tests share them.

QRectF marks::itemBox(const rom::OverlayItem &item)
{
    return itemRect(item);
}

QRectF marks::objectMark(int col, int row)
{
    return markAround(tileRect(col, row).center(), ObjectRadius);
}

QRectF marks::kartMark(int x, int y)
{
    return markAround(QPointF(x, y), KartRadius);
}

QRectF marks::lapCells(const rom::LapLine &lap)
{
    return zoneCellRect(lap.col, lap.row, lap.w, lap.h);
}

QRectF marks::lapBar(const rom::LapLine &lap)
{
    const QRectF cells = lapCells(lap);
    return QRectF(cells.left(), lap.y - LapBarHalf, cells.width(), 2 * LapBarHalf);
}

QRectF marks::zoneCell(int x, int y)
{
    return zoneCellRect(x, y);
}

QRectF marks::targetMark(const rom::Target &target)
{
    return markAround(tileRect(target.x, target.y).center(), TargetRadius);
}

QPointF marks::targetPoint(const rom::Target &target)
{
    return tileRect(target.x, target.y).center();
}

// --- Items

ItemsLayer::ItemsLayer(QObject *parent)
    : ValueLayer(QStringLiteral("items"), tr("Items"), parent)
{ }

QRect ItemsLayer::cellsOf(const rom::OverlayItems &items) const
{
    QRectF all;
    for (const rom::OverlayItem &item : items)
        all |= marks::itemBox(item).adjusted(-1, -1, 1, 1);
    return cellsOfPixels(all);
}

QString ItemsLayer::describeAt(QPointF coursePixel) const
{
    // The game stamps the list in order: a later item lies over an earlier one.
    const rom::OverlayItems &items = value();
    for (auto item = items.rbegin(); item != items.rend(); ++item) {
        if (marks::itemBox(*item).contains(coursePixel))
            return itemKindName(rom::itemKind(item->pattern));
    }
    return {};
}

// --- Objects

ObjectsLayer::ObjectsLayer(QObject *parent)
    : ValueLayer(QStringLiteral("objects"), tr("Objects"), parent)
{ }

QRect ObjectsLayer::cellsOf(const std::optional<rom::ObjectPositions> &objects) const
{
    if (!objects)
        return {};
    QRectF all;
    for (const rom::ObjectPositions::Group &group : objects->groups) {
        for (const rom::ObjectPlace &place : group)
            all |= marks::objectMark(place.col, place.row).adjusted(-1, -1, 1, 1);
    }
    for (const rom::MatchObject &object : objects->match)
        all |= marks::objectMark(object.col, object.row).adjusted(-1, -1, 1, 1);
    return cellsOfPixels(all);
}

QString ObjectsLayer::describeAt(QPointF coursePixel) const
{
    if (!value())
        return {};
    for (const rom::MatchObject &object : value()->match) {
        if (marks::objectMark(object.col, object.row).contains(coursePixel))
            return tr("Match-race object");
    }
    for (int group = 0; group < rom::map::ObjectGroups; ++group) {
        for (const rom::ObjectPlace &place : value()->groups[std::size_t(group)]) {
            if (place.holdsObject() && marks::objectMark(place.col, place.row).contains(coursePixel))
                return tr("Object, group %1").arg(group);
        }
    }
    return {};
}

// --- Start

StartLayer::StartLayer(QObject *parent)
    : ValueLayer(QStringLiteral("start"), tr("Start grid"), parent)
{ }

QList<QPoint> marks::startPlaces(const rom::StartGrid &start)
{
    QList<QPoint> places;
    if (const auto *race = std::get_if<rom::RaceStart>(&start)) {
        for (const rom::KartPlace &place : rom::kartPlaces(*race))
            places.append(QPoint(place.x, place.y));
    } else {
        const auto &battle = std::get<rom::BattleStart>(start);
        places = {QPoint(battle.p1[0], battle.p1[1]), QPoint(battle.p2[0], battle.p2[1])};
    }
    return places;
}

QRect StartLayer::cellsOf(const rom::StartGrid &start) const
{
    QRectF all;
    for (const QPoint &place : marks::startPlaces(start))
        all |= marks::kartMark(place.x(), place.y()).adjusted(-1, -1, 1, 1);
    return cellsOfPixels(all);
}

QString StartLayer::describeAt(QPointF coursePixel) const
{
    const QList<QPoint> places = marks::startPlaces(value());
    const bool battle = std::holds_alternative<rom::BattleStart>(value());
    for (int i = 0; i < places.size(); ++i) {
        if (marks::kartMark(places[i].x(), places[i].y()).contains(coursePixel))
            return battle ? tr("Player %1 start").arg(i + 1) : tr("Kart place %1").arg(i + 1);
    }
    return {};
}

// --- Lap

LapLayer::LapLayer(QObject *parent)
    : ValueLayer(QStringLiteral("lap"), tr("Lap line"), parent)
{ }

QRect LapLayer::cellsOf(const std::optional<rom::LapLine> &lap) const
{
    if (!lap)
        return {};
    return cellsOfPixels((marks::lapCells(*lap) | marks::lapBar(*lap)).adjusted(-1, -1, 1, 1));
}

QString LapLayer::describeAt(QPointF coursePixel) const
{
    if (value() && (marks::lapBar(*value()).contains(coursePixel)
                    || marks::lapCells(*value()).contains(coursePixel)))
        return tr("Lap line");
    return {};
}

// --- Zones

ZonesLayer::ZonesLayer(QObject *parent)
    : ValueLayer(QStringLiteral("zones"), tr("AI zones"), parent)
{ }

QRect ZonesLayer::cellsOf(const rom::CourseAi &ai) const
{
    QRectF all;
    for (const rom::Zone &zone : ai.zones) {
        for (const rom::ZoneCell &cell : rom::zoneCells(zone))
            all |= marks::zoneCell(cell.x, cell.y);
    }
    // The borders straddle the cells' edges.
    return cellsOfPixels(all.adjusted(-1, -1, 1, 1));
}

std::optional<int> ZonesLayer::zoneAt(QPointF coursePixel) const
{
    if (coursePixel.x() < 0 || coursePixel.y() < 0)
        return std::nullopt;
    const rom::ZoneGrid grid(value().zones);
    return grid.zoneAt(int(coursePixel.x()) / ZoneCellPixels, int(coursePixel.y()) / ZoneCellPixels);
}

QString ZonesLayer::describeAt(QPointF coursePixel) const
{
    if (const std::optional<int> zone = zoneAt(coursePixel))
        return tr("AI zone %1").arg(*zone);
    return {};
}

// --- Targets

TargetsLayer::TargetsLayer(ZonesLayer &zones, QObject *parent)
    : Layer(QStringLiteral("targets"), tr("AI targets"), parent)
    , mZones(zones)
    , mDrawn(cellsOf(zones.value()))
{
    connect(&mZones, &Layer::changed, this, [this] {
        // Whatever changed in the AI may have moved the path: the old one and the new one.
        const QRect now = cellsOf(mZones.value());
        const QRect cells = mDrawn | now;
        mDrawn = now;
        setUnreadable(mZones.unreadableReason());
        if (!cells.isEmpty())
            emit changed(cells);
    });
}

QRect TargetsLayer::cellsOf(const rom::CourseAi &ai) const
{
    QRectF all;
    // A number of three digits is wider than its mark: a tile more on every side holds it.
    for (const rom::Target &target : ai.targets)
        all |= marks::targetMark(target).adjusted(-CoursePixelsPerTile, -CoursePixelsPerTile,
                                                  CoursePixelsPerTile, CoursePixelsPerTile);
    return cellsOfPixels(all);
}

QString TargetsLayer::describeAt(QPointF coursePixel) const
{
    const std::vector<rom::Target> &all = targets();
    // A target's own mark first; elsewhere, where the drivers in the zone under the pointer aim.
    std::optional<int> index;
    for (int i = int(all.size()) - 1; i >= 0 && !index; --i) {
        if (marks::targetMark(all[std::size_t(i)]).contains(coursePixel))
            index = i;
    }
    if (!index)
        index = mZones.zoneAt(coursePixel);
    if (!index || *index >= int(all.size()))
        return {};
    return tr("target %1, speed %2").arg(*index).arg(all[std::size_t(*index)].speed);
}

} // namespace velmor
