#pragma once

#include <QWidget>

class QLabel;
class QPushButton;
class QTableView;

namespace velmor {

class CourseDocument;
class RaceOrderModel;

// The race order panel: the zones in race order with their shape, target and speed; rows are
// dragged to another place or moved with Move Up / Move Down, each one undo step. The row chosen
// here is the zone chosen on the map, and the other way round.
class RaceOrderPanel : public QWidget
{
    Q_OBJECT

public:
    explicit RaceOrderPanel(CourseDocument &document, QWidget *parent = nullptr);

    int currentZone() const;
    void setCurrentZone(int zone);
    // The last thing an edit said (what it shifted, why it was refused).
    void tell(const QString &text);
    RaceOrderModel *model() const { return mModel; }

    void moveUp();
    void moveDown();

signals:
    void zoneChosen(int zone);

private:
    void updateButtons();

    RaceOrderModel *mModel;
    QTableView *mTable;
    QPushButton *mUp;
    QPushButton *mDown;
    QLabel *mNote;
    int mShown = -1;
};

} // namespace velmor
