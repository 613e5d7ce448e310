#include "document/map_geometry.h"
#include "editor/stroke_tracker.h"
#include "tests/support/test_main.h"

#include <QRandomGenerator>
#include <QSet>
#include <QTest>

using namespace velmor;

namespace {

QPoint centre(int row, int column)
{
    return QPoint(column * CellPitchTwips + 120, row * CellPitchTwips + 120);
}

// A stroke whose capture has already ended, with the pointer now at `at`.
StrokeTracker freeStroke(QPoint pressed, QPoint at)
{
    StrokeTracker tracker;
    tracker.press(pressed, true);
    tracker.move(at, true);
    return tracker;
}

} // namespace

// Which cells a stroke reaches: the capture of the pressed cell, then every crossed cell.
class TestStrokeTracker : public QObject
{
    Q_OBJECT

private slots:
    void pressNamesTheCellUnderThePointer();
    void captureEdge_data();
    void captureEdge();
    void captureEndingMoveIsHandledForThePressedCell();
    void fastHorizontalJumpLeavesNoGap();
    void fastJumpBackwardsLeavesNoGap();
    void diagonalThroughCornersStepsDiagonally();
    void segmentWalkIsContinuous();
    void hiddenPositionsPaintNothingAndStrokeResumes();
    void offMapPositionsPaintNothing();
    void releaseEndsTheStroke();
    void lastCellsAreReachable();
};

void TestStrokeTracker::pressNamesTheCellUnderThePointer()
{
    StrokeTracker tracker;
    QCOMPARE(tracker.press(centre(5, 7), true), 647);
    QVERIFY(tracker.isCapturing());
    QCOMPARE(tracker.capturedCell(), 647);
    QCOMPARE(tracker.press(centre(5, 7), false), -1);
    QVERIFY(!tracker.isCapturing());
}

void TestStrokeTracker::captureEdge_data()
{
    QTest::addColumn<QPoint>("relative"); // relative to the pressed cell's top-left
    QTest::addColumn<bool>("keeps");
    QTest::newRow("right edge 255") << QPoint(255, 100) << true;
    QTest::newRow("beyond right 256") << QPoint(256, 100) << false;
    QTest::newRow("left edge 0") << QPoint(0, 100) << true;
    QTest::newRow("beyond left -1") << QPoint(-1, 100) << false;
    QTest::newRow("bottom edge 255") << QPoint(100, 255) << true;
    QTest::newRow("beyond bottom 256") << QPoint(100, 256) << false;
    QTest::newRow("top edge 0") << QPoint(100, 0) << true;
    QTest::newRow("beyond top -1") << QPoint(100, -1) << false;
    QTest::newRow("corner 255,255") << QPoint(255, 255) << true;
}

void TestStrokeTracker::captureEdge()
{
    QFETCH(QPoint, relative);
    QFETCH(bool, keeps);
    const int pressed = cellIndex(10, 10);
    const QPoint topLeft(cellLeftTwips(pressed), cellTopTwips(pressed));
    StrokeTracker tracker;
    tracker.press(topLeft + QPoint(100, 100), true);
    const QList<int> cells = tracker.move(topLeft + relative, true);
    QCOMPARE(tracker.isCapturing(), keeps);
    QVERIFY(!cells.isEmpty());
    QCOMPARE(cells.first(), pressed);
    if (keeps)
        QCOMPARE(cells, QList<int>{pressed});
}

void TestStrokeTracker::captureEndingMoveIsHandledForThePressedCell()
{
    StrokeTracker tracker;
    tracker.press(QPoint(100, 100), true);
    // Still inside cell 0 at x = 250, though the strip there belongs to cell 1 for a fresh press.
    QCOMPARE(tracker.move(QPoint(250, 100), true), QList<int>{0});
    // Leaving: cell 0 first, then the cells reached on the way, the one under the pointer last.
    QCOMPARE(tracker.move(QPoint(600, 100), true), (QList<int>{0, 1, 2}));
    QVERIFY(!tracker.isCapturing());
    // The next move goes on from cell 2 without handling it again.
    QCOMPARE(tracker.move(QPoint(700, 100), true), QList<int>{});
    QCOMPARE(tracker.move(QPoint(730, 100), true), QList<int>{3});
}

void TestStrokeTracker::fastHorizontalJumpLeavesNoGap()
{
    StrokeTracker tracker = freeStroke(centre(2, 0), centre(2, 1));
    QList<int> expected;
    for (int column = 2; column <= 20; ++column)
        expected.append(cellIndex(2, column));
    QCOMPARE(tracker.move(centre(2, 20), true), expected);
}

