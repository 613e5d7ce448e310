#include "editor/targets_tool.h"

#include "document/course_document.h"
#include "document/layer_canvas.h"
#include "document/race_layers.h"
#include "document/race_marks.h"
#include "document/tile_text.h"
#include "document/zone_geometry.h"
#include "rom/tile_behaviour.h"

#include <QPainter>

#include <algorithm>

namespace velmor {

namespace {

// Course pixels from a target's point that still grab it.
constexpr qreal TargetReach = marks::TargetRadius + 2;

} // namespace

TargetFault targetFault(const CourseDocument &document, int index)
{
    const rom::CourseAi &ai = document.zones().value();
    if (index < 0 || std::size_t(index) >= ai.targets.size())
        return TargetFault::None;
    const rom::Target &target = ai.targets[std::size_t(index)];
    if (std::size_t(index) < ai.zones.size() && !targetInZone(target, ai.zones[std::size_t(index)]))
        return TargetFault::OutsideZone;
    const rom::TileBehaviour *behaviour = document.tileBehaviour();
    if (!behaviour || target.x < 0 || target.y < 0 || target.x >= MapSide || target.y >= MapSide)
        return TargetFault::None;
    const int tile = tileNumberOf(document.map().cell(cellIndex(target.y, target.x)).text);
    if (tile >= 0 && !rom::isDrivable(behaviour->surface(tile)))
        return TargetFault::NotDrivable;
    return TargetFault::None;
}

TargetsTool::TargetsTool(ToolContext &context, QObject *parent)
    : AiTool(context, parent)
{ }

int TargetsTool::selected() const
{
    return within(mSelected, mEdits.ai().targets.size());
}

void TargetsTool::select(int target)
{
    const int valid = within(target, mEdits.ai().targets.size());
    if (valid == mSelected)
        return;
    repaintAround(mSelected);
    mSelected = valid;
    repaintAround(mSelected);
    emit targetSelected(mSelected);
}

bool TargetsTool::press(const ToolEvent &event)
{
    if (!startsGesture(event))
        return false;
    const rom::CourseAi &ai = mEdits.ai();
    // The nearest target within reach; else the target of the zone under the pointer.
    int hit = -1;
    qreal best = TargetReach;
    for (std::size_t k = 0; k < ai.targets.size(); ++k) {
        const QPointF d = marks::targetPoint(ai.targets[k]) - event.coursePixel;
        const qreal distance = std::max(std::abs(d.x()), std::abs(d.y()));
        if (distance <= best) {
            best = distance;
            hit = int(k);
        }
    }
    if (hit < 0) {
        const std::optional<int> zone = zoneAt(ai, zoneCellAt(event.coursePixel));
        if (!zone || *zone >= int(ai.targets.size()))
            return false;
        hit = *zone;
    }
    select(hit);
    mDragging = true;
    move(event);
    return true;
}

void TargetsTool::move(const ToolEvent &event)
{
    if (!mDragging || selected() < 0)
        return;
    const QPoint tile = tileAt(event.coursePixel);
    rom::CourseAi shown = mBefore;
    rom::Target &target = shown.targets[std::size_t(selected())];
    if (QPoint(target.x, target.y) == tile && !context().document.zones().isPreviewing())
        return;
    target.x = tile.x();
    target.y = tile.y();
    if (shown == context().document.zones().value())
        return;
    context().document.zones().preview(shown);
}

bool TargetsTool::release(const ToolEvent &event)
{
    if (event.button != LeftButton)
        return false;
    move(event);
    mDragging = false;
    ZonesLayer &zones = context().document.zones();
    if (zones.value() == mBefore) {
        zones.cancelPreview();
        return true;
    }
    if (const AiEdits::Outcome outcome = mEdits.replace(zones.value(), tr("Move AI Target"));
        outcome.isRefused())
        emit refused(outcome.error);
    return true;
}

void TargetsTool::cancel()
{
    mDragging = false;
    context().document.zones().cancelPreview();
}

void TargetsTool::setSpeed(int speed)
{
    const int target = selected();
    if (target < 0) {
        emit refused(tr("Choose a target first: the AI Targets tool (G), then click a target."));
        return;
    }
    rom::CourseAi ai = mEdits.ai();
    ai.targets[std::size_t(target)].speed = std::clamp(speed, 0, rom::map::MaxSpeedClass);
    if (const AiEdits::Outcome outcome = mEdits.replace(ai, tr("Set AI Target Speed"));
        outcome.isRefused())
        emit refused(outcome.error);
}

QPoint TargetsTool::tileAt(QPointF coursePixel) const
{
    const QPoint cell = cellAt(coursePixel);
    return {std::clamp(cell.x(), 0, MapSide - 1), std::clamp(cell.y(), 0, MapSide - 1)};
}

void TargetsTool::repaintAround(int target)
{
    const std::vector<rom::Target> &targets = mEdits.ai().targets;
    if (target < 0 || std::size_t(target) >= targets.size())
        return;
    emit previewChanged(QRect(targets[std::size_t(target)].x - 2, targets[std::size_t(target)].y - 2, 5, 5)
        & QRect(0, 0, MapSide, MapSide));
}

void TargetsTool::drawPreview(QPainter &painter, const LayerCanvas &canvas) const
{
    const rom::CourseAi &ai = mEdits.ai();
    painter.save();
    painter.setBrush(Qt::NoBrush);
    const qreal radius = std::max(6.0, (marks::TargetRadius + 3) * canvas.scale());
    for (std::size_t k = 0; k < ai.targets.size(); ++k) {
        const TargetFault fault = targetFault(context().document, int(k));
        if (fault == TargetFault::None)
            continue;
        const QPointF at = canvas.toView(marks::targetPoint(ai.targets[k]));
        QPen pen(fault == TargetFault::OutsideZone ? QColor(255, 0, 200) : QColor(255, 120, 0), 2);
        pen.setCosmetic(true);
        painter.setPen(pen);
        painter.drawLine(at + QPointF(-radius, -radius), at + QPointF(radius, radius));
        painter.drawLine(at + QPointF(-radius, radius), at + QPointF(radius, -radius));
    }
    if (const int target = selected(); target >= 0) {
        QPen ring(Qt::white, 2);
        ring.setCosmetic(true);
        painter.setPen(ring);
        painter.drawEllipse(canvas.toView(marks::targetPoint(ai.targets[std::size_t(target)])), radius, radius);
    }
    painter.restore();
}

} // namespace velmor
