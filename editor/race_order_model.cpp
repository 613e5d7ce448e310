#include "editor/race_order_model.h"

#include "document/course_document.h"
#include "document/race_layers.h"
#include "editor/targets_tool.h"

#include <QMimeData>

namespace velmor {

namespace {

const QString RowMime = QStringLiteral("application/x-velmor-zone-row");

} // namespace

RaceOrderModel::RaceOrderModel(CourseDocument &document, QObject *parent)
    : QAbstractTableModel(parent)
    , mDocument(document)
    , mEdits(document)
{
    // Any change of the AI (an edit, its undo, a drag's preview, another course) is shown whole:
    // a table of at most 127 rows.
    const auto reset = [this] {
        beginResetModel();
        endResetModel();
    };
    connect(&document.zones(), &Layer::changed, this, reset);
    connect(&document.zones(), &Layer::visibilityChanged, this, reset);
}

int RaceOrderModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(mEdits.ai().zones.size());
}

int RaceOrderModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString RaceOrderModel::shapeName(rom::ZoneShape shape)
{
    switch (shape) {
    case rom::ZoneShape::Rectangle:
        return tr("Rectangle");
    case rom::ZoneShape::TriangleRightDown:
        return tr("Triangle ◸");
    case rom::ZoneShape::TriangleLeftDown:
        return tr("Triangle ◹");
    case rom::ZoneShape::TriangleLeftUp:
        return tr("Triangle ◿");
    case rom::ZoneShape::TriangleRightUp:
        return tr("Triangle ◺");
    case rom::ZoneShape::DiagonalLeft:
        return tr("Diagonal left");
    case rom::ZoneShape::DiagonalRight:
        return tr("Diagonal right");
    }
    return tr("Shape %1").arg(int(shape));
}

QVariant RaceOrderModel::data(const QModelIndex &index, int role) const
{
    const rom::CourseAi &ai = mEdits.ai();
    if (!index.isValid() || std::size_t(index.row()) >= ai.zones.size()
        || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    const std::size_t row = std::size_t(index.row());
    const rom::Zone &zone = ai.zones[row];
    const rom::Target *target = row < ai.targets.size() ? &ai.targets[row] : nullptr;
    switch (index.column()) {
    case Number:
        return index.row();
    case Shape:
        return shapeName(zone.shape);
    case Target:
        return target ? tr("%1, %2").arg(target->x).arg(target->y) : tr("none");
    case Speed:
        return target ? QVariant(target->speed) : QVariant();
    case Note:
        switch (targetFault(mDocument, index.row())) {
        case TargetFault::OutsideZone:
            return tr("target outside its zone");
        case TargetFault::NotDrivable:
            return tr("target on a tile no kart drives on");
        case TargetFault::None:
            return {};
        }
    }
    return {};
}

QVariant RaceOrderModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Number:
        return tr("Zone");
    case Shape:
        return tr("Shape");
    case Target:
        return tr("Target");
    case Speed:
        return tr("Speed");
    case Note:
        return tr("Note");
    }
    return {};
}

Qt::ItemFlags RaceOrderModel::flags(const QModelIndex &index) const
{
    // Rows are dropped between rows, not onto them.
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled;
}

QStringList RaceOrderModel::mimeTypes() const
{
    return {RowMime};
}

QMimeData *RaceOrderModel::mimeData(const QModelIndexList &indexes) const
{
    if (indexes.isEmpty())
        return nullptr;
    auto *data = new QMimeData;
    data->setData(RowMime, QByteArray::number(indexes.constFirst().row()));
    return data;
}

bool RaceOrderModel::dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int,
    const QModelIndex &parent)
{
    if (action != Qt::MoveAction || !data || !data->hasFormat(RowMime))
        return false;
    bool ok = false;
    const int from = data->data(RowMime).toInt(&ok);
    const int count = rowCount();
    if (!ok || from < 0 || from >= count)
        return false;
    // Dropped before `row` (or after the last row, or onto a row: before it).
    int before = row >= 0 ? row : (parent.isValid() ? parent.row() : count);
    int to = before > from ? before - 1 : before;
    to = qBound(0, to, count - 1);
    if (to != from)
        moveZone(from, to);
    return false;
}

AiEdits::Outcome RaceOrderModel::moveZone(int from, int to)
{
    const AiEdits::Outcome outcome = mEdits.move(from, to, tr("Reorder AI Zones"));
    if (outcome.isRefused())
        emit refused(outcome.error);
    else
        emit zoneMoved(outcome.zone);
    return outcome;
}

} // namespace velmor
