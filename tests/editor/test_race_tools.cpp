#include "editor/race_geometry.h"
#include "rom/item_kinds.h"
#include "tests/support/test_main.h"

#include <QTest>

using namespace velmor;
using namespace Qt::StringLiterals;
using race::LapHandle;
using race::StartHandle;

Q_DECLARE_METATYPE(race::StartHandle)
Q_DECLARE_METATYPE(race::LapHandle)
Q_DECLARE_METATYPE(rom::StartGrid)
Q_DECLARE_METATYPE(rom::LapLine)

namespace {

const rom::RaceStart Grid {200, 300, 24}; // karts at x 200 and 224, y 300 + 24 i
const rom::BattleStart Battle {{100, 100}, {400, 400}};
const rom::LapLine Lap {330, 10, 20, 4, 2}; // cells 10-13 across, 20-21 down: pixels 320-351

} // namespace

// The race tools: what lies where and how a drag changes it, then the tools through the
// controller on a document, one undo step a gesture.
class TestRaceTools : public QObject
{
    Q_OBJECT

private slots:
    void itemKindsOfPatterns_data();
    void itemKindsOfPatterns();
    void itemsStayWholeOnTheMap();
    void startHandles_data();
    void startHandles();
    void lapHandlesSnapY_data();
    void lapHandlesSnapY();
};

void TestRaceTools::itemKindsOfPatterns_data()
{
    QTest::addColumn<int>("pattern");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("size");
    QTest::newRow("first box") << 0 << u"Item Box"_s << 0;
    QTest::newRow("last box") << 3 << u"Item Box"_s << 0;
    QTest::newRow("used box") << 4 << u"Used Item Box"_s << 0;
    QTest::newRow("dash plate") << 11 << u"Dash Plate"_s << 0;
    QTest::newRow("solid block") << 12 << u"Solid Block"_s << 0;
    QTest::newRow("oil") << 19 << u"Oil Slick"_s << 0;
    QTest::newRow("bar across") << 20 << u"Jump Bar Across"_s << 1;
    QTest::newRow("bar along") << 27 << u"Jump Bar Along"_s << 2;
    QTest::newRow("coins") << 28 << u"Coin Group"_s << 3;
    QTest::newRow("last coins") << 55 << u"Coin Group"_s << 3;
    QTest::newRow("undefined") << 56 << u"Item"_s << 0;
}

void TestRaceTools::itemKindsOfPatterns()
{
    QFETCH(int, pattern);
    const rom::OverlayItem item = rom::makeItem(pattern, 10, 20);
    const std::string_view name = rom::itemName(item);
    QFETCH(QString, shown);
    QFETCH(int, size);
    QCOMPARE(QString::fromUtf8(name.data(), qsizetype(name.size())), shown);
    QCOMPARE(item.size, size);
    QCOMPARE(item.pattern, pattern);
    QCOMPARE(QPoint(item.col, item.row), QPoint(10, 20));
}

void TestRaceTools::itemsStayWholeOnTheMap()
{
    // A record past the right edge would wrap into the next row.
    const rom::OverlayItem coins = rom::makeItem(30, 127, 127);
    QCOMPARE(QPoint(coins.col, coins.row), QPoint(123, 123));
    const rom::OverlayItem bar = rom::makeItem(20, 127, 0);
    QCOMPARE(QPoint(bar.col, bar.row), QPoint(125, 0));

    // A group moved against the edge stops there whole, keeping its shape.
    const rom::OverlayItems items {rom::makeItem(0, 120, 10), rom::makeItem(0, 124, 12),
        rom::makeItem(0, 0, 0)};
    const rom::OverlayItems moved = race::movedItems(items, {0, 1}, {10, -20});
    QCOMPARE(QPoint(moved[0].col, moved[0].row), QPoint(122, 0));
    QCOMPARE(QPoint(moved[1].col, moved[1].row), QPoint(126, 2));
    QCOMPARE(moved[2], items[2]);

    QCOMPARE(race::itemAt(items, {124 * 8 + 3, 13 * 8}), 1);
    QCOMPARE(race::itemAt(items, {50, 50}), -1);
}

