#include "app/status_readout.h"

#include "app/client_window.h"
#include "document/course_document.h"
#include "document/layer.h"
#include "document/layer_canvas.h"
#include "document/map_geometry.h"
#include "editor/map_view.h"
#include "editor/map_shapes.h"
#include "platform/file_read.h"
#include "rom/course_catalogue.h"
#include "rom/rom_image.h"

#include <QComboBox>
#include <QLabel>
#include <QMouseEvent>
#include <QStatusBar>

namespace velmor {

StatusReadout::StatusReadout(QStatusBar *bar, ClientWindow *client, QObject *parent)
    : QObject(parent)
    , mClient(client)
    , mCell(new QLabel(bar))
    , mBudgetLabel(new QLabel(bar))
    , mRace(new QLabel(bar))
{
    mCell->setObjectName(QStringLiteral("cellReadout"));
    mBudgetLabel->setObjectName(QStringLiteral("budgetReadout"));
    mRace->setObjectName(QStringLiteral("raceReadout"));
    bar->addWidget(mCell);
    bar->addWidget(mRace, 1);
    bar->addPermanentWidget(mBudgetLabel);

    mBudget.setMapSource([client] { return client->courseMap().texts(); });
    connect(&mBudget, &SlotBudget::budgetChanged, this, &StatusReadout::showBudget);
    connect(&client->courseMap(), &CourseMap::cellsChanged, &mBudget, &SlotBudget::mapChanged);
    // A painted cell under the pointer shows its new tile at once.
    connect(&client->courseMap(), &CourseMap::cellsChanged, this, [this](const QRect &cells) {
        if (isCellIndex(mHovered) && cells.contains(cellColumn(mHovered), cellRow(mHovered)))
            showCell(mHovered);
    });
    // An edit, a layer shown or hidden, or a course read changes what lies under the pointer.
    connect(&client->document(), &CourseDocument::layerChanged, this, [this](Layer *layer) {
        if (layer != mClient->document().layers().constFirst())
            showRace();
    });
    connect(&client->document(), &CourseDocument::courseChoiceChanged, this,
        &StatusReadout::courseChanged);

    // The view reports moves only while a button is held; the readout wants them always.
    client->mapView()->setMouseTracking(true);
    client->mapView()->installEventFilter(this);
}

void StatusReadout::setRomPath(const QString &path)
{
    mRomPath = path;
    mStarted = true;
    courseChanged();
}

void StatusReadout::courseChanged()
{
    if (!mStarted)
        return;
    const rom::Course *course = mClient->document().course().course();
    std::size_t capacity = 0;
    if (course) {
        // A ROM that cannot be read leaves the catalogue's room, as no ROM does.
        QString unread;
        const QByteArray romFile =
            readAtMost(mRomPath, qint64(rom::MaxFileSize), &unread).value_or(QByteArray());
        capacity = courseCapacity(*course, romFile);
    }
    mBudget.setCourse(course, capacity);
}

void StatusReadout::showBudget(const Budget &budget)
{
    mBudgetLabel->setText(budget.text());
    const bool problem =
        budget.state == Budget::State::TooBig || budget.state == Budget::State::BadCell;
    // Red says it at a glance; the words say it for those who cannot tell red.
    mBudgetLabel->setStyleSheet(
        problem ? QStringLiteral("color: #c00000; font-weight: bold;") : QString());
}

void StatusReadout::showRace()
{
    mRace->setText(mPointer ? mClient->document().describeRaceAt(*mPointer) : QString());
}

void StatusReadout::showCell(int index)
{
    mHovered = index;
    if (!isCellIndex(index)) {
        mCell->clear();
        return;
    }
    mCell->setText(tr("Column %1, row %2: tile %3")
                       .arg(cellColumn(index) + 1)
                       .arg(cellRow(index) + 1)
                       .arg(mClient->courseMap().text(index)));
}

bool StatusReadout::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove) {
        const auto *move = static_cast<QMouseEvent *>(event);
        const QPoint cell = MapView::cellAt(move->position());
        showCell(isOnMap(cell) ? cellIndex(cell.y(), cell.x()) : -1);
        mPointer = isOnMap(cell) ? std::optional(MapView::coursePixelAt(move->position()))
                                 : std::nullopt;
        showRace();
    } else if (event->type() == QEvent::Leave) {
        showCell(-1);
        mPointer.reset();
        showRace();
    }
    return QObject::eventFilter(watched, event);
}

} // namespace velmor
