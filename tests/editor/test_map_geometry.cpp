#include "document/map_geometry.h"
#include "editor/stroke_tracker.h"
#include "tests/support/test_main.h"

#include <QSet>
#include <QTest>

using namespace velmor;

// The index mapping that export, painting and scrolling all rely on.
class TestMapGeometry : public QObject
{
    Q_OBJECT

private slots:
    void cellPlaces_data();
    void cellPlaces();
    void everyIndexRoundTrips();
    void cellUnderPosition_data();
    void cellUnderPosition();
    void pixelConversionRounds_data();
    void pixelConversionRounds();
};

void TestMapGeometry::cellPlaces_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("top");
    QTest::newRow("first") << 0 << 0 << 0 << 0 << 0;
    QTest::newRow("end of first row") << 127 << 0 << 127 << 30480 << 0;
    QTest::newRow("start of second row") << 128 << 1 << 0 << 0 << 240;
    QTest::newRow("row 5 column 7") << 647 << 5 << 7 << 1680 << 1200;
    QTest::newRow("last") << 16383 << 127 << 127 << 30480 << 30480;
}

void TestMapGeometry::cellPlaces()
{
    QFETCH(int, index);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(int, left);
    QFETCH(int, top);
    QCOMPARE(cellRow(index), row);
    QCOMPARE(cellColumn(index), column);
    QCOMPARE(cellIndex(row, column), index);
    QCOMPARE(cellLeftTwips(index), left);
    QCOMPARE(cellTopTwips(index), top);
}

void TestMapGeometry::everyIndexRoundTrips()
{
    // Each cell has its own place, and a position inside it (away from the overlap) finds it.
    QSet<QPair<int, int>> places;
    for (int i = 0; i < CellCount; ++i) {
        places.insert({cellLeftTwips(i), cellTopTwips(i)});
        const QPoint middle(cellLeftTwips(i) + CellSizeTwips / 2, cellTopTwips(i) + CellSizeTwips / 2);
        QCOMPARE(StrokeTracker::cellAt(middle), i);
    }
    QCOMPARE(places.size(), CellCount);
}

void TestMapGeometry::cellUnderPosition_data()
{
    QTest::addColumn<QPoint>("twips");
    QTest::addColumn<int>("cell");
    QTest::newRow("origin") << QPoint(0, 0) << 0;
    QTest::newRow("overlap strip goes right") << QPoint(245, 0) << 1;
    QTest::newRow("overlap strip goes down") << QPoint(0, 250) << 128;
    QTest::newRow("last pitch step") << QPoint(30479, 0) << 126;
    QTest::newRow("last column's own strip") << QPoint(30734, 30734) << 16383;
    QTest::newRow("past the cells") << QPoint(30735, 0) << -1;
    QTest::newRow("empty container") << QPoint(40000, 40000) << -1;
    QTest::newRow("negative") << QPoint(-1, 10) << -1;
}

void TestMapGeometry::cellUnderPosition()
{
    QFETCH(QPoint, twips);
    QFETCH(int, cell);
    QCOMPARE(StrokeTracker::cellAt(twips), cell);
}

void TestMapGeometry::pixelConversionRounds_data()
{
    QTest::addColumn<int>("twips");
    QTest::addColumn<int>("pixels");
    QTest::newRow("cell size") << 255 << 17;
    QTest::newRow("pitch") << 240 << 16;
    QTest::newRow("container") << MapContainerTwips << 3381;
    QTest::newRow("rounds up") << 5330 << 355;
    QTest::newRow("shadow offset") << 8650 << 577;
    QTest::newRow("negative") << -23040 << -1536;
}

void TestMapGeometry::pixelConversionRounds()
{
    QFETCH(int, twips);
    QFETCH(int, pixels);
    QCOMPARE(twipsToPixels(twips), pixels);
}

VELMOR_GUILESS_TEST_MAIN(TestMapGeometry)
#include "test_map_geometry.moc"
