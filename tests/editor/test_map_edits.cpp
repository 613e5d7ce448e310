#include "document/course_map.h"
#include "editor/map_edits.h"
#include "document/map_history.h"
#include "editor/map_shapes.h"
#include "tests/document/map_state.h"
#include "tests/support/test_main.h"

#include <QTest>
#include <QUndoStack>

#include <functional>

using namespace velmor;
using namespace Qt::StringLiterals;

using Edit = std::function<EditResult(MapEdits &)>;
Q_DECLARE_METATYPE(Edit)

namespace {

using test::MapState;
using test::stateOf;

Cell cellAt(const CourseMap &map, QPoint cell)
{
    return map.cell(cellIndex(cell.y(), cell.x()));
}

// A 4 x 3 area of "07" at (10, 10) and a painted "07" at (20, 20), made before the history so
// that no step holds them.
struct Rig
{
    Rig()
    {
        map.setCells(cellsIn(QRect(10, 10, 4, 3)), u"07"_s, Mark::Untouched);
        map.setCell(cellIndex(20, 20), u"07"_s, Mark::Painted);
    }
    CourseMap map;
    MapHistory history {map};
    MapEdits edits {map, history};
    QUndoStack &steps = *history.stack();
};

int differingCells(const MapState &a, const MapState &b)
{
    int count = 0;
    for (int i = 0; i < CellCount; ++i)
        count += a.texts.at(i) != b.texts.at(i) || a.marks.at(i) != b.marks.at(i);
    return count;
}

} // namespace

// The tools' edits: one named undo step each, the brush's marks, exact undo, and refusals.
class TestMapEdits : public QObject
{
    Q_OBJECT

private slots:
    void eachEditIsOneNamedStep_data();
    void eachEditIsOneNamedStep();
    void fillOnItsOwnTileChangesNothing();
    void fillOfTheWholeMap();
    void invalidTextIsRefused_data();
    void invalidTextIsRefused();
    void moveOverlapsAndClips();
    void cutGivesTheCellsItErases();
};

void TestMapEdits::eachEditIsOneNamedStep_data()
{
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("changed");
    QTest::addColumn<QPoint>("sample");
    QTest::addColumn<Cell>("sampleCell");
    const Cell painted {u"3C"_s, Mark::Painted};
    const Cell erased {u"01"_s, Mark::Erased};
    QTest::newRow("line") << Edit([](MapEdits &e) {
        return e.line({0, 0}, {4, 0}, u"3C"_s);
    }) << u"Line"_s << 5 << QPoint(2, 0)
                          << painted;
    QTest::newRow("rectangle") << Edit([](MapEdits &e) {
        return e.rectangle({0, 0}, {2, 2}, false, u"3C"_s);
    }) << u"Rectangle"_s << 8 << QPoint(2, 1)
                               << painted;
    QTest::newRow("middle-button rectangle") << Edit([](MapEdits &e) {
        return e.rectangle({9, 9}, {10, 10}, true, u"01"_s, Mark::Erased);
    }) << u"Rectangle"_s << 4 << QPoint(10, 10)
                                             << erased;
    QTest::newRow("fill") << Edit([](MapEdits &e) {
        return e.fill({11, 11}, u"3C"_s);
    }) << u"Fill"_s << 12 << QPoint(13, 12)
                          << painted;
    QTest::newRow("replace") << Edit([](MapEdits &e) { return e.replace(u"07"_s, u"3C"_s); })
                             << u"Replace"_s << 13 << QPoint(20, 20) << painted;
    QTest::newRow("paste, clipped") << Edit([](MapEdits &e) {
        return e.paste(CellBlock(2, 2, {u"3C"_s, u"0B"_s, u"0C"_s, u"0D"_s}), {126, 127});
    }) << u"Paste"_s << 2 << QPoint(126, 127)
                                    << painted;
    QTest::newRow("cut") << Edit([](MapEdits &e) {
        CellBlock copied;
        return e.cut(QRect(10, 10, 2, 2), copied);
    }) << u"Cut"_s << 4 << QPoint(11, 11)
                         << erased;
    // Three fresh cells change too: they gain the erased mark.
    QTest::newRow("delete") << Edit([](MapEdits &e) { return e.deleteCells(QRect(9, 9, 2, 2)); })
                            << u"Delete"_s << 4 << QPoint(9, 9) << erased;
    // 6 cells left behind, 12 landed (8 on "07" that gain the mark, 4 on "01").
    QTest::newRow("move") << Edit([](MapEdits &e) {
        return e.move(QRect(10, 10, 4, 3), {2, 0});
    }) << u"Move"_s << 18 << QPoint(11, 12)
                          << erased;
}

