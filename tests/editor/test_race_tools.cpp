#include "document/course_document.h"
#include "document/race_layers.h"
#include "editor/items_tool.h"
#include "editor/objects_tool.h"
#include "editor/race_geometry.h"
#include "editor/tool_controller.h"
#include "rom/course_layers.h"
#include "rom/item_kinds.h"
#include "tests/support/test_main.h"

#include <QSignalSpy>
#include <QTest>
#include <QUndoStack>

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

// A tile's centre in course pixels.
QPointF tile(int col, int row)
{
    return QPointF(col * 8 + 4, row * 8 + 4);
}

ToolEvent pointer(QPointF at, int button, int buttons, Qt::KeyboardModifiers modifiers = {})
{
    ToolEvent e = ToolEvent::at(at);
    e.button = button;
    e.buttons = buttons;
    e.modifiers = modifiers;
    return e;
}

// A race course (an item box at 10,10, a coin group at 50,50, objects, the grid and the lap line
// above) or a battle course, loaded as from a ROM: no undo step, clean.
struct Rig
{
    explicit Rig(bool battle = false)
    {
        rom::CourseLayers race;
        race.id = battle ? 0x14 : 0;
        race.theme = {rom::Theme::MarioCircuit, {}};
        race.items = {rom::OverlayItems {rom::makeItem(0, 10, 10), rom::makeItem(30, 50, 50)}, {}};
        rom::ObjectPositions objects;
        objects.groups[1][2] = {30, 30};
        objects.match = {{60, 60, 2}};
        race.objects = {battle ? std::nullopt : std::optional(objects), {}};
        race.start = {battle ? rom::StartGrid(Battle) : rom::StartGrid(Grid), {}};
        race.lap = {battle ? std::nullopt : std::optional(Lap), {}};
        race.ai = {rom::CourseAi {}, {}};
        document.loadRace(race);
    }
    void drag(QPointF from, QPointF to, Qt::KeyboardModifiers modifiers = {})
    {
        tools.press(pointer(from, LeftButton, LeftButton, modifiers));
        tools.move(pointer(to, 0, LeftButton, modifiers));
        tools.release(pointer(to, LeftButton, 0, modifiers));
    }
    // Every race layer's value in a few words, to compare before, after and after an undo.
    QString race() const
    {
        QStringList parts;
        for (const rom::OverlayItem &item : document.items().value())
            parts << u"%1/%2@%3,%4"_s.arg(item.size).arg(item.pattern).arg(item.col).arg(item.row);
        if (const auto *start = std::get_if<rom::RaceStart>(&document.start().value()))
            parts << u"start %1,%2,%3"_s.arg(start->x).arg(start->y).arg(start->w);
        if (const auto *start = std::get_if<rom::BattleStart>(&document.start().value()))
            parts << u"p1 %1,%2 p2 %3,%4"_s.arg(start->p1[0]).arg(start->p1[1]).arg(start->p2[0]).arg(start->p2[1]);
        if (const std::optional<rom::LapLine> &lap = document.lap().value())
            parts << u"lap %1 %2,%3 %4x%5"_s.arg(lap->y).arg(lap->col).arg(lap->row).arg(lap->w).arg(lap->h);
        if (const auto &objects = document.objects().value()) {
            parts << u"object %1,%2"_s.arg(objects->groups[1][2].col).arg(objects->groups[1][2].row);
            for (const rom::MatchObject &object : objects->match)
                parts << u"match %1,%2 %3"_s.arg(object.col).arg(object.row).arg(object.motion);
        }
        return parts.join(u"; "_s);
    }

    CourseDocument document;
    ToolController tools {document};
    QUndoStack &steps = *document.undoStack();
};

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
    void gestureIsOneNamedStep_data();
    void gestureIsOneNamedStep();
    void clickWithoutMoveIsNoStep();
    void fortySecondItemIsRefused();
    void itemsCopyPasteDelete();
    void battleCourse();
    void motionFromTheList();
    void otherToolDropsTheDrag();
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

