#include "document/course_map.h"
#include "document/map_history.h"
#include "document/map_snapshot.h"
#include "editor/painting.h"
#include "tests/document/map_state.h"
#include "tests/support/test_main.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>
#include <QUndoStack>

using namespace velmor;

namespace {

using test::MapState;
using test::stateOf;

// "00".."FF" and their lower-case forms: 512 distinct texts, built once.
const QStringList &allTexts()
{
    static const QStringList texts = [] {
        QStringList list;
        for (int i = 0; i < 256; ++i)
            list.append(QStringLiteral("%1").arg(i, 2, 16, QLatin1Char('0')).toUpper());
        for (int i = 0; i < 256; ++i)
            list.append(list.at(i).toLower());
        return list;
    }();
    return texts;
}

QString hexText(quint32 value)
{
    return allTexts().at(int(value & 0xff));
}

// A map where every cell differs from its neighbours and marks vary: the worst case to keep.
void scramble(CourseMap &map, quint32 seed)
{
    QRandomGenerator random(seed);
    QStringList texts;
    QList<Mark> marks;
    for (int i = 0; i < CellCount; ++i) {
        texts.append(allTexts().at(int(random.bounded(512))));
        marks.append(static_cast<Mark>(random.bounded(3)));
    }
    map.setAll(texts, marks);
}

} // namespace

class TestMapHistory : public QObject
{
    Q_OBJECT

private slots:
    void snapshotRoundTrip_data();
    void snapshotRoundTrip();
    void everyKindOfStepUndoesAndRedoes();
    void dragIsOneStep();
    void unchangedPressMakesNoStep();
    void wholeMapStepAfterCellChangesInSameStep();
    void undoIsNotRecordedAsAStep();
    void thousandWholeMapStepsStaySmall();
    void batchWritesOnlyChangedCellsAndAnnouncesOnce();
    void largeBatchStepIsCompactAndUndoesExactly();
};

void TestMapHistory::snapshotRoundTrip_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("fresh map") << 0;
    QTest::newRow("scrambled, over 256 distinct texts") << 1;
    QTest::newRow("few texts, mixed marks") << 2;
    QTest::newRow("texts that are no two ASCII characters") << 3;
}

void TestMapHistory::snapshotRoundTrip()
{
    QFETCH(int, kind);
    CourseMap map;
    if (kind == 1)
        scramble(map, 7);
    if (kind == 2) {
        TilePainter painter(map);
        painter.press(3, LeftButton, {QStringLiteral("0a"), QStringLiteral("FF")});
        painter.press(16383, MiddleButton, {});
        painter.press(200, RightButton, {QStringLiteral("0a"), QStringLiteral("")});
    }
    if (kind == 3) {
        const QStringList odd{QStringLiteral("0A"), QString(), QStringLiteral("7"),
                              QStringLiteral("0AB"), QString::fromUtf8("\xc3\xbc" "1"),
                              QStringLiteral("0a")};
        for (int i = 0; i < CellCount; i += 3)
            map.setCell(i, odd.at((i / 3) % odd.size()), Mark::Painted);
    }
    const MapSnapshot snapshot = MapSnapshot::take(map);
    QCOMPARE(snapshot.texts(), map.texts());
    QCOMPARE(snapshot.marks(), map.marks());
}

void TestMapHistory::everyKindOfStepUndoesAndRedoes()
{
    CourseMap map;
    MapHistory history(map);
    TilePainter painter(map);
    const Palettes palettes{QStringLiteral("3C"), QStringLiteral("a")};
    QList<MapState> states{stateOf(map)};

    auto step = [&](const QString &name, auto &&change) {
        history.begin(name);
        change();
        history.end();
        states.append(stateOf(map));
    };
    step(QStringLiteral("press"), [&] { painter.press(10, LeftButton, palettes); });
    step(QStringLiteral("right drag"), [&] {
        painter.press(300, RightButton, palettes);
        for (int i = 301; i < 340; ++i)
            painter.move(i, RightButton, palettes);
    });
    step(QStringLiteral("erase"), [&] {
        painter.press(10, MiddleButton, palettes);
        painter.move(300, MiddleButton, palettes);
    });
    step(QStringLiteral("texture filler"), [&] { painter.textureFiller(QStringLiteral("7F")); });
    step(QStringLiteral("clear color"), [&] { painter.clearColor(); });
    step(QStringLiteral("open"), [&] { scramble(map, 42); });

    QCOMPARE(history.stack()->count(), 6);
    for (int i = states.size() - 2; i >= 0; --i) {
        history.stack()->undo();
        QCOMPARE(stateOf(map), states.at(i));
    }
    for (int i = 1; i < states.size(); ++i) {
        history.stack()->redo();
        QCOMPARE(stateOf(map), states.at(i));
    }
}

void TestMapHistory::dragIsOneStep()
{
    CourseMap map;
    MapHistory history(map);
    TilePainter painter(map);
    const Palettes palettes{QStringLiteral("05"), QStringLiteral("06")};
    history.begin(QStringLiteral("drag"));
    painter.press(0, LeftButton, palettes);
    for (int i = 1; i < 2000; ++i)
        painter.move(i, LeftButton, palettes);
    history.end();
    QCOMPARE(history.stack()->count(), 1);
    history.stack()->undo();
    QCOMPARE(stateOf(map), stateOf(CourseMap()));
}

