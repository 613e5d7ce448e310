#include "editor/course_map.h"
#include "editor/map_history.h"
#include "editor/map_snapshot.h"
#include "editor/painting.h"
#include "tests/support/test_main.h"

#include <QRandomGenerator>
#include <QTest>
#include <QUndoStack>

using namespace velmor;

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
};

void TestMapHistory::snapshotRoundTrip_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("fresh map") << 0;
    QTest::newRow("scrambled, over 256 distinct texts") << 1;
    QTest::newRow("few texts, mixed marks") << 2;
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
    QList<State> states{stateOf(map)};

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
    const State before = stateOf(map);
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

VELMOR_GUILESS_TEST_MAIN(TestMapHistory)
#include "test_map_history.moc"