void TestRaceTools::startHandles_data()
{
    QTest::addColumn<rom::StartGrid>("start");
    QTest::addColumn<QPointF>("press");
    QTest::addColumn<QPointF>("drag");
    QTest::addColumn<StartHandle>("handle");
    QTest::addColumn<rom::StartGrid>("after");
    QTest::newRow("grid by its last kart") << rom::StartGrid(Grid) << QPointF(226, 469)
        << QPointF(30, -40) << StartHandle::Grid << rom::StartGrid(rom::RaceStart {230, 260, 24});
    QTest::newRow("grid stops at the course's edge") << rom::StartGrid(Grid) << QPointF(200, 300)
        << QPointF(-500, 900) << StartHandle::Grid
        << rom::StartGrid(rom::RaceStart {0, 1023 - 7 * 24, 24});
    QTest::newRow("spacing widens") << rom::StartGrid(Grid) << QPointF(224, 324) << QPointF(8, 3)
        << StartHandle::Spacing << rom::StartGrid(rom::RaceStart {200, 300, 32});
    QTest::newRow("spacing crosses to the left") << rom::StartGrid(Grid) << QPointF(224, 324)
        << QPointF(-50, 0) << StartHandle::Spacing << rom::StartGrid(rom::RaceStart {200, 300, -26});
    QTest::newRow("side flips") << rom::StartGrid(Grid) << QPointF(176, 324) << QPointF(0, 0)
        << StartHandle::Side << rom::StartGrid(rom::RaceStart {200, 300, -24});
    QTest::newRow("nothing there") << rom::StartGrid(Grid) << QPointF(600, 600) << QPointF(5, 5)
        << StartHandle::None << rom::StartGrid(Grid);
    QTest::newRow("battle P2") << rom::StartGrid(Battle) << QPointF(403, 398) << QPointF(-7, 12)
        << StartHandle::P2 << rom::StartGrid(rom::BattleStart {{100, 100}, {393, 412}});
    QTest::newRow("battle P1 kept on the course") << rom::StartGrid(Battle) << QPointF(100, 100)
        << QPointF(-300, 0) << StartHandle::P1 << rom::StartGrid(rom::BattleStart {{0, 100}, {400, 400}});
}

void TestRaceTools::startHandles()
{
    QFETCH(rom::StartGrid, start);
    QFETCH(QPointF, press);
    QFETCH(QPointF, drag);
    QFETCH(StartHandle, handle);
    QFETCH(rom::StartGrid, after);
    QCOMPARE(race::startHandleAt(start, press), handle);
    const rom::StartGrid dragged = race::draggedStart(start, handle, drag);
    QVERIFY(dragged == after);
    QCOMPARE(rom::startProblem(dragged), std::string());
}

void TestRaceTools::lapHandlesSnapY_data()
{
    QTest::addColumn<QPointF>("press");
    QTest::addColumn<QPointF>("drag");
    QTest::addColumn<LapHandle>("handle");
    QTest::addColumn<rom::LapLine>("after");
    QTest::newRow("line down") << QPointF(180, 331) << QPointF(0, 9) << LapHandle::Line
                               << rom::LapLine {339, 10, 20, 4, 2};
    QTest::newRow("line snaps to the rectangle's last row") << QPointF(170, 330) << QPointF(0, 90)
        << LapHandle::Line << rom::LapLine {351, 10, 20, 4, 2};
    QTest::newRow("line snaps to its top") << QPointF(170, 330) << QPointF(0, -90)
        << LapHandle::Line << rom::LapLine {320, 10, 20, 4, 2};
    QTest::newRow("area by whole cells, the line with it") << QPointF(165, 345) << QPointF(-35, 18)
        << LapHandle::Area << rom::LapLine {346, 8, 21, 4, 2};
    QTest::newRow("area kept on the grid") << QPointF(165, 345) << QPointF(2000, 0)
        << LapHandle::Area << rom::LapLine {330, 60, 20, 4, 2};
    QTest::newRow("bottom right grows") << QPointF(224, 352) << QPointF(33, 15)
        << LapHandle::BottomRight << rom::LapLine {330, 10, 20, 6, 3};
    QTest::newRow("top left shrinks to a cell, Y follows") << QPointF(160, 320) << QPointF(200, 200)
        << LapHandle::TopLeft << rom::LapLine {336, 13, 21, 1, 1};
    QTest::newRow("top right up: Y stays") << QPointF(224, 320) << QPointF(0, -32)
        << LapHandle::TopRight << rom::LapLine {330, 10, 18, 4, 4};
    QTest::newRow("outside") << QPointF(100, 100) << QPointF(5, 5) << LapHandle::None << Lap;
}

void TestRaceTools::lapHandlesSnapY()
{
    QFETCH(QPointF, press);
    QFETCH(QPointF, drag);
    QFETCH(LapHandle, handle);
    QFETCH(rom::LapLine, after);
    QCOMPARE(race::lapHandleAt(Lap, press), handle);
    const rom::LapLine dragged = race::draggedLap(Lap, handle, drag);
    QCOMPARE(dragged, after);
    QCOMPARE(rom::lapProblem(dragged), std::string());
}

VELMOR_GUILESS_TEST_MAIN(TestRaceTools)
#include "test_race_tools.moc"
