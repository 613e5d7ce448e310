#include "editor/zones_tool.h"

#include "document/course_document.h"
#include "document/layer_canvas.h"
#include "document/race_layers.h"
#include "editor/handle_drag_tool.h"

#include <QPainter>

#include <algorithm>

namespace velmor {

namespace {

// Course pixels around a handle that still grab it: half a tile each way.
constexpr qreal HandleReach = 5;

QPoint wholeCells(QPointF pixels)
{
    return {qRound(pixels.x() / ZoneCellPixels), qRound(pixels.y() / ZoneCellPixels)};
}

QRect tilesOf(const QRect &zoneCells)
{
    if (zoneCells.isEmpty())
        return {};
    return QRect(zoneCells.topLeft() * ZoneCellTiles, zoneCells.size() * ZoneCellTiles)
        .adjusted(-1, -1, 1, 1);
}

} // namespace

ZonesTool::ZonesTool(ToolContext &context, QObject *parent)
    : AiTool(context, parent)
{ }

int ZonesTool::selected() const
{
    return within(mSelected, mEdits.ai().zones.size());
}

void ZonesTool::select(int zone)
{
    const int valid = within(zone, mEdits.ai().zones.size());
    if (valid == mSelected)
        return;
    const QRect was = selectionCells();
    mSelected = valid;
    const QRect cells = was | selectionCells();
    if (!cells.isEmpty())
        emit previewChanged(cells);
    emit zoneSelected(mSelected);
}

bool ZonesTool::press(const ToolEvent &event)
{
    if (!startsGesture(event))
        return false;
    const rom::CourseAi &ai = mEdits.ai();
    mPress = event.coursePixel;
    const int current = selected();
    if (current >= 0) {
        if (const std::optional<ZoneHandle> handle =
                zoneHandleAt(ai.zones[std::size_t(current)], event.coursePixel, HandleReach)) {
            mDrag = Drag::Resize;
            mHandle = *handle;
            mOriginal = ai.zones[std::size_t(current)];
            return true;
        }
    }
    if (const std::optional<int> hit = zoneAt(ai, zoneCellAt(event.coursePixel))) {
        select(*hit);
        mDrag = Drag::Move;
        mOriginal = ai.zones[std::size_t(*hit)];
        return true;
    }
    // Refused at the press rather than after a drag that could only be refused at its end.
    if (ai.zones.size() >= std::size_t(rom::map::MaxZones)) {
        emit refused(tr("This course has %1 AI zones, as many as the game allows: delete one "
                        "before drawing another.").arg(ai.zones.size()));
        return false;
    }
    mDrag = Drag::Draw;
    mDrawing = mKind == ZoneDraw::Rectangle && (event.modifiers & Qt::ShiftModifier)
        ? ZoneDraw::Triangle : mKind;
    move(event);
    return true;
}

void ZonesTool::move(const ToolEvent &event)
{
    switch (mDrag) {
    case Drag::None:
        return;
    case Drag::Draw: {
        const rom::Zone zone = zoneFromDrag(mDrawing, mPress, event.coursePixel);
        if (context().document.zones().isPreviewing() && zone == mLatest)
            return;
        mLatest = zone;
        rom::CourseAi shown = mBefore;
        const std::size_t at = std::size_t(selected() + 1 > 0 ? selected() + 1 : int(shown.zones.size()));
        shown.zones.insert(shown.zones.begin() + std::ptrdiff_t(at), zone);
        shown.targets.insert(shown.targets.begin() + std::ptrdiff_t(std::min(at, shown.targets.size())),
            targetFor(zone));
        show(shown);
        return;
    }
    case Drag::Move: {
        const QPoint cells = wholeCells(event.coursePixel - mPress);
        const rom::Zone zone = movedZone(mOriginal, cells);
        if (zone == mLatest && context().document.zones().isPreviewing())
            return;
        mLatest = zone;
        // The target goes with its zone when it lay in it, so that it stays inside.
        const QPoint shift((zone.x - mOriginal.x) * ZoneCellTiles, (zone.y - mOriginal.y) * ZoneCellTiles);
        show(withSelected(zone, shift));
        return;
    }
    case Drag::Resize:
        mLatest = resizeZone(mOriginal, mHandle, event.coursePixel);
        show(withSelected(mLatest));
        return;
    }
}

bool ZonesTool::release(const ToolEvent &event)
{
    if (event.button != LeftButton)
        return false;
    move(event);
    const Drag drag = mDrag;
    mDrag = Drag::None;
    ZonesLayer &zones = context().document.zones();
    if (drag == Drag::Draw) {
        zones.cancelPreview();
        finish(mEdits.insert(selected() >= 0 ? selected() : int(mBefore.zones.size()) - 1, mLatest,
            targetFor(mLatest), tr("Draw AI Zone")));
        return true;
    }
    const rom::CourseAi shown = zones.value();
    if (shown == mBefore) {
        zones.cancelPreview();
        return true;
    }
    finish(mEdits.replace(shown, drag == Drag::Move ? tr("Move AI Zone") : tr("Resize AI Zone")));
    return true;
}

void ZonesTool::cancel()
{
    mDrag = Drag::None;
    const QRect was = selectionCells();
    context().document.zones().cancelPreview();
    if (!(was | selectionCells()).isEmpty())
        emit previewChanged(was | selectionCells());
}

void ZonesTool::changeShape()
{
    const int zone = selected();
    if (zone < 0)
        return;
    const rom::Zone &current = mEdits.ai().zones[std::size_t(zone)];
    finish(mEdits.replace(withSelected(reshapedZone(current, nextZoneShape(current.shape))),
        tr("Change AI Zone Shape")));
}

void ZonesTool::duplicate()
{
    const int zone = selected();
    if (zone < 0)
        return;
    const rom::CourseAi &ai = mEdits.ai();
    const rom::Zone copy = duplicatedZone(ai.zones[std::size_t(zone)]);
    rom::Target target = zone < int(ai.targets.size()) ? ai.targets[std::size_t(zone)] : rom::Target {};
    if (targetInZone(target, ai.zones[std::size_t(zone)])) {
        target.x = std::clamp(target.x + (copy.x - ai.zones[std::size_t(zone)].x) * ZoneCellTiles, 0, rom::map::MapSide - 1);
        target.y = std::clamp(target.y + (copy.y - ai.zones[std::size_t(zone)].y) * ZoneCellTiles, 0, rom::map::MapSide - 1);
    }
    finish(mEdits.insert(zone, copy, target, tr("Duplicate AI Zone")));
}

void ZonesTool::deleteSelected()
{
    const int zone = selected();
    if (zone < 0)
        return;
    const AiEdits::Outcome outcome = mEdits.remove(zone, tr("Delete AI Zone"));
    if (!outcome.isRefused()) {
        // The one after it takes its number, so the selection stays on what is next in the race.
        mSelected = -1;
        select(std::min(zone, int(mEdits.ai().zones.size()) - 1));
    }
    finish({outcome.error, outcome.notice, selected()});
}

void ZonesTool::show(const rom::CourseAi &ai)
{
    const QRect was = selectionCells();
    context().document.zones().preview(ai);
    const QRect cells = was | selectionCells();
    if (!cells.isEmpty())
        emit previewChanged(cells);
}

rom::CourseAi ZonesTool::withSelected(const rom::Zone &zone, QPoint targetShift) const
{
    // A drag shows its zone against the set as it was at the press.
    rom::CourseAi ai = mDrag == Drag::None ? mEdits.ai() : mBefore;
    const std::size_t at = std::size_t(selected());
    const rom::Zone before = ai.zones[at];
    ai.zones[at] = zone;
    if (!targetShift.isNull() && at < ai.targets.size() && targetInZone(ai.targets[at], before)) {
        rom::Target &target = ai.targets[at];
        target.x = std::clamp(target.x + targetShift.x(), 0, rom::map::MapSide - 1);
        target.y = std::clamp(target.y + targetShift.y(), 0, rom::map::MapSide - 1);
    }
    return ai;
}

void ZonesTool::finish(const AiEdits::Outcome &outcome)
{
    if (outcome.isRefused()) {
        emit refused(outcome.error);
        return;
    }
    if (outcome.zone >= 0) {
        mSelected = -1;
        select(outcome.zone);
    } else {
        const QRect cells = selectionCells();
        if (!cells.isEmpty())
            emit previewChanged(cells);
    }
    if (!outcome.notice.isEmpty())
        emit told(outcome.notice);
}

QRect ZonesTool::selectionCells() const
{
    const int zone = selected();
    if (zone < 0)
        return {};
    return tilesOf(zoneBounds(context().document.zones().value().zones[std::size_t(zone)]))
        & QRect(0, 0, MapSide, MapSide);
}

rom::Target ZonesTool::targetFor(const rom::Zone &zone) const
{
    const QRect bounds = zoneBounds(zone) & QRect(0, 0, rom::map::ZoneGridSide, rom::map::ZoneGridSide);
    rom::Target target;
    target.x = std::clamp((bounds.left() + bounds.right() + 1) * ZoneCellTiles / 2, 0, rom::map::MapSide - 1);
    target.y = std::clamp((bounds.top() + bounds.bottom() + 1) * ZoneCellTiles / 2, 0, rom::map::MapSide - 1);
    const rom::CourseAi &ai = mEdits.ai();
    const int current = selected();
    target.speed = current >= 0 && current < int(ai.targets.size()) ? ai.targets[std::size_t(current)].speed
                                                                  : rom::map::MaxSpeedClass - 1;
    // A target must lie in its zone: the middle of a triangle may not.
    if (!targetInZone(target, zone)) {
        target.x = zone.x * ZoneCellTiles + 1;
        target.y = zone.y * ZoneCellTiles + 1;
    }
    return target;
}

void ZonesTool::drawPreview(QPainter &painter, const LayerCanvas &canvas) const
{
    const int zone = selected();
    if (zone < 0)
        return;
    const rom::Zone &shown = context().document.zones().value().zones[std::size_t(zone)];
    const QRect bounds = zoneBounds(shown);
    painter.save();
    QPen outline(QColor(255, 255, 255), 1.5, Qt::DashLine);
    outline.setCosmetic(true);
    painter.setPen(outline);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(canvas.toView(QRectF(bounds.topLeft() * ZoneCellPixels, bounds.size() * ZoneCellPixels)));
    for (const ZoneHandlePlace &place : zoneHandles(shown))
        drawDragHandle(painter, canvas.toView(place.pixel));
    painter.restore();
}

} // namespace velmor