void TestMapEdits::eachEditIsOneNamedStep()
{
    Rig rig;
    QFETCH(Edit, edit);
    QFETCH(QString, name);
    QFETCH(int, changed);
    QFETCH(QPoint, sample);
    QFETCH(Cell, sampleCell);
    const MapState before = stateOf(rig.map);
    const EditResult result = edit(rig.edits);
    QVERIFY2(!result.isRefused(), qPrintable(result.error));
    const MapState after = stateOf(rig.map);
    QCOMPARE(result.changedCells, changed);
    QCOMPARE(differingCells(before, after), changed);
    QCOMPARE(cellAt(rig.map, sample), sampleCell);
    QCOMPARE(rig.steps.count(), 1);
    QCOMPARE(rig.steps.undoText(), name);
    rig.steps.undo();
    QVERIFY(stateOf(rig.map) == before);
    rig.steps.redo();
    QVERIFY(stateOf(rig.map) == after);
}

void TestMapEdits::fillOnItsOwnTileChangesNothing()
{
    Rig rig;
    const MapState before = stateOf(rig.map);
    // The area's marks differ from what a fill writes, yet nothing is written.
    QCOMPARE(rig.edits.fill({11, 11}, u"07"_s).changedCells, 0);
    QCOMPARE(rig.edits.replace(u"07"_s, u"07"_s).changedCells, 0);
    // The same texts already painted: a paste that changes nothing.
    QCOMPARE(rig.edits.paste(CellBlock(1, 1, {u"07"_s}), {20, 20}).changedCells, 0);
    QVERIFY(stateOf(rig.map) == before);
    QCOMPARE(rig.steps.count(), 0);
}

void TestMapEdits::fillOfTheWholeMap()
{
    CourseMap map;
    MapHistory history(map);
    MapEdits edits(map, history);
    QCOMPARE(edits.fill({64, 100}, u"5A"_s).changedCells, CellCount);
    QCOMPARE(map.texts(), QStringList(CellCount, u"5A"_s));
    QCOMPARE(map.marks(), QList<Mark>(CellCount, Mark::Painted));
    QCOMPARE(history.stack()->count(), 1);
    history.stack()->undo();
    QVERIFY(stateOf(map) == stateOf(CourseMap()));
}

void TestMapEdits::invalidTextIsRefused_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("one digit") << u"7"_s;
    QTest::newRow("three digits") << u"07F"_s;
    QTest::newRow("not hexadecimal") << u"0G"_s;
    QTest::newRow("blank inside") << u" 7"_s;
}

void TestMapEdits::invalidTextIsRefused()
{
    Rig rig;
    QFETCH(QString, text);
    const MapState before = stateOf(rig.map);
    const QList<EditResult> results {
        rig.edits.line({0, 0}, {9, 9}, text),
        rig.edits.rectangle({0, 0}, {9, 9}, true, text),
        rig.edits.fill({0, 0}, text),
        rig.edits.fill({11, 11}, text),
        rig.edits.replace(u"07"_s, text),
    };
    for (const EditResult &result : results) {
        QVERIFY(result.isRefused());
        QVERIFY2(result.error.contains(u'"' + text + u'"'), qPrintable(result.error));
    }
    QVERIFY(stateOf(rig.map) == before);
    QCOMPARE(rig.steps.count(), 0);
}

void TestMapEdits::moveOverlapsAndClips()
{
    Rig rig;
    const CellBlock row(4, 1, {u"A0"_s, u"A1"_s, u"A2"_s, u"A3"_s});
    rig.edits.paste(row, {0, 0});
    rig.edits.paste(row, {124, 5});
    QCOMPARE(rig.edits.move(QRect(0, 0, 4, 1), {1, 0}).changedCells, 5);
    QCOMPARE(cellAt(rig.map, {0, 0}), (Cell {u"01"_s, Mark::Erased}));
    QCOMPARE(rig.edits.copy(QRect(1, 0, 4, 1)), row);
    // Moved past the right edge: what lands off the map is gone.
    rig.edits.move(QRect(124, 5, 4, 1), {3, 0});
    QCOMPARE(
        rig.edits.copy(QRect(124, 5, 4, 1)), CellBlock(4, 1, {u"01"_s, u"01"_s, u"01"_s, u"A0"_s}));
    // Not moved at all: no step.
    const int steps = rig.steps.count();
    QCOMPARE(rig.edits.move(QRect(1, 0, 4, 1), {0, 0}).changedCells, 0);
    QCOMPARE(rig.steps.count(), steps);
}

void TestMapEdits::cutGivesTheCellsItErases()
{
    Rig rig;
    CellBlock copied;
    rig.edits.cut(QRect(12, 11, 3, 2), copied);
    QCOMPARE(copied, CellBlock(3, 2, {u"07"_s, u"07"_s, u"01"_s, u"07"_s, u"07"_s, u"01"_s}));
}

VELMOR_GUILESS_TEST_MAIN(TestMapEdits)
#include "test_map_edits.moc"
