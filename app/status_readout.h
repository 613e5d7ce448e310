#pragma once

#include "course/slot_budget.h"

#include <QObject>
#include <QPointer>
#include <QPointF>

#include <optional>

class QLabel;
class QStatusBar;

namespace velmor {

class ClientWindow;

// The status bar's readouts: the cell under the pointer (column, row and tile, counted from 1 as
// the rulers count) and the slot budget of the course chosen in `CourseList`, which follows the
// painting, turns red with the excess when the course does not fit, and counts the room the
// course has in the ROM the editor looks at.
class StatusReadout : public QObject
{
    Q_OBJECT

public:
    StatusReadout(QStatusBar *bar, ClientWindow *client, QObject *parent = nullptr);

    QLabel *cellLabel() const { return mCell; }
    QLabel *budgetLabel() const { return mBudgetLabel; }
    // What the shown race layers hold under the pointer ("Item box · AI zone 12 · …").
    QLabel *raceLabel() const { return mRace; }
    SlotBudget &budget() { return mBudget; }

    // The ROM whose room counts; empty or unreadable means the game's original slots. The first
    // call starts the budget, which waits until then: the window sets it after its first paint.
    void setRomPath(const QString &path);
    QString romPath() const { return mRomPath; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void courseChanged();
    void showBudget(const Budget &budget);
    void showCell(int index);
    void showRace();

    ClientWindow *mClient;
    QLabel *mCell;
    QLabel *mBudgetLabel;
    QLabel *mRace;
    SlotBudget mBudget;
    QString mRomPath;
    bool mStarted = false;
    int mHovered = -1;
    std::optional<QPointF> mPointer; // course pixels, while over the map

};

} // namespace velmor
