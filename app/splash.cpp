#include "app/splash.h"

#include <QMouseEvent>
#include <QPixmap>
#include <QTimer>

namespace velmor {

Splash::Splash(QWidget *parent)
    : QLabel(parent)
    , mTimer(new QTimer(this))
{
    setObjectName(QStringLiteral("Splash"));
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
    setAlignment(Qt::AlignCenter);
    setPixmap(QPixmap(QStringLiteral(":/velmor/splash.jpg")));
    mTimer->setObjectName(QStringLiteral("Timer1"));
    mTimer->setInterval(TimerIntervalMs);
    connect(mTimer, &QTimer::timeout, this, &Splash::tick);
}

void Splash::startTimer()
{
    mTimer->start();
}

void Splash::tick()
{
    hide();
    mTimer->stop();
}

void Splash::mousePressEvent(QMouseEvent *event)
{
    hide();
    event->accept();
    emit clicked();
}

} // namespace velmor