void TestRaceTools::gestureIsOneNamedStep_data()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QPointF>("from");
    QTest::addColumn<QPointF>("to");
    QTest::addColumn<QString>("step");
    QTest::addColumn<QString>("changed"); // the part of race() that changes, and to what
    QTest::newRow("place") << u"items"_s << tile(40, 41) << tile(40, 41) << u"Place Item Box"_s
                           << u"3/30@50,50; 0/0@40,41"_s;
    QTest::newRow("place and drag") << u"items"_s << tile(40, 41) << tile(45, 43)
                                    << u"Place Item Box"_s << u"3/30@50,50; 0/0@45,43"_s;
    QTest::newRow("move a box") << u"items"_s << tile(11, 11) << tile(16, 13) << u"Move Item Box"_s
                                << u"0/0@15,12"_s;
    QTest::newRow("move coins") << u"items"_s << tile(53, 52) << tile(50, 60) << u"Move Coin Group"_s
                                << u"3/30@47,58"_s;
    QTest::newRow("grid") << u"start"_s << QPointF(200, 300) << QPointF(260, 340)
                          << u"Move Start Grid"_s << u"start 260,340,24"_s;
    QTest::newRow("spacing") << u"start"_s << QPointF(224, 324) << QPointF(240, 324)
                             << u"Change Start Spacing"_s << u"start 200,300,40"_s;
    QTest::newRow("side") << u"start"_s << QPointF(176, 324) << QPointF(176, 324)
                          << u"Change Start Side"_s << u"start 200,300,-24"_s;
    QTest::newRow("lap line") << u"lap"_s << QPointF(190, 330) << QPointF(190, 350)
                              << u"Move Lap Line"_s << u"lap 350 10,20 4x2"_s;
    QTest::newRow("lap corner") << u"lap"_s << QPointF(224, 352) << QPointF(192, 384)
                                << u"Resize Lap Line Area"_s << u"lap 330 10,20 2x4"_s;
    QTest::newRow("object") << u"objects"_s << tile(30, 30) << tile(37, 32) << u"Move Object"_s
                            << u"object 37,32"_s;
    QTest::newRow("match object") << u"objects"_s << tile(60, 60) << tile(58, 64)
                                  << u"Move Match-Race Object"_s << u"match 58,64 2"_s;
}

void TestRaceTools::gestureIsOneNamedStep()
{
    QFETCH(QString, tool);
    QFETCH(QPointF, from);
    QFETCH(QPointF, to);
    QFETCH(QString, step);
    QFETCH(QString, changed);
    Rig rig;
    const QString before = rig.race();
    rig.tools.setTool(tool);
    rig.tools.press(pointer(from, LeftButton, LeftButton));
    // Halfway, and at the end: previews, no step yet.
    rig.tools.move(pointer((from + to) / 2, 0, LeftButton));
    rig.tools.move(pointer(to, 0, LeftButton));
    QCOMPARE(rig.steps.count(), 0);
    rig.tools.release(pointer(to, LeftButton, 0));
    QCOMPARE(rig.steps.count(), 1);
    QCOMPARE(rig.steps.undoText(), step);
    const QString after = rig.race();
    QVERIFY2(after.contains(changed), qPrintable(after));
    QVERIFY(rig.document.isModified());
    rig.steps.undo();
    QCOMPARE(rig.race(), before);
    QVERIFY(!rig.document.isModified());
    rig.steps.redo();
    QCOMPARE(rig.race(), after);
}

void TestRaceTools::clickWithoutMoveIsNoStep()
{
    Rig rig;
    const QString before = rig.race();
    for (const auto &[tool, at] : {std::pair {u"items"_s, tile(11, 11)}, {u"start"_s, QPointF(200, 300)},
             {u"lap"_s, QPointF(190, 330)}, {u"objects"_s, tile(30, 30)}}) {
        rig.tools.setTool(tool);
        rig.drag(at, at);
    }
    QCOMPARE(rig.steps.count(), 0);
    QCOMPARE(rig.race(), before);
    // The click chose what it hit.
    QCOMPARE(qobject_cast<ObjectsTool *>(rig.tools.toolNamed(u"objects"_s))->chosenText(),
        u"Group 1, object 3"_s);
}

void TestRaceTools::fortySecondItemIsRefused()
{
    Rig rig;
    rom::OverlayItems full;
    for (int i = 0; i < 41; ++i)
        full.push_back(rom::makeItem(0, (i % 20) * 3, (i / 20) * 3));
    rig.document.items().replace(full, u"Fill"_s);
    rig.tools.setTool(u"items"_s);
    QSignalSpy refusals(&rig.tools, &ToolController::refused);
    rig.drag(tile(100, 100), tile(100, 100));
    QCOMPARE(refusals.count(), 1);
    QVERIFY2(refusals.constFirst().constFirst().toString().contains(u"the game allows 41"_s),
        qPrintable(refusals.constFirst().constFirst().toString()));
    QCOMPARE(rig.document.items().value(), full);
    QCOMPARE(rig.steps.count(), 1);
    // A paste that would pass 41 is refused whole.
    rig.drag(tile(1, 1), tile(1, 1));
    QVERIFY(rig.tools.pasteOwn(rig.tools.copyText(), {90, 90}));
    QCOMPARE(refusals.count(), 2);
    QCOMPARE(rig.document.items().value(), full);
}

