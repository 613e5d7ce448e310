#include "editor/course_map.h"
#include "editor/map_edits.h"
#include "editor/map_history.h"
#include "editor/map_shapes.h"
#include "tests/support/test_main.h"

#include <QTest>
#include <QUndoStack>

#include <functional>

using namespace velmor;
using namespace Qt::StringLiterals;

using Edit = std::function<EditResult(MapEdits &)>;
Q_DECLARE_METATYPE(Edit)

namespace {

struct State
{
    QStringList texts;
    QList<Mark> marks;
    bool operator==(const State &) const = default;
};

State stateOf(const CourseMap &map)
{
    return {map.texts(), map.marks()};
}

Cell cellAt(const CourseMap &map, QPoint cell)
{
    return map.cell(cellIndex(cell.y(), cell.x()));
}

int differingCells(const State &a, const State &b)
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
    void init();
    void cleanup();
    void eachEditIsOneNamedStep_data();
    void eachEditIsOneNamedStep();
    void fillOnItsOwnTileChangesNothing();
    void fillOfTheWholeMap();
    void invalidTextIsRefused_data();
    void invalidTextIsRefused();
    void moveOverlapsAndClips();
    void cutGivesTheCellsItErases();

private:
    // A 4 x 3 area of "07" at (10, 10) and a painted "07" at (20, 20), made before the history
    // so that no step holds them.
    std::unique_ptr<CourseMap> mMap;
    std::unique_ptr<MapHistory> mHistory;
    std::unique_ptr<MapEdits> mEdits;
};

void TestMapEdits::init()
{
    mMap = std::make_unique<CourseMap>();
    mMap->setCells(cellsIn(QRect(10, 10, 4, 3)), u"07"_s, Mark::Untouched);
    mMap->setCell(cellIndex(20, 20), u"07"_s, Mark::Painted);
    mHistory = std::make_unique<MapHistory>(*mMap);
    mEdits = std::make_unique<MapEdits>(*mMap, *mHistory);
}

void TestMapEdits::cleanup()
{
    mEdits.reset();
    mHistory.reset();
    mMap.reset();
}

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
    QFETCH(Edit, edit);
    QFETCH(QString, name);
    QFETCH(int, changed);
    QFETCH(QPoint, sample);
    QFETCH(Cell, sampleCell);
    const State before = stateOf(*mMap);
    const EditResult result = edit(*mEdits);
    QVERIFY2(!result.isRefused(), qPrintable(result.error));
    const State after = stateOf(*mMap);
    QCOMPARE(result.changedCells, changed);
    QCOMPARE(differingCells(before, after), changed);
    QCOMPARE(cellAt(*mMap, sample), sampleCell);
    QCOMPARE(mHistory->stack()->count(), 1);
    QCOMPARE(mHistory->stack()->undoText(), name);
    mHistory->stack()->undo();
    QVERIFY(stateOf(*mMap) == before);
    mHistory->stack()->redo();
    QVERIFY(stateOf(*mMap) == after);
}

void TestMapEdits::fillOnItsOwnTileChangesNothing()
{
    const State before = stateOf(*mMap);
    // The area's marks differ from what a fill writes, yet nothing is written.
    QCOMPARE(mEdits->fill({11, 11}, u"07"_s).changedCells, 0);
    QCOMPARE(mEdits->replace(u"07"_s, u"07"_s).changedCells, 0);
    // The same texts already painted: a paste that changes nothing.
    QCOMPARE(mEdits->paste(CellBlock(1, 1, {u"07"_s}), {20, 20}).changedCells, 0);
    QVERIFY(stateOf(*mMap) == before);
    QCOMPARE(mHistory->stack()->count(), 0);
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
    QFETCH(QString, text);
    const State before = stateOf(*mMap);
    const QList<EditResult> results {
        mEdits->line({0, 0}, {9, 9}, text),
        mEdits->rectangle({0, 0}, {9, 9}, true, text),
        mEdits->fill({0, 0}, text),
        mEdits->fill({11, 11}, text),
        mEdits->replace(u"07"_s, text),
    };
    for (const EditResult &result : results) {
        QVERIFY(result.isRefused());
        QVERIFY2(result.error.contains(u'"' + text + u'"'), qPrintable(result.error));
    }
    QVERIFY(stateOf(*mMap) == before);
    QCOMPARE(mHistory->stack()->count(), 0);
}

void TestMapEdits::moveOverlapsAndClips()
{
    const CellBlock row(4, 1, {u"A0"_s, u"A1"_s, u"A2"_s, u"A3"_s});
    mEdits->paste(row, {0, 0});
    mEdits->paste(row, {124, 5});
    QCOMPARE(mEdits->move(QRect(0, 0, 4, 1), {1, 0}).changedCells, 5);
    QCOMPARE(cellAt(*mMap, {0, 0}), (Cell {u"01"_s, Mark::Erased}));
    QCOMPARE(mEdits->copy(QRect(1, 0, 4, 1)), row);
    // Moved past the right edge: what lands off the map is gone.
    mEdits->move(QRect(124, 5, 4, 1), {3, 0});
    QCOMPARE(
        mEdits->copy(QRect(124, 5, 4, 1)), CellBlock(4, 1, {u"01"_s, u"01"_s, u"01"_s, u"A0"_s}));
    // Not moved at all: no step.
    const int steps = mHistory->stack()->count();
    QCOMPARE(mEdits->move(QRect(1, 0, 4, 1), {0, 0}).changedCells, 0);
    QCOMPARE(mHistory->stack()->count(), steps);
}

void TestMapEdits::cutGivesTheCellsItErases()
{
    CellBlock copied;
    mEdits->cut(QRect(12, 11, 3, 2), copied);
    QCOMPARE(copied, CellBlock(3, 2, {u"07"_s, u"07"_s, u"01"_s, u"07"_s, u"07"_s, u"01"_s}));
    QCOMPARE(mEdits->copy(QRect(12, 11, 3, 2)), CellBlock(3, 2, QStringList(6, u"01"_s)));
    QCOMPARE(mEdits->pick({13, 10}), u"07"_s);
    QCOMPARE(mEdits->pick({128, 0}), std::nullopt);
}

VELMOR_GUILESS_TEST_MAIN(TestMapEdits)
#include "test_map_edits.moc"
