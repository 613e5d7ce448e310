#include "editor/cell_regions.h"
#include "editor/map_geometry.h"
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

QPoint centre(QPoint cell)
{
    return cell * CellPitchTwips + QPoint(CellPitchTwips / 2, CellPitchTwips / 2);
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
    QTest::newRow("row leftwards")
        << QPoint(4, 3) << QPoint(1, 3) << QList<QPoint> {{4, 3}, {3, 3}, {2, 3}, {1, 3}};
    QTest::newRow("column upwards")
        << QPoint(7, 2) << QPoint(7, 0) << QList<QPoint> {{7, 2}, {7, 1}, {7, 0}};
    QTest::newRow("diagonal steps through corners")
        << QPoint(0, 0) << QPoint(3, 3) << QList<QPoint> {{0, 0}, {1, 1}, {2, 2}, {3, 3}};
    QTest::newRow("two across, one down")
        << QPoint(0, 0) << QPoint(2, 1) << QList<QPoint> {{0, 0}, {1, 0}, {1, 1}, {2, 1}};
    QTest::newRow("starts off the map")
        << QPoint(-3, 0) << QPoint(1, 0) << QList<QPoint> {{0, 0}, {1, 0}};
    QTest::newRow("wholly off the map") << QPoint(130, 2) << QPoint(140, 9) << QList<QPoint> {};
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
    const QPoint middle(60, 60);
    const QList<QPoint> octants {
        {10, 3}, {3, 10}, {-3, 10}, {-10, 3}, {-10, -3}, {-3, -10}, {3, -10}, {10, -3}};
    for (QPoint delta : octants) {
        QTest::addRow("octant %d,%d", delta.x(), delta.y()) << middle << middle + delta * 5;
    }
    QTest::newRow("corner to corner") << QPoint(0, 0) << QPoint(127, 127);
    QTest::newRow("anti-diagonal") << QPoint(127, 0) << QPoint(0, 127);
    QTest::newRow("shallow across the map") << QPoint(0, 100) << QPoint(127, 90);
}

void TestToolShapes::linesStepLikeStrokes()
{
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    const QList<int> cells = lineCells(from, to);
    // A line and a fast stroke between the same cells' centres paint the same cells.
    QCOMPARE(cells, StrokeTracker::cellsOnSegment(centre(from), centre(to)));
    QCOMPARE(cells.constFirst(), cellIndex(from.y(), from.x()));
    QCOMPARE(cells.constLast(), cellIndex(to.y(), to.x()));
    const QPoint delta = to - from;
    QVERIFY(cells.size() >= qMax(qAbs(delta.x()), qAbs(delta.y())) + 1);
    QVERIFY(cells.size() <= qAbs(delta.x()) + qAbs(delta.y()) + 1);
    QCOMPARE(QSet<int>(cells.cbegin(), cells.cend()).size(), cells.size());
    for (qsizetype i = 1; i < cells.size(); ++i) {
        const int columnStep = qAbs(cellColumn(cells.at(i)) - cellColumn(cells.at(i - 1)));
        const int rowStep = qAbs(cellRow(cells.at(i)) - cellRow(cells.at(i - 1)));
        QVERIFY2(columnStep <= 1 && rowStep <= 1, "the line has a gap");
    }
}

void TestToolShapes::rectangles_data()
{
    QTest::addColumn<QPoint>("corner");
    QTest::addColumn<QPoint>("opposite");
    QTest::addColumn<bool>("filled");
    QTest::addColumn<int>("count");
    QTest::newRow("outline") << QPoint(2, 2) << QPoint(5, 4) << false << 10;
    QTest::newRow("outline, corners swapped") << QPoint(5, 4) << QPoint(2, 2) << false << 10;
    QTest::newRow("filled") << QPoint(2, 2) << QPoint(5, 4) << true << 12;
    QTest::newRow("one row") << QPoint(3, 3) << QPoint(7, 3) << false << 5;
    QTest::newRow("one column") << QPoint(3, 3) << QPoint(3, 6) << false << 4;
    QTest::newRow("one cell") << QPoint(9, 9) << QPoint(9, 9) << false << 1;
    // Sides off the map are not drawn: only the bottom row and the right column remain.
    QTest::newRow("outline past top left") << QPoint(-2, -2) << QPoint(3, 3) << false << 7;
    QTest::newRow("outline past bottom right")
        << QPoint(125, 125) << QPoint(130, 130) << false << 5;
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
    QCOMPARE(cells.size(), count);
    QCOMPARE(QSet<int>(cells.cbegin(), cells.cend()).size(), count);
    const QRect span = cellSpan(corner, opposite);
    for (int index : cells) {
        const int column = cellColumn(index);
        const int row = cellRow(index);
        QVERIFY(span.contains(column, row));
        const bool onSide = column == span.left() || column == span.right() || row == span.top()
            || row == span.bottom();
        QVERIFY(filled || onSide);
    }
}

void TestToolShapes::floodStopsAtOtherTextsAndEdges_data()
{
    QTest::addColumn<QPoint>("start");
    QTest::addColumn<int>("count");
    // A ring of "02" around (10..14, 10..12); "0a" at (0, 1) next to "0A" at (0, 0); "05" at
    // (20, 0) and (21, 1), touching only at a corner.
    QTest::newRow("inside the ring") << QPoint(12, 11) << 15;
    QTest::newRow("the ring itself") << QPoint(9, 9) << 20;
    QTest::newRow("case tells tiles apart") << QPoint(0, 0) << 1;
    QTest::newRow("corners do not connect") << QPoint(20, 0) << 1;
    QTest::newRow("everything else, to every edge") << QPoint(127, 127) << CellCount - 15 - 20 - 4;
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
    texts[cellIndex(0, 20)] = QStringLiteral("05");
    texts[cellIndex(1, 21)] = QStringLiteral("05");

    const QList<int> region = floodRegion(texts, cellIndex(start.y(), start.x()));
    QCOMPARE(region.size(), count);
    QVERIFY(std::is_sorted(region.cbegin(), region.cend()));
    for (int index : region)
        QCOMPARE(texts.at(index), texts.at(cellIndex(start.y(), start.x())));
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
