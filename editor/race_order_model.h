#pragma once

#include "editor/ai_edits.h"

#include <QAbstractTableModel>

namespace velmor {

class CourseDocument;

// The race order as a table: one row per zone with its number, shape, target, speed and what is
// wrong with its target. Rows dragged to another place, or moved up and down, change the race
// order as one undo step; the table follows the document (undo included).
class RaceOrderModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Number, Shape, Target, Speed, Note, ColumnCount };

    explicit RaceOrderModel(CourseDocument &document, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    Qt::DropActions supportedDropActions() const override { return Qt::MoveAction; }
    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QModelIndexList &indexes) const override;
    // Makes the move itself and answers false, so that the view removes no row of its own.
    bool dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
        const QModelIndex &parent) override;

    // Zone `from` to number `to`, its target with it: one undo step.
    AiEdits::Outcome moveZone(int from, int to);
    static QString shapeName(rom::ZoneShape shape);

signals:
    // A row moved to this number (to be selected again), or the edit was refused.
    void zoneMoved(int zone);
    void refused(const QString &message);

private:
    CourseDocument &mDocument;
    AiEdits mEdits;
};

} // namespace velmor
