#include "editor/cell_regions.h"
#include "document/map_geometry.h"
#include "editor/map_shapes.h"
#include "editor/stroke_tracker.h"
#include "tests/support/test_main.h"

#include <QSet>
#include <QTest>

using namespace velmor;

namespace {

QList<int> indices(const QList<QPoint> &cells)
{
    QList<int> result;
    for (QPoint cell : cells)
        result.append(cellIndex(cell.y(), cell.x()));
    return result;
}

} // namespace

// The cells of the tools' shapes, and the areas that fill and replace find.
class TestToolShapes : public QObject
{
    Q_OBJECT

private slots:
    void smallLines_data();
    void smallLines();
    void linesStepLikeStrokes_data();
    void linesStepLikeStrokes();
    void rectangles_data();
    void rectangles();
    void floodStopsAtOtherTextsAndEdges_data();
    void floodStopsAtOtherTextsAndEdges();
    void floodFollowsALongCorridor();
};

void TestToolShapes::smallLines_data()
{
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<QList<QPoint>>("cells");
    QTest::newRow("one cell") << QPoint(5, 5) << QPoint(5, 5) << QList<QPoint> {{5, 5}};
    QTest::newRow("leftwards") << QPoint(3, 3) << QPoint(1, 3)
                               << QList<QPoint> {{3, 3}, {2, 3}, {1, 3}};
    QTest::newRow("upwards") << QPoint(7, 1) << QPoint(7, 0) << QList<QPoint> {{7, 1}, {7, 0}};
    QTest::newRow("diagonal") << QPoint(0, 0) << QPoint(2, 2)
                              << QList<QPoint> {{0, 0}, {1, 1}, {2, 2}};
    QTest::newRow("two by one") << QPoint(0, 0) << QPoint(2, 1)
                                << QList<QPoint> {{0, 0}, {1, 0}, {1, 1}, {2, 1}};
    QTest::newRow("from off the map")
        << QPoint(-3, 0) << QPoint(1, 0) << QList<QPoint> {{0, 0}, {1, 0}};
    QTest::newRow("off the map") << QPoint(130, 2) << QPoint(140, 9) << QList<QPoint> {};
}

void TestToolShapes::smallLines()
{
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    QFETCH(QList<QPoint>, cells);
    QCOMPARE(lineCells(from, to), indices(cells));
}

void TestToolShapes::linesStepLikeStrokes_data()
{
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    for (QPoint delta : {QPoint(10, 3), QPoint(3, 10), QPoint(-3, 10), QPoint(-10, 3),
             QPoint(-10, -3), QPoint(-3, -10), QPoint(3, -10), QPoint(10, -3)}) {
        QTest::addRow("octant %d,%d", delta.x(), delta.y())
            << QPoint(60, 60) << QPoint(60, 60) + delta * 5;
    }
    QTest::newRow("corner to corner") << QPoint(0, 0) << QPoint(127, 127);
    QTest::newRow("anti-diagonal") << QPoint(127, 0) << QPoint(0, 127);
}

void TestToolShapes::linesStepLikeStrokes()
{
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    const QList<int> cells = lineCells(from, to);
    // A line and a fast stroke between the two cells' centres paint the same cells.
    const QPoint half(CellPitchTwips / 2, CellPitchTwips / 2);
    QCOMPARE(cells,
        StrokeTracker::cellsOnSegment(from * CellPitchTwips + half, to * CellPitchTwips + half));
    QCOMPARE(cells.constFirst(), cellIndex(from.y(), from.x()));
    QCOMPARE(cells.constLast(), cellIndex(to.y(), to.x()));
    QCOMPARE(QSet<int>(cells.cbegin(), cells.cend()).size(), cells.size());
    for (qsizetype i = 1; i < cells.size(); ++i) {
        QVERIFY2(qAbs(cellColumn(cells.at(i)) - cellColumn(cells.at(i - 1))) <= 1
                && qAbs(cellRow(cells.at(i)) - cellRow(cells.at(i - 1))) <= 1,
            "the line has a gap");
    }
}