void TestMapHistory::unchangedPressMakesNoStep()
{
    CourseMap map;
    MapHistory history(map);
    TilePainter painter(map);
    const Palettes palettes{QStringLiteral("05"), QStringLiteral("06")};
    history.begin(QStringLiteral("press"));
    painter.press(5, LeftButton, palettes);
    history.end();
    // The second press writes the same text and mark again: nothing to undo.
    history.begin(QStringLiteral("press"));
    painter.press(5, LeftButton, palettes);
    history.end();
    QCOMPARE(history.stack()->count(), 1);
}

void TestMapHistory::wholeMapStepAfterCellChangesInSameStep()
{
    CourseMap map;
    MapHistory history(map);
    TilePainter painter(map);
    const MapState before = stateOf(map);
    history.begin(QStringLiteral("mixed"));
    painter.press(77, LeftButton, {QStringLiteral("AA"), QString()});
    painter.textureFiller(QStringLiteral("BB"));
    history.end();
    history.stack()->undo();
    QCOMPARE(stateOf(map), before);
}

void TestMapHistory::undoIsNotRecordedAsAStep()
{
    CourseMap map;
    MapHistory history(map);
    TilePainter painter(map);
    history.begin(QStringLiteral("press"));
    painter.press(1, LeftButton, {QStringLiteral("AA"), QString()});
    history.end();
    history.stack()->undo();
    QCOMPARE(history.stack()->count(), 1);
    QCOMPARE(history.stack()->index(), 0);
    QCOMPARE(map.recorder(), nullptr);
}

void TestMapHistory::thousandWholeMapStepsStaySmall()
{
    constexpr qsizetype Budget = 64 * 1024 * 1024;
    CourseMap map;
    MapHistory history(map);
    TilePainter painter(map);
    // Worst-case maps (over 256 distinct texts, mixed marks) alternate with "Texture Filler", so
    // every step is a whole-map step with a worst-case map on one side.
    for (int i = 0; i < 500; ++i) {
        history.begin(QStringLiteral("open"));
        scramble(map, quint32(i));
        history.end();
        history.begin(QStringLiteral("texture filler"));
        painter.textureFiller(hexText(quint32(i)));
        history.end();
    }
    QCOMPARE(history.stack()->count(), 1000);
    qInfo("1000 whole-map steps hold %lld bytes", qlonglong(history.heldBytes()));
    QVERIFY2(history.heldBytes() < Budget,
             qPrintable(QStringLiteral("history holds %1 bytes").arg(history.heldBytes())));
}

void TestMapHistory::batchWritesOnlyChangedCellsAndAnnouncesOnce()
{
    CourseMap map;
    MapHistory history(map);
    map.setCell(cellIndex(3, 4), QStringLiteral("AA"), Mark::Painted);
    QSignalSpy spy(&map, &CourseMap::cellsChanged);
    // (4, 3) already holds AA painted; the others change.
    const QList<int> cells{cellIndex(3, 4), cellIndex(2, 9), cellIndex(7, 5)};
    history.begin(QStringLiteral("batch"));
    QCOMPARE(map.setCells(cells, QStringLiteral("AA"), Mark::Painted), 2);
    history.end();
    QCOMPARE(spy.size(), 1);
    QCOMPARE(spy.at(0).at(0).toRect(), QRect(QPoint(5, 2), QPoint(9, 7)));
    QCOMPARE(map.setCells(cells, QStringLiteral("AA"), Mark::Painted), 0);
    QCOMPARE(spy.size(), 1);

    // Undo is one announcement too, and gives back exactly the cells before.
    history.stack()->undo();
    QCOMPARE(spy.size(), 2);
    QCOMPARE(map.cell(cellIndex(2, 9)), (Cell{QStringLiteral("01"), Mark::Untouched}));
    QCOMPARE(map.cell(cellIndex(3, 4)), (Cell{QStringLiteral("AA"), Mark::Painted}));
}

void TestMapHistory::largeBatchStepIsCompactAndUndoesExactly()
{
    CourseMap map;
    MapHistory history(map);
    scramble(map, 3);
    const MapState before = stateOf(map);
    QList<int> most;
    for (int i = 0; i < CellCount; i += 2)
        most.append(i);
    history.begin(QStringLiteral("large"));
    map.setCells(most, QStringLiteral("5E"), Mark::Painted);
    history.end();
    const MapState after = stateOf(map);
    QCOMPARE(history.stack()->count(), 1);
    // Two snapshots of a varied map, not 8192 cells of about 80 bytes each.
    QVERIFY2(history.heldBytes() < 100 * 1024, qPrintable(QString::number(history.heldBytes())));
    history.stack()->undo();
    QCOMPARE(stateOf(map), before);
    history.stack()->redo();
    QCOMPARE(stateOf(map), after);
}

VELMOR_GUILESS_TEST_MAIN(TestMapHistory)
#include "test_map_history.moc"
