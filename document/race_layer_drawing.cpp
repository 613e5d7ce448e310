#include "document/race_layers.h"

#include "document/layer_canvas.h"
#include "document/race_marks.h"

#include "rom/zone_grid.h"

#include <QPainter>
#include <QPainterPath>

#include <array>
#include <cmath>

// How the race layers look. Every mark is placed by race_marks.h, in course pixels, and drawn
// through the canvas, so a view of any scale shows the same picture.
namespace velmor {

namespace {

// Below this many view pixels a tile, numbers would only smear the map.
constexpr double NumbersFrom = 2.0;

const std::array<QColor, rom::map::ObjectGroups> GroupColours = {
    QColor(230, 60, 60), QColor(60, 120, 240), QColor(40, 190, 80), QColor(200, 70, 220)};
// Slow to fast.
const std::array<QColor, rom::map::MaxSpeedClass + 1> SpeedColours = {
    QColor(220, 40, 40), QColor(245, 150, 30), QColor(235, 220, 40), QColor(60, 210, 90)};

QColor zoneColour(int zone, int alpha)
{
    // The golden ratio spreads neighbouring numbers far apart on the colour wheel.
    const double hue = std::fmod(zone * 0.618033988749895, 1.0);
    QColor colour = QColor::fromHsvF(float(hue), 0.75f, 1.0f);
    colour.setAlpha(alpha);
    return colour;
}

bool showsNumbers(const LayerCanvas &canvas)
{
    return canvas.pixelsPerTile() >= NumbersFrom;
}

void setNumberFont(QPainter &painter, const LayerCanvas &canvas, double tiles)
{
    QFont font = painter.font();
    font.setPixelSize(qBound(6, int(std::lround(canvas.pixelsPerTile() * tiles)), 16));
    font.setBold(true);
    painter.setFont(font);
}

// Dark text with a light halo, readable over any tile.
void drawNumber(QPainter &painter, const QRectF &box, const QString &text)
{
    painter.setPen(QColor(255, 255, 255, 200));
    for (const QPointF shift : {QPointF(-1, 0), QPointF(1, 0), QPointF(0, -1), QPointF(0, 1)})
        painter.drawText(box.translated(shift), Qt::AlignCenter, text);
    painter.setPen(Qt::black);
    painter.drawText(box, Qt::AlignCenter, text);
}

bool meets(const LayerCanvas &canvas, const QRectF &view)
{
    return canvas.exposed().intersects(view.adjusted(-2, -2, 2, 2));
}

QPen cosmetic(const QColor &colour, double width = 1.5)
{
    QPen pen(colour, width);
    pen.setCosmetic(true);
    return pen;
}

void drawItemGlyph(QPainter &painter, rom::ItemKind kind, const QRectF &box)
{
    const QRectF inner = box.adjusted(box.width() * 0.2, box.height() * 0.2, -box.width() * 0.2,
                                      -box.height() * 0.2);
    switch (kind) {
    case rom::ItemKind::ItemBox:
        painter.setPen(cosmetic(QColor(255, 200, 0), 2));
        painter.setBrush(QColor(255, 220, 60, 90));
        painter.drawRect(box);
        painter.setPen(Qt::black);
        painter.drawText(box, Qt::AlignCenter, QStringLiteral("?"));
        break;
    case rom::ItemKind::UsedBox:
        painter.setPen(cosmetic(QColor(150, 150, 150)));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(box);
        painter.drawLine(inner.topLeft(), inner.bottomRight());
        painter.drawLine(inner.topRight(), inner.bottomLeft());
        break;
    case rom::ItemKind::DashPlate: {
        painter.setPen(cosmetic(QColor(0, 220, 255), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(box);
        const QPointF chevron[] = {inner.bottomLeft(), QPointF(inner.center().x(), inner.top()),
                                   inner.bottomRight()};
        painter.drawPolyline(chevron, 3);
        break;
    }
    case rom::ItemKind::SolidBlock:
        painter.setPen(cosmetic(Qt::black));
        painter.setBrush(QColor(90, 90, 90, 200));
        painter.drawRect(box);
        break;
    case rom::ItemKind::Oil:
        painter.setPen(cosmetic(QColor(60, 60, 60)));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(box);
        painter.setBrush(QColor(20, 20, 20, 220));
        painter.drawEllipse(inner);
        break;
    case rom::ItemKind::JumpBar: {
        painter.setPen(cosmetic(QColor(200, 120, 40), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(box);
        // Stripes across the bar's long side.
        const bool across = box.width() >= box.height();
        for (int i = 1; i <= 3; ++i) {
            const double t = i / 4.0;
            if (across)
                painter.drawLine(QPointF(box.left() + box.width() * t, inner.top()),
                                 QPointF(box.left() + box.width() * t, inner.bottom()));
            else
                painter.drawLine(QPointF(inner.left(), box.top() + box.height() * t),
                                 QPointF(inner.right(), box.top() + box.height() * t));
        }
        break;
    }
    case rom::ItemKind::Coins: {
        painter.setPen(cosmetic(QColor(230, 180, 0)));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(box);
        painter.setPen(cosmetic(QColor(120, 80, 0)));
        painter.setBrush(QColor(255, 210, 0));
        const double r = qMin(box.width(), box.height()) * 0.15;
        for (const QPointF at : {inner.topLeft(), inner.topRight(), inner.bottomLeft(),
                                 inner.bottomRight(), inner.center()})
            painter.drawEllipse(at, r, r);
        break;
    }
    case rom::ItemKind::Unknown:
        painter.setPen(cosmetic(Qt::white));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(box);
        break;
    }
}

} // namespace

void ItemsLayer::draw(QPainter &painter, const LayerCanvas &canvas) const
{
    if (!unreadableReason().isEmpty())
        return;
    painter.save();
    setNumberFont(painter, canvas, 1.4);
    for (const rom::OverlayItem &item : value()) {
        const QRectF box = canvas.toView(marks::itemBox(item));
        if (meets(canvas, box))
            drawItemGlyph(painter, rom::itemKind(item.pattern), box);
    }
    painter.restore();
}

void ObjectsLayer::draw(QPainter &painter, const LayerCanvas &canvas) const
{
    if (!value() || !unreadableReason().isEmpty())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    setNumberFont(painter, canvas, 0.9);
    const auto diamond = [](const QRectF &box) {
        const QPointF points[] = {QPointF(box.center().x(), box.top()),
                                  QPointF(box.right(), box.center().y()),
                                  QPointF(box.center().x(), box.bottom()),
                                  QPointF(box.left(), box.center().y())};
        return QPolygonF(QList<QPointF>(std::begin(points), std::end(points)));
    };
    for (int group = 0; group < rom::map::ObjectGroups; ++group) {
        painter.setPen(cosmetic(Qt::black, 1));
        painter.setBrush(GroupColours[std::size_t(group)]);
        for (const rom::ObjectPlace &place : value()->groups[std::size_t(group)]) {
            const QRectF box = canvas.toView(marks::objectMark(place.col, place.row));
            if (!place.holdsObject() || !meets(canvas, box))
                continue;
            painter.drawPolygon(diamond(box));
            if (showsNumbers(canvas))
                painter.drawText(box, Qt::AlignCenter, QString::number(group));
        }
    }
    painter.setPen(cosmetic(Qt::white, 2));
    painter.setBrush(Qt::NoBrush);
    for (const rom::MatchObject &object : value()->match) {
        const QRectF box = canvas.toView(marks::objectMark(object.col, object.row));
        if (meets(canvas, box))
            painter.drawRect(box);
    }
    painter.restore();
}

void StartLayer::draw(QPainter &painter, const LayerCanvas &canvas) const
{
    if (!unreadableReason().isEmpty())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    setNumberFont(painter, canvas, 1.2);
    const bool battle = std::holds_alternative<rom::BattleStart>(value());
    const QList<QPoint> places = marks::startPlaces(value());
    for (int i = 0; i < places.size(); ++i) {
        const QRectF box = canvas.toView(marks::kartMark(places[i].x(), places[i].y()));
        if (!meets(canvas, box))
            continue;
        painter.setPen(cosmetic(Qt::black, 1.5));
        painter.setBrush(i == 0 ? QColor(255, 255, 255, 230) : QColor(255, 255, 255, 160));
        painter.drawRoundedRect(box, box.width() * 0.25, box.height() * 0.25);
        if (showsNumbers(canvas))
            drawNumber(painter, box,
                       battle ? tr("%1P").arg(i + 1) : QString::number(i + 1));
    }
    painter.restore();
}

void LapLayer::draw(QPainter &painter, const LayerCanvas &canvas) const
{
    if (!value() || !unreadableReason().isEmpty())
        return;
    const QRectF cells = canvas.toView(marks::lapCells(*value()));
    const QRectF bar = canvas.toView(marks::lapBar(*value()));
    if (!meets(canvas, cells | bar))
        return;
    painter.save();
    painter.setPen(cosmetic(QColor(255, 255, 255, 200), 1));
    painter.setBrush(QColor(255, 255, 255, 50));
    painter.drawRect(cells);
    // A chequered bar, squares as tall as the bar.
    painter.setPen(Qt::NoPen);
    const double square = qMax(1.0, bar.height());
    int i = 0;
    for (double x = bar.left(); x < bar.right(); x += square, ++i) {
        painter.setBrush(i % 2 ? Qt::black : Qt::white);
        painter.drawRect(QRectF(x, bar.top(), qMin(square, bar.right() - x), bar.height()));
    }
    painter.restore();
}

void ZonesLayer::draw(QPainter &painter, const LayerCanvas &canvas) const
{
    if (!unreadableReason().isEmpty() || value().zones.empty())
        return;
    constexpr int Side = rom::map::ZoneGridSide;
    const rom::ZoneGrid grid(value().zones);
    const auto &cells = grid.cells();
    // The exposed part in zone cells (two tiles each).
    const QRect tiles = canvas.exposedCells();
    if (tiles.isEmpty())
        return;
    const int left = tiles.left() / 2, right = tiles.right() / 2;
    const int top = tiles.top() / 2, bottom = tiles.bottom() / 2;

    painter.save();
    painter.setPen(Qt::NoPen);
    // Runs of one zone along each row: a few hundred rectangles rather than four thousand.
    for (int y = top; y <= bottom; ++y) {
        int x = left;
        while (x <= right) {
            const std::uint8_t zone = cells[std::size_t(y * Side + x)];
            int end = x + 1;
            while (end <= right && cells[std::size_t(y * Side + end)] == zone)
                ++end;
            if (zone != rom::map::NoZone) {
                painter.setBrush(zoneColour(zone, 80));
                painter.drawRect(canvas.toView(marks::zoneCell(x, y).adjusted(
                    0, 0, (end - x - 1) * marks::zoneCell(0, 0).width(), 0)));
            }
            x = end;
        }
    }
    // Borders where one zone meets another.
    QList<QLineF> borders;
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            const std::uint8_t zone = cells[std::size_t(y * Side + x)];
            const QRectF box = canvas.toView(marks::zoneCell(x, y));
            if (x + 1 < Side && cells[std::size_t(y * Side + x + 1)] != zone)
                borders.append(QLineF(box.topRight(), box.bottomRight()));
            if (y + 1 < Side && cells[std::size_t((y + 1) * Side + x)] != zone)
                borders.append(QLineF(box.bottomLeft(), box.bottomRight()));
        }
    }
    painter.setPen(cosmetic(QColor(0, 0, 0, 110), 1));
    painter.drawLines(borders);

    if (showsNumbers(canvas)) {
        // Each number on the cell of its zone nearest the zone's middle, so it lies on the zone.
        const int count = int(value().zones.size());
        const std::size_t zones = value().zones.size();
        std::vector<double> sumX(zones), sumY(zones);
        std::vector<int> held(zones);
        for (int i = 0; i < Side * Side; ++i) {
            const int zone = cells[std::size_t(i)];
            if (zone < count) {
                sumX[std::size_t(zone)] += i % Side;
                sumY[std::size_t(zone)] += i / Side;
                ++held[std::size_t(zone)];
            }
        }
        std::vector<int> at(zones, -1);
        std::vector<double> best(zones);
        for (int i = 0; i < Side * Side; ++i) {
            const int zone = cells[std::size_t(i)];
            if (zone >= count)
                continue;
            const double n = held[std::size_t(zone)];
            const double dx = i % Side - sumX[std::size_t(zone)] / n;
            const double dy = i / Side - sumY[std::size_t(zone)] / n;
            const double d = dx * dx + dy * dy;
            if (at[std::size_t(zone)] < 0 || d < best[std::size_t(zone)]) {
                at[std::size_t(zone)] = i;
                best[std::size_t(zone)] = d;
            }
        }
        setNumberFont(painter, canvas, 1.1);
        for (int zone = 0; zone < count; ++zone) {
            const int cell = at[std::size_t(zone)];
            if (cell < 0)
                continue;
            const QRectF box = canvas.toView(marks::zoneCell(cell % Side, cell / Side))
                                   .adjusted(-8, -4, 8, 4);
            if (meets(canvas, box))
                drawNumber(painter, box, QString::number(zone));
        }
    }
    painter.restore();
}

void TargetsLayer::draw(QPainter &painter, const LayerCanvas &canvas) const
{
    const std::vector<rom::Target> &all = targets();
    if (!unreadableReason().isEmpty() || all.empty())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    // Each leg in the colour of the speed its start asks for; the last leg closes the loop.
    std::array<QList<QLineF>, rom::map::MaxSpeedClass + 1> legs;
    for (std::size_t i = 0; i < all.size(); ++i) {
        const QLineF leg(canvas.toView(marks::targetPoint(all[i])),
                         canvas.toView(marks::targetPoint(all[(i + 1) % all.size()])));
        legs[std::size_t(qBound(0, all[i].speed, rom::map::MaxSpeedClass))].append(leg);
    }
    for (std::size_t speed = 0; speed < legs.size(); ++speed) {
        painter.setPen(cosmetic(SpeedColours[speed], 2));
        painter.drawLines(legs[speed]);
    }
    setNumberFont(painter, canvas, 0.9);
    for (std::size_t i = 0; i < all.size(); ++i) {
        const QRectF box = canvas.toView(marks::targetMark(all[i]));
        if (!meets(canvas, box))
            continue;
        painter.setPen(cosmetic(Qt::black, 1));
        painter.setBrush(SpeedColours[std::size_t(qBound(0, all[i].speed, rom::map::MaxSpeedClass))]);
        painter.drawEllipse(box);
        if (showsNumbers(canvas))
            drawNumber(painter, box.adjusted(-8, -4, 8, 4), QString::number(i));
    }
    painter.restore();
}

} // namespace velmor