void TestToolShapes::rectangles_data()
{
    QTest::addColumn<QPoint>("corner");
    QTest::addColumn<QPoint>("opposite");
    QTest::addColumn<bool>("filled");
    QTest::addColumn<int>("count");
    QTest::newRow("outline") << QPoint(2, 2) << QPoint(5, 4) << false << 10;
    QTest::newRow("corners swapped") << QPoint(5, 4) << QPoint(2, 2) << false << 10;
    QTest::newRow("filled") << QPoint(2, 2) << QPoint(5, 4) << true << 12;
    QTest::newRow("one row") << QPoint(3, 3) << QPoint(7, 3) << false << 5;
    QTest::newRow("one cell") << QPoint(9, 9) << QPoint(9, 9) << false << 1;
    // Sides off the map are not drawn: the bottom row and the right column remain.
    QTest::newRow("past top left") << QPoint(-2, -2) << QPoint(3, 3) << false << 7;
    QTest::newRow("past bottom right") << QPoint(125, 125) << QPoint(130, 130) << false << 5;
    QTest::newRow("filled past the edge") << QPoint(120, 120) << QPoint(140, 130) << true << 64;
    QTest::newRow("off the map") << QPoint(130, 0) << QPoint(140, 5) << true << 0;
}

void TestToolShapes::rectangles()
{
    QFETCH(QPoint, corner);
    QFETCH(QPoint, opposite);
    QFETCH(bool, filled);
    QFETCH(int, count);
    const QList<int> cells = rectangleCells(corner, opposite, filled);
    QCOMPARE(QSet<int>(cells.cbegin(), cells.cend()).size(), cells.size());
    QCOMPARE(cells.size(), count);
    const QRect span = cellSpan(corner, opposite);
    for (int index : cells) {
        const int column = cellColumn(index);
        const int row = cellRow(index);
        QVERIFY(span.contains(column, row));
        QVERIFY(filled || column == span.left() || column == span.right() || row == span.top()
            || row == span.bottom());
    }
}

void TestToolShapes::floodStopsAtOtherTextsAndEdges_data()
{
    QTest::addColumn<QPoint>("start");
    QTest::addColumn<int>("count");
    // A ring of "02" around 5 x 3 cells of "03"; "0A" at (0, 0) above "0a"; "05" at (20, 0) and
    // (21, 1), touching at a corner only.
    QTest::newRow("inside the ring") << QPoint(12, 11) << 15;
    QTest::newRow("the ring") << QPoint(9, 9) << 20;
    QTest::newRow("case tells tiles apart") << QPoint(0, 0) << 1;
    QTest::newRow("corners do not connect") << QPoint(20, 0) << 1;
    QTest::newRow("the rest, to every edge") << QPoint(127, 127) << CellCount - 15 - 20 - 4;
}

void TestToolShapes::floodStopsAtOtherTextsAndEdges()
{
    QFETCH(QPoint, start);
    QFETCH(int, count);
    QStringList texts(CellCount, QStringLiteral("01"));
    for (int index : rectangleCells({9, 9}, {15, 13}, false))
        texts[index] = QStringLiteral("02");
    for (int index : rectangleCells({10, 10}, {14, 12}, true))
        texts[index] = QStringLiteral("03");
    texts[cellIndex(0, 0)] = QStringLiteral("0A");
    texts[cellIndex(1, 0)] = QStringLiteral("0a");
    texts[cellIndex(0, 20)] = texts[cellIndex(1, 21)] = QStringLiteral("05");

    const int startIndex = cellIndex(start.y(), start.x());
    const QList<int> region = floodRegion(texts, startIndex);
    QCOMPARE(region.size(), count);
    for (int index : region)
        QCOMPARE(texts.at(index), texts.at(startIndex));
}

void TestToolShapes::floodFollowsALongCorridor()
{
    // Walls on every odd row, each open at one end, alternately: one corridor through the map.
    QStringList texts(CellCount, QStringLiteral("01"));
    for (int row = 1; row < MapSide; row += 2) {
        const int opening = (row / 2) % 2 == 0 ? MapSide - 1 : 0;
        for (int column = 0; column < MapSide; ++column) {
            if (column != opening)
                texts[cellIndex(row, column)] = QStringLiteral("02");
        }
    }
    QCOMPARE(floodRegion(texts, 0).size(), 64 * MapSide + 64);
    QCOMPARE(cellsWithText(texts, QStringLiteral("02")).size(), 64 * (MapSide - 1));
    QCOMPARE(floodRegion(QStringList(CellCount, QStringLiteral("01")), 777).size(), CellCount);
}

VELMOR_GUILESS_TEST_MAIN(TestToolShapes)
#include "test_tool_shapes.moc"