void TestRaceTools::itemsCopyPasteDelete()
{
    Rig rig;
    rig.tools.setTool(u"items"_s);
    auto *items = qobject_cast<ItemsTool *>(rig.tools.currentTool());
    QVERIFY(!rig.tools.hasSelection());
    rig.drag(tile(11, 11), tile(11, 11));
    rig.drag(tile(52, 52), tile(52, 52), Qt::ControlModifier);
    QCOMPARE(items->selected(), (QList<int> {0, 1}));
    QVERIFY(rig.tools.hasSelection());
    const QString copied = rig.tools.copyText();
    QCOMPARE(ItemsTool::itemsFromText(copied), rig.document.items().value());
    // The group keeps its shape, its top-left at the cell or as near as the map allows.
    QVERIFY(rig.tools.pasteOwn(copied, {100, 20}));
    QCOMPARE(rig.steps.undoText(), u"Paste 2 Items"_s);
    QCOMPARE(rig.race().section(u"; "_s, 0, 3), u"0/0@10,10; 3/30@50,50; 0/0@83,20; 3/30@123,60"_s);
    QCOMPARE(items->selected(), (QList<int> {2, 3}));
    rig.tools.deleteSelection();
    QCOMPARE(rig.steps.undoText(), u"Delete 2 Items"_s);
    QCOMPARE(rig.document.items().value().size(), 2u);
    QVERIFY(!rig.tools.hasSelection());
    rig.steps.undo();
    rig.steps.undo();
    QCOMPARE(rig.document.items().value().size(), 2u);
    QVERIFY(!rig.document.isModified());
    rig.drag(tile(11, 11), tile(11, 11));
    rig.tools.escape();
    QVERIFY(!rig.tools.hasSelection());
    // Cells on the clipboard are not the tool's to paste.
    QVERIFY(!rig.tools.pasteOwn(u"01 02\n03 04\n"_s, {0, 0}));
    QCOMPARE(ItemsTool::itemsFromText(u"velmor items\n0 99 1 1\n"_s), std::nullopt);
}

void TestRaceTools::battleCourse()
{
    Rig rig(true);
    rig.tools.setTool(u"start"_s);
    rig.drag(QPointF(401, 401), QPointF(421, 381));
    QCOMPARE(rig.steps.undoText(), u"Move P2 Start"_s);
    QCOMPARE(rig.race().section(u"; "_s, 2), u"p1 100,100 p2 420,380"_s);
    QSignalSpy refusals(&rig.tools, &ToolController::refused);
    for (const QString &tool : {u"lap"_s, u"objects"_s}) {
        rig.tools.setTool(tool);
        rig.drag(QPointF(100, 100), QPointF(120, 120));
    }
    QCOMPARE(refusals.count(), 2);
    // A layer the ROM could not give is not edited, and the user learns why.
    rig.document.items().loadUnreadable(u"the slot lies outside this ROM"_s);
    rig.tools.setTool(u"items"_s);
    rig.drag(tile(5, 5), tile(5, 5));
    QCOMPARE(refusals.count(), 3);
    QCOMPARE(refusals.constLast().constFirst().toString(),
        u"The items cannot be edited: the slot lies outside this ROM"_s);
    QCOMPARE(rig.steps.count(), 1);
}

void TestRaceTools::motionFromTheList()
{
    Rig rig;
    rig.tools.setTool(u"objects"_s);
    auto *objects = qobject_cast<ObjectsTool *>(rig.tools.currentTool());
    QSignalSpy refusals(&rig.tools, &ToolController::refused);
    objects->setMotion(1); // nothing chosen
    QCOMPARE(refusals.count(), 1);
    rig.drag(tile(60, 60), tile(60, 60));
    QCOMPARE(objects->chosenMotion(), 2);
    objects->setMotion(1);
    QCOMPARE(rig.steps.undoText(), u"Change Object Motion"_s);
    QVERIFY(rig.race().endsWith(u"match 60,60 1"_s));
    rig.steps.undo();
    QCOMPARE(objects->chosenMotion(), 2);
}

void TestRaceTools::otherToolDropsTheDrag()
{
    Rig rig;
    const QString before = rig.race();
    rig.tools.setTool(u"start"_s);
    rig.tools.press(pointer(QPointF(200, 300), LeftButton, LeftButton));
    rig.tools.move(pointer(QPointF(300, 400), 0, LeftButton));
    QVERIFY(rig.document.start().isPreviewing());
    rig.tools.setTool(u"items"_s);
    rig.tools.release(pointer(QPointF(300, 400), LeftButton, 0));
    QCOMPARE(rig.race(), before);
    QCOMPARE(rig.steps.count(), 0);
}

VELMOR_GUILESS_TEST_MAIN(TestRaceTools)
#include "test_race_tools.moc"
