#include "editor/items_tool.h"

#include "document/course_document.h"
#include "document/layer_canvas.h"
#include "document/race_layers.h"
#include "editor/map_shapes.h"
#include "editor/race_geometry.h"
#include "rom/item_kinds.h"
#include "rom/race_map.h"

#include <QPainter>
#include <QPen>
#include <QStringList>

#include <algorithm>

namespace velmor {

namespace {

const QString ClipboardHeader = QStringLiteral("velmor items");

QString nameOf(const rom::OverlayItem &item)
{
    const std::string_view name = rom::itemName(item);
    return QString::fromUtf8(name.data(), qsizetype(name.size()));
}

QString fullSlot()
{
    return ItemsTool::tr("No room for another item: the game allows %1 items on a course, and "
                         "this one has them all. Delete one first.")
        .arg(rom::map::MaxItems);
}

} // namespace

ItemsTool::ItemsTool(ToolContext &context, QObject *parent)
    : Tool(context, parent)
{
    connect(&layer(), &Layer::changed, this, &ItemsTool::keepSelectionValid);
}

ItemsLayer &ItemsTool::layer() const
{
    return context().document.items();
}

bool ItemsTool::press(const ToolEvent &event)
{
    if (event.button != LeftButton || !isOnMap(event.cell) || refuseUnreadable(layer()))
        return false;
    const rom::OverlayItems &items = layer().value();
    const int hit = race::itemAt(items, event.coursePixel);
    mAnchor = event.cell;
    mOffset = QPoint();
    mStart = items;
    if (hit >= 0) {
        if (event.modifiers & Qt::ControlModifier) {
            QList<int> chosen = mSelected;
            if (!chosen.removeOne(hit))
                chosen.append(hit);
            setSelected(chosen);
            mDrag = Drag::None;
            return true;
        }
        if (!mSelected.contains(hit))
            setSelected({hit});
        mDrag = Drag::Moving;
        return true;
    }
    if (int(items.size()) >= rom::map::MaxItems) {
        emit refused(fullSlot());
        return false;
    }
    mStart.push_back(rom::makeItem(mPattern, event.cell.x(), event.cell.y()));
    mDrag = Drag::Placing;
    setSelected({int(mStart.size()) - 1});
    layer().preview(mStart);
    return true;
}

void ItemsTool::move(const ToolEvent &event)
{
    if (mDrag == Drag::None)
        return;
    const QPoint offset = event.cell - mAnchor;
    if (offset == mOffset)
        return;
    mOffset = offset;
    const QRect was = selectedCells(layer().value());
    layer().preview(race::movedItems(mStart, mSelected, offset));
    emit previewChanged(was | selectedCells(layer().value()));
}

bool ItemsTool::release(const ToolEvent &event)
{
    if (event.button != LeftButton)
        return false;
    const Drag drag = std::exchange(mDrag, Drag::None);
    if (drag == Drag::None)
        return true;
    const rom::OverlayItems final = race::movedItems(mStart, mSelected, event.cell - mAnchor);
    if (drag == Drag::Placing)
        layer().replace(final, stepText(tr("Place"), final, mSelected));
    else if (final != mStart)
        layer().replace(final, stepText(tr("Move"), final, mSelected));
    else if (layer().isPreviewing())
        layer().cancelPreview();
    emit previewChanged(selectedCells(final));
    return true;
}

void ItemsTool::cancel()
{
    const Drag drag = std::exchange(mDrag, Drag::None);
    if (drag == Drag::None)
        return;
    const QRect was = selectedCells(layer().value());
    layer().cancelPreview();
    if (drag == Drag::Placing)
        setSelected({});
    emit previewChanged(was);
}

void ItemsTool::drawPreview(QPainter &painter, const LayerCanvas &canvas) const
{
    const rom::OverlayItems &items = layer().value();
    painter.setBrush(Qt::NoBrush);
    for (int i : mSelected) {
        if (i >= int(items.size()))
            continue;
        const QRectF area = canvas.toView(race::itemRect(items[std::size_t(i)])).adjusted(-1, -1, 1, 1);
        painter.setPen(QPen(Qt::white, 2));
        painter.drawRect(area);
        painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
        painter.drawRect(area);
    }
}

QString ItemsTool::copyOwnSelection() const
{
    rom::OverlayItems chosen;
    for (int i : mSelected) {
        if (i < int(layer().value().size()))
            chosen.push_back(layer().value()[std::size_t(i)]);
    }
    return itemsText(chosen);
}

void ItemsTool::deleteOwnSelection()
{
    if (mSelected.isEmpty())
        return;
    const rom::OverlayItems &items = layer().value();
    const QString text = stepText(tr("Delete"), items, mSelected);
    rom::OverlayItems kept;
    for (int i = 0; i < int(items.size()); ++i) {
        if (!mSelected.contains(i))
            kept.push_back(items[std::size_t(i)]);
    }
    const QRect was = selectedCells(items);
    mSelected.clear();
    layer().replace(kept, text);
    emit selectionChanged(false);
    emit previewChanged(was);
}

bool ItemsTool::pasteOwn(const QString &text, QPoint cell)
{
    const std::optional<rom::OverlayItems> pasted = itemsFromText(text);
    if (!pasted)
        return false;
    const rom::OverlayItems &items = layer().value();
    if (items.size() + pasted->size() > std::size_t(rom::map::MaxItems)) {
        emit refused(tr("Cannot paste %n item(s): the course has %1, and the game allows %2 items "
                        "on a course.", nullptr, int(pasted->size()))
                .arg(items.size())
                .arg(rom::map::MaxItems));
        return true;
    }
    if (pasted->empty())
        return true;
    // The copied group keeps its shape, its top-left at the cell.
    int left = rom::map::MapSide, top = rom::map::MapSide;
    for (const rom::OverlayItem &item : *pasted) {
        left = std::min(left, item.col);
        top = std::min(top, item.row);
    }
    rom::OverlayItems all = items;
    QList<int> added;
    for (const rom::OverlayItem &item : *pasted) {
        added.append(int(all.size()));
        all.push_back(item);
    }
    const QPoint at(std::clamp(cell.x(), 0, MapSide - 1), std::clamp(cell.y(), 0, MapSide - 1));
    all = race::movedItems(all, added, at - QPoint(left, top));
    const QRect was = selectedCells(items);
    layer().replace(all, stepText(tr("Paste"), all, added));
    setSelected(added);
    emit previewChanged(was | selectedCells(all));
    return true;
}

QString ItemsTool::itemsText(const rom::OverlayItems &items)
{
    QStringList lines {ClipboardHeader};
    for (const rom::OverlayItem &item : items)
        lines.append(QStringLiteral("%1 %2 %3 %4").arg(item.size).arg(item.pattern).arg(item.col).arg(item.row));
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

std::optional<rom::OverlayItems> ItemsTool::itemsFromText(const QString &text)
{
    QStringList lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (lines.isEmpty() || lines.takeFirst().trimmed() != ClipboardHeader)
        return std::nullopt;
    rom::OverlayItems items;
    for (const QString &line : lines) {
        const QStringList fields = line.simplified().split(QLatin1Char(' '));
        if (fields.size() != 4)
            return std::nullopt;
        int values[4];
        for (int i = 0; i < 4; ++i) {
            bool ok = false;
            values[i] = fields.at(i).toInt(&ok);
            if (!ok)
                return std::nullopt;
        }
        items.push_back({values[0], values[1], values[2], values[3]});
    }
    // Held to the game's limits also for a list another program left on the clipboard.
    if (items.size() <= std::size_t(rom::map::MaxItems) && rom::itemsProblem(items).empty())
        return items;
    return std::nullopt;
}

QString ItemsTool::stepText(
    const QString &verb, const rom::OverlayItems &items, const QList<int> &which) const
{
    if (which.size() == 1 && which.constFirst() < int(items.size()))
        return verb + QLatin1Char(' ') + nameOf(items[std::size_t(which.constFirst())]);
    return tr("%1 %2 Items").arg(verb).arg(which.size());
}

void ItemsTool::setSelected(const QList<int> &selected)
{
    // Compared element by element: Qt's own comparison hands memcmp the null data of an empty
    // list, which the sanitizers reject.
    if (std::equal(selected.begin(), selected.end(), mSelected.begin(), mSelected.end()))
        return;
    const QRect was = selectedCells(layer().value());
    const bool had = !mSelected.isEmpty();
    mSelected = selected;
    emit previewChanged(was | selectedCells(layer().value()));
    if (had != !mSelected.isEmpty() || !mSelected.isEmpty())
        emit selectionChanged(!mSelected.isEmpty());
}

QRect ItemsTool::selectedCells(const rom::OverlayItems &items) const
{
    QRect cells;
    for (int i : mSelected) {
        if (i < int(items.size()))
            cells |= cellsOfPixels(race::itemRect(items[std::size_t(i)])).adjusted(-1, -1, 1, 1);
    }
    return cells;
}

void ItemsTool::keepSelectionValid()
{
    const int count = int(layer().value().size());
    QList<int> kept;
    for (int i : mSelected) {
        if (i < count)
            kept.append(i);
    }
    // What is kept is a part of the selection, so the same count means the same items.
    if (kept.size() != mSelected.size())
        setSelected(kept);
}

} // namespace velmor
