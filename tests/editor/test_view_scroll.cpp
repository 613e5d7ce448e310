#include "editor/view_scroll.h"
#include "tests/support/test_main.h"

#include <QTest>

using namespace velmor;
using namespace Qt::StringLiterals;

// Ruler texts and the container's offset as the scroll bars move.
class TestViewScroll : public QObject
{
    Q_OBJECT

private slots:
    void stackedNumbers_data();
    void stackedNumbers();
    void rulersAtValue_data();
    void rulersAtValue();
    void offsetFollowsValue_data();
    void offsetFollowsValue();
    void jumpMovesByTheDifference();
    void repeatedEventsForOneValueDoNotMove();
    void resetReturnsToOrigin();
};

void TestViewScroll::stackedNumbers_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("text");
    QTest::newRow("one digit") << 9 << QStringLiteral("9");
    QTest::newRow("two digits") << 10 << QStringLiteral("1 0");
    QTest::newRow("32") << 32 << QStringLiteral("3 2");
    QTest::newRow("three digits") << 128 << QStringLiteral("1 2 8");
}

void TestViewScroll::stackedNumbers()
{
    QFETCH(int, number);
    QFETCH(QString, text);
    QCOMPARE(ViewScroll::stackedNumber(number), text);
}

void TestViewScroll::rulersAtValue_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("firstColumn");
    QTest::addColumn<QString>("ninthColumn");
    QTest::addColumn<QString>("lastColumn");
    QTest::addColumn<QString>("firstRow");
    QTest::addColumn<QString>("lastRow");
    QTest::newRow("0") << 0 << u"1"_s << u"9"_s << u"3 2"_s << u"1"_s << u"20"_s;
    QTest::newRow("1") << 1 << u"2"_s << u"1 0"_s << u"3 3"_s << u"2"_s << u"21"_s;
    QTest::newRow("96") << 96 << u"9 7"_s << u"1 0 5"_s << u"1 2 8"_s << u"97"_s << u"116"_s;
    QTest::newRow("108") << 108 << u"1 0 9"_s << u"1 1 7"_s << u"1 4 0"_s << u"109"_s << u"128"_s;
}

void TestViewScroll::rulersAtValue()
{
    QFETCH(int, value);
    const QStringList columns = ViewScroll::columnRuler(value);
    const QStringList rows = ViewScroll::rowRuler(value);
    QCOMPARE(columns.size(), 32);
    QCOMPARE(rows.size(), 20);
    QTEST(columns.at(0), "firstColumn");
    QTEST(columns.at(8), "ninthColumn");
    QTEST(columns.at(31), "lastColumn");
    QTEST(rows.at(0), "firstRow");
    QTEST(rows.at(19), "lastRow");
}

void TestViewScroll::offsetFollowsValue_data()
{
    QTest::addColumn<int>("horizontal");
    QTest::addColumn<int>("vertical");
    QTest::addColumn<QPoint>("offset");
    QTest::newRow("start") << 0 << 0 << QPoint(0, 0);
    QTest::newRow("one column") << 1 << 0 << QPoint(-240, 0);
    QTest::newRow("right end") << 96 << 0 << QPoint(-23040, 0);
    QTest::newRow("bottom end") << 0 << 108 << QPoint(0, -25920);
    QTest::newRow("both ends") << 96 << 108 << QPoint(-23040, -25920);
}

void TestViewScroll::offsetFollowsValue()
{
    QFETCH(int, horizontal);
    QFETCH(int, vertical);
    ViewScroll scroll;
    scroll.horizontalUpdate(horizontal);
    scroll.verticalUpdate(vertical);
    QTEST(scroll.offsetTwips(), "offset");
    QCOMPARE(scroll.lastHorizontal(), horizontal);
    QCOMPARE(scroll.lastVertical(), vertical);
}

void TestViewScroll::jumpMovesByTheDifference()
{
    ViewScroll scroll;
    QVERIFY(scroll.horizontalUpdate(90));
    QCOMPARE(scroll.offsetTwips().x(), -21600);
    QVERIFY(scroll.horizontalUpdate(10));
    // 80 cells to the right in one step.
    QCOMPARE(scroll.offsetTwips().x(), -2400);
    QCOMPARE(scroll.offsetTwips().x() - -21600, 19200);
}

void TestViewScroll::repeatedEventsForOneValueDoNotMove()
{
    // A thumb drag reports a value, then the released thumb reports it again as a change.
    ViewScroll scroll;
    QVERIFY(scroll.verticalUpdate(40));
    QVERIFY(!scroll.verticalUpdate(40));
    QCOMPARE(scroll.offsetTwips(), QPoint(0, -9600));
    for (int v : {42, 44, 43, 43, 0, 108, 108, 7})
        scroll.verticalUpdate(v);
    QCOMPARE(scroll.offsetTwips(), QPoint(0, -240 * 7));
}

void TestViewScroll::resetReturnsToOrigin()
{
    ViewScroll scroll;
    scroll.horizontalUpdate(50);
    scroll.verticalUpdate(60);
    scroll.reset();
    QCOMPARE(scroll.offsetTwips(), QPoint(0, 0));
    QCOMPARE(scroll.lastHorizontal(), 0);
    QCOMPARE(scroll.lastVertical(), 0);
    // After the reset the next update moves from the origin again.
    scroll.horizontalUpdate(2);
    QCOMPARE(scroll.offsetTwips().x(), -480);
}

VELMOR_GUILESS_TEST_MAIN(TestViewScroll)
#include "test_view_scroll.moc"
