#pragma once

#include <QLabel>

class QTimer;

namespace velmor {

// The start-up picture over the map. It hides at the first tick of its one-shot timer (Timer1),
// which the load sequence starts as its last step, or at once when clicked; it never comes back.
// While shown it takes the presses on the area it covers.
class Splash : public QLabel
{
    Q_OBJECT

public:
    static constexpr int TimerIntervalMs = 2000;

    explicit Splash(QWidget *parent = nullptr);

    // Timer1: created disabled.
    QTimer *timer() const { return mTimer; }
    void startTimer();

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    void tick();

    QTimer *mTimer;
};

} // namespace velmor