void TestStrokeTracker::fastJumpBackwardsLeavesNoGap()
{
    StrokeTracker tracker = freeStroke(centre(30, 9), centre(31, 9));
    QList<int> expected;
    for (int row = 30; row >= 25; --row)
        expected.append(cellIndex(row, 9));
    QCOMPARE(tracker.move(centre(25, 9), true), expected);
}

void TestStrokeTracker::diagonalThroughCornersStepsDiagonally()
{
    const QList<int> cells = StrokeTracker::cellsOnSegment(QPoint(0, 0), QPoint(1200, 1200));
    QList<int> expected;
    for (int k = 0; k <= 5; ++k)
        expected.append(cellIndex(k, k));
    QCOMPARE(cells, expected);
}

void TestStrokeTracker::segmentWalkIsContinuous()
{
    // Random segments over the map: the walk starts and ends under the two positions, visits each
    // cell once, moves only to a neighbouring cell, and takes at least as many steps as the larger
    // of the row and column distances and at most their sum.
    QRandomGenerator random(20261208);
    const int extent = CellPitchTwips * (MapSide - 1) + CellSizeTwips;
    for (int n = 0; n < 2000; ++n) {
        const QPoint a(random.bounded(extent), random.bounded(extent));
        const QPoint b(random.bounded(extent), random.bounded(extent));
        const QList<int> cells = StrokeTracker::cellsOnSegment(a, b);
        QVERIFY(!cells.isEmpty());
        QCOMPARE(cells.first(), StrokeTracker::cellAt(a));
        QCOMPARE(cells.last(), StrokeTracker::cellAt(b));
        QCOMPARE(QSet<int>(cells.cbegin(), cells.cend()).size(), cells.size());
        for (qsizetype i = 1; i < cells.size(); ++i) {
            const int dr = qAbs(cellRow(cells[i]) - cellRow(cells[i - 1]));
            const int dc = qAbs(cellColumn(cells[i]) - cellColumn(cells[i - 1]));
            QVERIFY2(qMax(dr, dc) == 1, qPrintable(QStringLiteral("gap at step %1").arg(i)));
        }
        const int rows = qAbs(cellRow(cells.last()) - cellRow(cells.first()));
        const int columns = qAbs(cellColumn(cells.last()) - cellColumn(cells.first()));
        QVERIFY(cells.size() - 1 >= qMax(rows, columns));
        QVERIFY(cells.size() - 1 <= rows + columns);
    }
}

void TestStrokeTracker::hiddenPositionsPaintNothingAndStrokeResumes()
{
    StrokeTracker tracker = freeStroke(centre(4, 4), centre(4, 5));
    QCOMPARE(tracker.move(centre(4, 9), false), QList<int>{});
    QCOMPARE(tracker.move(centre(4, 12), false), QList<int>{});
    // Back in sight: the cell under the pointer, nothing filled in across the hidden stretch.
    QCOMPARE(tracker.move(centre(4, 14), true), QList<int>{cellIndex(4, 14)});
    QCOMPARE(tracker.move(centre(4, 16), true), (QList<int>{cellIndex(4, 15), cellIndex(4, 16)}));
}

void TestStrokeTracker::offMapPositionsPaintNothing()
{
    StrokeTracker tracker = freeStroke(centre(0, 126), centre(0, 127));
    QCOMPARE(tracker.move(QPoint(31000, 120), true), QList<int>{});
    // Coming back onto the last column.
    QCOMPARE(tracker.move(centre(0, 127), true), QList<int>{127});
}

void TestStrokeTracker::releaseEndsTheStroke()
{
    StrokeTracker tracker = freeStroke(centre(1, 1), centre(1, 2));
    tracker.release();
    QVERIFY(!tracker.isCapturing());
    // A later move without a press starts from nothing: only the cell under the pointer.
    QCOMPARE(tracker.move(centre(1, 10), true), QList<int>{cellIndex(1, 10)});
}

void TestStrokeTracker::lastCellsAreReachable()
{
    // The far corner of the map is reachable, and leaving it upwards walks into the row above.
    StrokeTracker tracker;
    QCOMPARE(tracker.press(centre(127, 127), true), 16383);
    QCOMPARE(tracker.move(centre(126, 127), true), (QList<int>{16383, 16383 - 128}));
}

VELMOR_GUILESS_TEST_MAIN(TestStrokeTracker)
#include "test_stroke_tracker.moc"
