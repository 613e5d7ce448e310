#include "editor/objects_tool.h"

#include "document/course_document.h"
#include "document/layer_canvas.h"
#include "document/race_layers.h"

#include <QPainter>
#include <QPen>

namespace velmor {

namespace {

using List = race::ObjectRef::List;

// Every marker of the chosen object's group, or of the match list.
QList<QPoint> companions(const rom::ObjectPositions &objects, const race::ObjectRef &ref)
{
    QList<QPoint> tiles;
    if (ref.list == List::Match) {
        for (const rom::MatchObject &object : objects.match)
            tiles.append(QPoint(object.col, object.row));
    } else if (ref.list == List::Group) {
        for (const rom::ObjectPlace &place : objects.groups[std::size_t(ref.group)])
            tiles.append(QPoint(place.col, place.row));
    }
    return tiles;
}

} // namespace

ObjectsLayer &ObjectsTool::layer() const
{
    return context().document.objects();
}

bool ObjectsTool::press(const ToolEvent &event)
{
    if (event.button != LeftButton || refuseUnreadable(layer()))
        return false;
    if (!layer().value()) {
        emit refused(tr("This course has no objects: battle courses and the Ghost Valley "
                        "courses have none."));
        return false;
    }
    const race::ObjectRef hit = race::objectAt(*layer().value(), event.coursePixel);
    choose(hit);
    if (hit.isNone())
        return false;
    mDragging = true;
    mAnchor = event.cell;
    mFrom = race::objectTile(*layer().value(), hit);
    return true;
}

void ObjectsTool::move(const ToolEvent &event)
{
    if (!mDragging)
        return;
    const rom::ObjectPositions moved
        = race::movedObject(*layer().value(), mChosen, mFrom + event.cell - mAnchor);
    if (moved == *layer().value())
        return;
    const QRect was = chosenCells();
    layer().preview(moved);
    emit previewChanged(was | chosenCells());
}

bool ObjectsTool::release(const ToolEvent &event)
{
    if (event.button != LeftButton)
        return false;
    if (!std::exchange(mDragging, false))
        return true;
    const QRect was = chosenCells();
    const bool previewing = layer().isPreviewing();
    if (previewing)
        layer().cancelPreview();
    const rom::ObjectPositions &before = *layer().value();
    const rom::ObjectPositions moved
        = race::movedObject(before, mChosen, mFrom + event.cell - mAnchor);
    if (moved != before) {
        const std::string problem = rom::objectsProblem(moved);
        if (problem.empty())
            layer().replace(moved, mChosen.list == List::Match ? tr("Move Match-Race Object")
                                                               : tr("Move Object"));
        else
            emit refused(tr("The object cannot stand there: %1").arg(QString::fromStdString(problem)));
    }
    emit previewChanged(was | chosenCells());
    emit chosenChanged();
    return true;
}

void ObjectsTool::cancel()
{
    if (!std::exchange(mDragging, false))
        return;
    const QRect was = chosenCells();
    layer().cancelPreview();
    emit previewChanged(was | chosenCells());
}

int ObjectsTool::chosenMotion() const
{
    if (mChosen.list != List::Match || !layer().value()
        || mChosen.index >= int(layer().value()->match.size()))
        return -1;
    return layer().value()->match[std::size_t(mChosen.index)].motion;
}

void ObjectsTool::setMotion(int motion)
{
    if (chosenMotion() < 0) {
        emit refused(tr("Choose a match-race object first: click its marker with the Objects tool."));
        return;
    }
    if (motion == chosenMotion())
        return;
    rom::ObjectPositions changed = *layer().value();
    changed.match[std::size_t(mChosen.index)].motion = motion;
    const std::string problem = rom::objectsProblem(changed);
    if (!problem.empty()) {
        emit refused(tr("The object cannot take that motion: %1").arg(QString::fromStdString(problem)));
        return;
    }
    layer().replace(changed, tr("Change Object Motion"));
    emit chosenChanged();
}

QString ObjectsTool::chosenText() const
{
    switch (mChosen.list) {
    case List::Group:
        return tr("Group %1, object %2").arg(mChosen.group).arg(mChosen.index + 1);
    case List::Match:
        return tr("Match-race object %1").arg(mChosen.index + 1);
    case List::None:
        break;
    }
    return {};
}

void ObjectsTool::drawPreview(QPainter &painter, const LayerCanvas &canvas) const
{
    if (mChosen.isNone() || !layer().value() || !layer().isVisible())
        return;
    const rom::ObjectPositions &objects = *layer().value();
    const QPoint own = race::objectTile(objects, mChosen);
    painter.setBrush(Qt::NoBrush);
    for (const QPoint &tile : companions(objects, mChosen)) {
        const QRectF area = canvas.toView(race::objectRect(tile.x(), tile.y())).adjusted(-1, -1, 1, 1);
        painter.setPen(QPen(Qt::white, tile == own ? 3 : 1));
        painter.drawRect(area);
        painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
        painter.drawRect(area);
    }
    const QRectF ownArea = canvas.toView(race::objectRect(own.x(), own.y()));
    const QString label = mChosen.list == List::Match ? tr("Match") : tr("Group %1").arg(mChosen.group);
    const QRectF text = painter.boundingRect(QRectF(ownArea.bottomLeft(), QSizeF(200, 20)), 0, label);
    painter.fillRect(text, Qt::white);
    painter.setPen(Qt::black);
    painter.drawText(text, label);
}

void ObjectsTool::choose(const race::ObjectRef &ref)
{
    if (ref == mChosen)
        return;
    const QRect was = chosenCells();
    mChosen = ref;
    emit previewChanged(was | chosenCells());
    emit chosenChanged();
}

QRect ObjectsTool::chosenCells() const
{
    if (mChosen.isNone() || !layer().value())
        return {};
    QRect cells;
    for (const QPoint &tile : companions(*layer().value(), mChosen))
        cells |= cellsOfPixels(race::objectRect(tile.x(), tile.y())).adjusted(-1, -1, 4, 3);
    return cells;
}

} // namespace velmor
