#include "app/race_order_panel.h"

#include "editor/race_order_model.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace velmor {

RaceOrderPanel::RaceOrderPanel(CourseDocument &document, QWidget *parent)
    : QWidget(parent)
    , mModel(new RaceOrderModel(document, this))
    , mTable(new QTableView(this))
    , mUp(new QPushButton(tr("Move &Up"), this))
    , mDown(new QPushButton(tr("Move &Down"), this))
    , mNote(new QLabel(this))
{
    setObjectName(QStringLiteral("raceOrderPanel"));
    mTable->setObjectName(QStringLiteral("raceOrder"));
    mUp->setObjectName(QStringLiteral("raceOrderUp"));
    mDown->setObjectName(QStringLiteral("raceOrderDown"));
    mNote->setObjectName(QStringLiteral("raceOrderNote"));
    mNote->setWordWrap(true);
    mTable->setModel(mModel);
    mTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    mTable->setSelectionMode(QAbstractItemView::SingleSelection);
    mTable->setDragDropMode(QAbstractItemView::InternalMove);
    mTable->setDragEnabled(true);
    mTable->setDropIndicatorShown(true);
    mTable->setDefaultDropAction(Qt::MoveAction);
    mTable->verticalHeader()->hide();
    mTable->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    mTable->horizontalHeader()->setStretchLastSection(true);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(mUp);
    buttons->addWidget(mDown);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(mTable, 1);
    layout->addLayout(buttons);
    layout->addWidget(mNote);

    connect(mUp, &QPushButton::clicked, this, &RaceOrderPanel::moveUp);
    connect(mDown, &QPushButton::clicked, this, &RaceOrderPanel::moveDown);
    connect(mModel, &RaceOrderModel::zoneMoved, this, [this](int zone) {
        setCurrentZone(zone);
        emit zoneChosen(zone);
    });
    connect(mModel, &RaceOrderModel::refused, this, &RaceOrderPanel::tell);
    // A reset forgets the selection: the zone shown stays chosen.
    connect(mModel, &QAbstractItemModel::modelReset, this, [this] { setCurrentZone(mShown); });
    connect(mTable->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
        [this](const QModelIndex &current) {
            if (current.row() == mShown)
                return;
            mShown = current.row();
            updateButtons();
            emit zoneChosen(mShown);
        });
    updateButtons();
}

int RaceOrderPanel::currentZone() const
{
    return mShown;
}

void RaceOrderPanel::setCurrentZone(int zone)
{
    mShown = zone >= 0 && zone < mModel->rowCount() ? zone : -1;
    const QSignalBlocker quiet(mTable->selectionModel());
    if (mShown < 0) {
        mTable->selectionModel()->clear();
    } else {
        const QModelIndex index = mModel->index(mShown, 0);
        mTable->selectionModel()->setCurrentIndex(
            index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        mTable->scrollTo(index);
    }
    mTable->viewport()->update();
    updateButtons();
}

void RaceOrderPanel::tell(const QString &text)
{
    mNote->setText(text);
}

void RaceOrderPanel::moveUp()
{
    if (mShown > 0)
        mModel->moveZone(mShown, mShown - 1);
}

void RaceOrderPanel::moveDown()
{
    if (mShown >= 0 && mShown + 1 < mModel->rowCount())
        mModel->moveZone(mShown, mShown + 1);
}

void RaceOrderPanel::updateButtons()
{
    mUp->setEnabled(mShown > 0);
    mDown->setEnabled(mShown >= 0 && mShown + 1 < mModel->rowCount());
}

} // namespace velmor
