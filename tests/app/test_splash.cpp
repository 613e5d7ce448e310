#include "app/splash.h"
#include "tests/support/test_main.h"

#include <QMouseEvent>
#include <QTest>
#include <QTimer>
#include <QTimerEvent>
#include <QWindow>

using namespace velmor;

namespace {

// Stands in for the map viewport under the picture: counts the presses that reach it.
class Viewport : public QWidget
{
public:
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent *) override { ++presses; }
};

// One tick of the timer, delivered as the event loop delivers it after the interval: no waiting.
void tick(QTimer *timer)
{
    QVERIFY(timer->isActive());
    QTimerEvent event(timer->timerId());
    QCoreApplication::sendEvent(timer, &event);
}

} // namespace

class TestSplash : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        mViewport = std::make_unique<Viewport>();
        mViewport->resize(600, 400);
        mSplash = new Splash(mViewport.get());
        mSplash->setGeometry(150, 100, 291, 152);
        mViewport->show();
        QVERIFY2(QTest::qWaitForWindowExposed(mViewport.get()), "the window was not shown within 5 s");
    }

    void cleanup() { mViewport.reset(); }

    void showsTheStartUpPicture()
    {
        QVERIFY(mSplash->isVisible());
        QCOMPARE(mSplash->objectName(), QStringLiteral("Splash"));
        QCOMPARE(mSplash->pixmap().size(), QSize(291, 152));
    }

    void timerWaitsUntilStarted()
    {
        QTimer *timer = mSplash->timer();
        QCOMPARE(timer->objectName(), QStringLiteral("Timer1"));
        QCOMPARE(timer->interval(), 2000);
        QVERIFY(!timer->isActive());
        mSplash->startTimer();
        QVERIFY(timer->isActive());
    }

    void firstTickHidesAndStops()
    {
        mSplash->startTimer();
        tick(mSplash->timer());
        QVERIFY(mSplash->isHidden());
        QVERIFY(!mSplash->timer()->isActive());
    }

    void clickHidesAtOnceAndTheTickStillStops()
    {
        mSplash->startTimer();
        QTest::mouseClick(mSplash, Qt::LeftButton, {}, QPoint(40, 40));
        QVERIFY(mSplash->isHidden());
        QVERIFY(mSplash->timer()->isActive());
        tick(mSplash->timer());
        QVERIFY(mSplash->isHidden());
        QVERIFY(!mSplash->timer()->isActive());
    }

    void pressesUnderThePictureReachTheMapOnlyAfterIt()
    {
        // Through the window, so the press is routed to whatever lies on top at that point.
        QWindow *window = mViewport->windowHandle();
        const QPoint underPicture(200, 150);
        QTest::mouseClick(window, Qt::LeftButton, {}, underPicture);
        QCOMPARE(mViewport->presses, 0);
        QVERIFY(mSplash->isHidden());
        QTest::mouseClick(window, Qt::LeftButton, {}, underPicture);
        QCOMPARE(mViewport->presses, 1);
    }

private:
    std::unique_ptr<Viewport> mViewport;
    Splash *mSplash = nullptr;
};

VELMOR_TEST_MAIN(TestSplash)
#include "test_splash.moc"
