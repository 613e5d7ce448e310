#include "codec/codec.h"
#include "document/course_document.h"
#include "document/object_areas_value.h"
#include "document/race_layers.h"
#include "document/zone_geometry.h"
#include "editor/race_order_model.h"
#include "editor/targets_tool.h"
#include "editor/tool_controller.h"
#include "editor/zones_tool.h"
#include "rom/object_areas.h"
#include "rom/race_order.h"
#include "rom/tile_behaviour.h"
#include "rom/zone_grid.h"
#include "tests/support/test_main.h"

#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QUndoStack>

using namespace velmor;
using namespace Qt::StringLiterals;

namespace {

namespace map = rom::map;
using rom::Zone;
using rom::ZoneShape;

Zone rect(int x, int y, int w, int h)
{
    return {ZoneShape::Rectangle, x, y, w, h};
}

Zone shaped(ZoneShape shape, int x, int y, int n, int a = 0)
{
    return {shape, x, y, 0, 0, n, a};
}

QPointF px(int x, int y)
{
    return {qreal(x), qreal(y)};
}

// Zones 0..count-1 as one-cell rectangles in a row, target k at tile (2k, 0) with speed k % 4.
rom::CourseAi numbered(int count)
{
    rom::CourseAi ai;
    for (int k = 0; k < count; ++k) {
        ai.zones.push_back(rect(k % 64, k / 64, 1, 1));
        ai.targets.push_back({(2 * k) % 128, 0, k % 4});
    }
    return ai;
}

// The old numbers of the zones in their new order, read back from where each zone lies.
std::vector<int> oldNumbers(const rom::CourseAi &ai)
{
    std::vector<int> numbers;
    for (const Zone &zone : ai.zones)
        numbers.push_back(zone.y * 64 + zone.x);
    return numbers;
}

rom::ObjectAreas areas(std::array<int, 5> thresholds)
{
    return {thresholds};
}

ToolEvent pointer(QPointF pixel, int button, int buttons, Qt::KeyboardModifiers modifiers = {})
{
    ToolEvent event = ToolEvent::at(pixel);
    event.button = button;
    event.buttons = buttons;
    event.modifiers = modifiers;
    return event;
}

// A document whose AI is three zones with a target each, and object areas that name zones 1
// and 2; the tools of one window over it.
struct Rig
{
    Rig()
    {
        rom::CourseAi ai;
        ai.zones = {rect(2, 2, 4, 4), rect(10, 2, 4, 4), rect(20, 2, 4, 4)};
        ai.targets = {{8, 8, 1}, {24, 8, 2}, {44, 8, 3}};
        document.zones().load(ai);
        document.objectAreas().load(areas({0, 1, 2, 3, 0xFFFF}));
    }
    void drag(const QString &tool, QPointF from, QPointF to, Qt::KeyboardModifiers modifiers = {})
    {
        tools.setTool(tool);
        tools.press(pointer(from, LeftButton, LeftButton, modifiers));
        tools.move(pointer((from + to) / 2, 0, LeftButton, modifiers));
        tools.move(pointer(to, 0, LeftButton, modifiers));
        tools.release(pointer(to, LeftButton, 0, modifiers));
    }
    const rom::CourseAi &ai() const { return document.zones().value(); }
    ZonesTool &zones() { return *qobject_cast<ZonesTool *>(tools.toolNamed(u"zones"_s)); }
    TargetsTool &targets() { return *qobject_cast<TargetsTool *>(tools.toolNamed(u"targets"_s)); }

    CourseDocument document;
    ToolController tools {document};
    QUndoStack &steps = *document.undoStack();
};

} // namespace

Q_DECLARE_METATYPE(rom::Zone)
Q_DECLARE_METATYPE(velmor::ZoneDraw)
Q_DECLARE_METATYPE(velmor::ZoneHandle)
Q_DECLARE_METATYPE(rom::ObjectAreas)
Q_DECLARE_METATYPE(std::vector<int>)

// The AI zone and target editing: the geometry of zones on the 16-pixel grid (drawn, hit, resized,
// reshaped, copied), the race order's edits with the object areas they shift, and the two tools
// driven through the tool controller on a document.
class TestAiTools : public QObject
{
    Q_OBJECT

private slots:
    void hitTestIsTheGamesCells_data();
    void hitTestIsTheGamesCells();
    void dragsMakeZones_data();
    void dragsMakeZones();
    void handlesResize_data();
    void handlesResize();
    void reshapeAndDuplicate_data();
    void reshapeAndDuplicate();
    void raceOrderShiftsObjectAreas_data();
    void raceOrderShiftsObjectAreas();
    void raceOrderRefusals_data();
    void raceOrderRefusals();
    void objectAreasReadAndWrite();
    void drawnZoneGoesAfterTheSelected_data();
    void drawnZoneGoesAfterTheSelected();
    void zoneEditsAreOneStepEach();
    void targetDragAndSpeed();
    void unreadableAiIsNotEdited();
    void raceOrderRowsDragged_data();
    void raceOrderRowsDragged();
};

void TestAiTools::hitTestIsTheGamesCells_data()
{
    QTest::addColumn<Zone>("zone");
    QTest::newRow("rectangle") << rect(3, 4, 5, 2);
    QTest::newRow("empty rectangle") << rect(3, 4, 0, 2);
    QTest::newRow("triangle right down") << shaped(ZoneShape::TriangleRightDown, 10, 10, 5);
    QTest::newRow("triangle left down") << shaped(ZoneShape::TriangleLeftDown, 10, 10, 5);
    QTest::newRow("triangle left up") << shaped(ZoneShape::TriangleLeftUp, 10, 10, 5);
    QTest::newRow("triangle right up") << shaped(ZoneShape::TriangleRightUp, 10, 10, 5);
    QTest::newRow("diagonal left") << shaped(ZoneShape::DiagonalLeft, 10, 10, 6, 3);
    QTest::newRow("diagonal right") << shaped(ZoneShape::DiagonalRight, 10, 10, 6, 3);
    QTest::newRow("clipped by the grid's corner") << shaped(ZoneShape::TriangleLeftUp, 2, 1, 6);
    QTest::newRow("diagonal past the bottom") << shaped(ZoneShape::DiagonalRight, 60, 60, 8);
}

void TestAiTools::hitTestIsTheGamesCells()
{
    QFETCH(Zone, zone);
    const std::vector<rom::ZoneCell> cells = rom::zoneCells(zone);
    const QRect bounds = zoneBounds(zone);
    int hits = 0;
    for (int y = 0; y < map::ZoneGridSide; ++y) {
        for (int x = 0; x < map::ZoneGridSide; ++x) {
            const bool game = std::find(cells.begin(), cells.end(), rom::ZoneCell {x, y}) != cells.end();
            QVERIFY2(zoneContains(zone, {x, y}) == game, qPrintable(u"cell %1, %2"_s.arg(x).arg(y)));
            QVERIFY(!game || bounds.contains(x, y));
            hits += game;
        }
    }
    QCOMPARE(hits, int(cells.size()));
    // zoneAt answers like the grid the game builds: the later of two overlapping zones.
    const rom::CourseAi ai {{rect(0, 0, 64, 64), zone}, {}, {}};
    const rom::ZoneGrid grid(ai.zones);
    for (int y = 0; y < map::ZoneGridSide; y += 3) {
        for (int x = 0; x < map::ZoneGridSide; x += 3)
            QCOMPARE(zoneAt(ai, {x, y}), grid.zoneAt(x, y));
    }
}

void TestAiTools::dragsMakeZones_data()
{
    QTest::addColumn<ZoneDraw>("kind");
    QTest::addColumn<QPointF>("press");
    QTest::addColumn<QPointF>("pointer");
    QTest::addColumn<Zone>("zone");
    // Pixels snap to the nearest grid line: 23 is 1.44 cells, 24 is 1.5 and rounds up.
    QTest::newRow("rectangle, snapped") << ZoneDraw::Rectangle << px(23, 40) << px(72, 90)
                                        << rect(1, 3, 4, 3);
    QTest::newRow("rectangle dragged up-left") << ZoneDraw::Rectangle << px(80, 80) << px(24, 30)
                                               << rect(2, 2, 3, 3);
    QTest::newRow("a click is one cell") << ZoneDraw::Rectangle << px(33, 33) << px(34, 30)
                                         << rect(2, 2, 1, 1);
    QTest::newRow("triangle right down") << ZoneDraw::Triangle << px(160, 160) << px(224, 192)
                                         << shaped(ZoneShape::TriangleRightDown, 10, 10, 4);
    QTest::newRow("triangle left down") << ZoneDraw::Triangle << px(160, 160) << px(112, 208)
                                        << shaped(ZoneShape::TriangleLeftDown, 9, 10, 3);
    QTest::newRow("triangle left up") << ZoneDraw::Triangle << px(160, 160) << px(96, 128)
                                      << shaped(ZoneShape::TriangleLeftUp, 9, 9, 4);
    QTest::newRow("triangle right up") << ZoneDraw::Triangle << px(160, 160) << px(176, 64)
                                       << shaped(ZoneShape::TriangleRightUp, 10, 9, 6);
    QTest::newRow("triangle past the grid's edge") << ZoneDraw::Triangle << px(32, 32) << px(-64, -64)
                                                   << shaped(ZoneShape::TriangleLeftUp, 1, 1, 2);
    QTest::newRow("diagonal kept on the grid") << ZoneDraw::DiagonalLeft << px(24, 88) << px(88, 88)
                                               << shaped(ZoneShape::DiagonalLeft, 3, 5, 4);
    QTest::newRow("diagonal left") << ZoneDraw::DiagonalLeft << px(168, 168) << px(104, 200)
                                   << shaped(ZoneShape::DiagonalLeft, 10, 10, 4);
    QTest::newRow("diagonal right") << ZoneDraw::DiagonalRight << px(168, 168) << px(200, 250)
                                    << shaped(ZoneShape::DiagonalRight, 10, 10, 5);
}

void TestAiTools::dragsMakeZones()
{
    QFETCH(ZoneDraw, kind);
    QFETCH(QPointF, press);
    QFETCH(QPointF, pointer);
    QFETCH(Zone, zone);
    const Zone made = zoneFromDrag(kind, press, pointer);
    QCOMPARE(made, zone);
    QVERIFY(!rom::zoneProblem(made).found());
}

void TestAiTools::handlesResize_data()
{
    QTest::addColumn<Zone>("zone");
    QTest::addColumn<ZoneHandle>("handle");
    QTest::addColumn<QPointF>("pointer");
    QTest::addColumn<Zone>("resized");
    QTest::newRow("bottom right") << rect(2, 2, 3, 3) << ZoneHandle::BottomRight << px(130, 97)
                                  << rect(2, 2, 6, 4);
    QTest::newRow("left edge") << rect(2, 2, 3, 3) << ZoneHandle::Left << px(0, 500)
                               << rect(0, 2, 5, 3);
    QTest::newRow("never inside out") << rect(2, 2, 3, 3) << ZoneHandle::Top << px(40, 300)
                                      << rect(2, 4, 3, 1);
    QTest::newRow("triangle leg") << shaped(ZoneShape::TriangleLeftUp, 10, 10, 3)
                                  << ZoneHandle::Size << px(0, 170) << shaped(ZoneShape::TriangleLeftUp, 10, 10, 11);
    QTest::newRow("diagonal end") << shaped(ZoneShape::DiagonalRight, 4, 4, 2, 7)
                                  << ZoneHandle::Size << px(64, 160) << shaped(ZoneShape::DiagonalRight, 4, 4, 6, 7);
}

void TestAiTools::handlesResize()
{
    QFETCH(Zone, zone);
    QFETCH(ZoneHandle, handle);
    QFETCH(QPointF, pointer);
    QFETCH(Zone, resized);
    QCOMPARE(resizeZone(zone, handle, pointer), resized);
    // Every handle is found where it is drawn, and only near it.
    for (const ZoneHandlePlace &place : zoneHandles(zone)) {
        QCOMPARE(zoneHandleAt(zone, place.pixel + QPointF(2, -2), 4), place.handle);
        QCOMPARE(zoneHandleAt(zone, place.pixel + QPointF(9, 0), 4), std::nullopt);
    }
}

void TestAiTools::reshapeAndDuplicate_data()
{
    QTest::addColumn<Zone>("zone");
    QTest::addColumn<Zone>("reshaped");
    QTest::addColumn<Zone>("duplicate");
    QTest::newRow("rectangle to triangle") << rect(4, 5, 3, 2)
        << shaped(ZoneShape::TriangleRightDown, 4, 5, 3) << rect(5, 6, 3, 2);
    QTest::newRow("triangle to triangle, same bounds")
        << shaped(ZoneShape::TriangleRightDown, 4, 5, 3)
        << shaped(ZoneShape::TriangleLeftDown, 6, 5, 3)
        << shaped(ZoneShape::TriangleRightDown, 5, 6, 3);
    QTest::newRow("triangle to its bounds' other corner")
        << shaped(ZoneShape::TriangleLeftDown, 6, 5, 3)
        << shaped(ZoneShape::TriangleLeftUp, 6, 7, 3) << shaped(ZoneShape::TriangleLeftDown, 7, 6, 3);
    QTest::newRow("to a diagonal") << shaped(ZoneShape::TriangleRightUp, 4, 7, 3)
        << shaped(ZoneShape::DiagonalLeft, 6, 5, 3) << shaped(ZoneShape::TriangleRightUp, 5, 8, 3);
    QTest::newRow("diagonal back to a rectangle") << shaped(ZoneShape::DiagonalRight, 4, 5, 3, 9)
        << rect(4, 5, 3, 3) << shaped(ZoneShape::DiagonalRight, 5, 6, 3, 9);
    QTest::newRow("duplicate at the grid's corner") << rect(60, 61, 4, 3)
        << shaped(ZoneShape::TriangleRightDown, 60, 60, 4) << rect(59, 60, 4, 3);
}

void TestAiTools::reshapeAndDuplicate()
{
    QFETCH(Zone, zone);
    QFETCH(Zone, reshaped);
    QFETCH(Zone, duplicate);
    QCOMPARE(reshapedZone(zone, nextZoneShape(zone.shape)), reshaped);
    QCOMPARE(duplicatedZone(zone), duplicate);
}

void TestAiTools::raceOrderShiftsObjectAreas_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<int>("at");
    QTest::addColumn<int>("to");
    QTest::addColumn<rom::ObjectAreas>("before");
    QTest::addColumn<rom::ObjectAreas>("after");
    QTest::addColumn<std::vector<int>>("order");
    // 10 zones. -1 marks the inserted zone; end marks past the zone count stay.
    QTest::newRow("insert after 3") << u"insert"_s << 3 << 0 << areas({0, 2, 4, 7, 0xFFFF})
        << areas({0, 2, 5, 8, 0xFFFF}) << std::vector<int> {0, 1, 2, 3, -1, 4, 5, 6, 7, 8, 9};
    QTest::newRow("insert first") << u"insert"_s << -1 << 0 << areas({0, 3, 6, 9, 10})
        << areas({1, 4, 7, 10, 11}) << std::vector<int> {-1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    QTest::newRow("insert last") << u"insert"_s << 9 << 0 << areas({0, 3, 6, 9, 10})
        << areas({0, 3, 6, 9, 11}) << std::vector<int> {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, -1};
    QTest::newRow("remove 4") << u"remove"_s << 4 << 0 << areas({0, 2, 4, 7, 0x7F})
        << areas({0, 2, 4, 6, 0x7F}) << std::vector<int> {0, 1, 2, 3, 5, 6, 7, 8, 9};
    QTest::newRow("remove first") << u"remove"_s << 0 << 0 << areas({0, 1, 5, 10, 200})
        << areas({0, 0, 4, 9, 200}) << std::vector<int> {1, 2, 3, 4, 5, 6, 7, 8, 9};
    QTest::newRow("move up") << u"move"_s << 5 << 4 << areas({0, 2, 5, 7, 9})
        << areas({0, 2, 5, 7, 9}) << std::vector<int> {0, 1, 2, 3, 5, 4, 6, 7, 8, 9};
    QTest::newRow("move down past several") << u"move"_s << 1 << 6 << areas({0, 2, 5, 7, 9})
        << areas({0, 2, 5, 7, 9}) << std::vector<int> {0, 2, 3, 4, 5, 6, 1, 7, 8, 9};
    QTest::newRow("reorder") << u"reorder"_s << 0 << 0 << areas({0, 2, 5, 7, 9})
        << areas({0, 2, 5, 7, 9}) << std::vector<int> {9, 8, 7, 6, 5, 4, 3, 2, 1, 0};
}

void TestAiTools::raceOrderShiftsObjectAreas()
{
    QFETCH(QString, edit);
    QFETCH(int, at);
    QFETCH(int, to);
    QFETCH(rom::ObjectAreas, before);
    QFETCH(rom::ObjectAreas, after);
    QFETCH(std::vector<int>, order);
    const rom::CourseAi ai = numbered(10);
    const Zone added = rect(40, 40, 2, 2);
    const rom::Target target {99, 98, 3};
    rom::RaceOrderEdit result;
    if (edit == u"insert"_s)
        result = rom::insertZone(ai, before, at, added, target);
    else if (edit == u"remove"_s)
        result = rom::removeZone(ai, before, at);
    else if (edit == u"move"_s)
        result = rom::moveZone(ai, before, at, to);
    else
        result = rom::reorderZones(ai, before, order);
    QVERIFY2(result.ok(), result.error.c_str());
    QCOMPARE(result.areas, std::optional(after));
    // Each zone keeps its own target wherever it goes.
    QCOMPARE(result.ai.zones.size(), order.size());
    QCOMPARE(result.ai.targets.size(), order.size());
    for (std::size_t k = 0; k < order.size(); ++k) {
        if (order[k] < 0) {
            QCOMPARE(result.ai.zones[k], added);
            QCOMPARE(result.ai.targets[k], target);
            QCOMPARE(result.zone, int(k));
        } else {
            QCOMPARE(oldNumbers(result.ai)[k], order[k]);
            QCOMPARE(result.ai.targets[k], ai.targets[std::size_t(order[k])]);
        }
    }
    // What is said to have shifted is exactly what differs.
    std::size_t differing = 0;
    for (std::size_t i = 0; i < before.thresholds.size(); ++i)
        differing += before.thresholds[i] != after.thresholds[i];
    QCOMPARE(result.shifted.size(), differing);
    for (const rom::ShiftedThreshold &shift : result.shifted) {
        QCOMPARE(before.thresholds[std::size_t(shift.index)], shift.from);
        QCOMPARE(after.thresholds[std::size_t(shift.index)], shift.to);
    }
    // Without object areas (a battle course) the zones change the same and nothing shifts.
    const rom::RaceOrderEdit battle = rom::removeZone(result.ai, std::nullopt, 0);
    QVERIFY(battle.ok() && !battle.areas && battle.shifted.empty());
}

void TestAiTools::raceOrderRefusals_data()
{
    QTest::addColumn<rom::CourseAi>("ai");
    QTest::addColumn<QString>("edit");
    QTest::addColumn<int>("at");
    QTest::addColumn<QString>("error");
    rom::CourseAi unpaired = numbered(4);
    unpaired.targets.pop_back();
    QTest::newRow("a 128th zone") << numbered(127) << u"insert"_s << 5
                                  << u"127 zones already; the game allows 127"_s;
    QTest::newRow("targets not one per zone") << unpaired << u"insert"_s << 1
        << u"3 targets for 4 zones: the race order cannot be changed until there is one target per zone"_s;
    QTest::newRow("removal, targets not one per zone") << unpaired << u"remove"_s << 1
        << u"3 targets for 4 zones: the race order cannot be changed until there is one target per zone"_s;
    QTest::newRow("no such zone") << numbered(4) << u"remove"_s << 4 << u"there is no zone 4 among 4"_s;
    QTest::newRow("move past the end") << numbered(4) << u"move"_s << 4 << u"there is no zone 4 among 4"_s;
    QTest::newRow("not a permutation") << numbered(4) << u"reorder"_s << 0
                                       << u"the new order does not name every zone once"_s;
}

void TestAiTools::raceOrderRefusals()
{
    QFETCH(rom::CourseAi, ai);
    QFETCH(QString, edit);
    QFETCH(int, at);
    QFETCH(QString, error);
    const std::optional<rom::ObjectAreas> before = areas({0, 1, 2, 3, 4});
    rom::RaceOrderEdit result;
    if (edit == u"insert"_s)
        result = rom::insertZone(ai, before, at, rect(1, 1, 1, 1), {});
    else if (edit == u"remove"_s)
        result = rom::removeZone(ai, before, at);
    else if (edit == u"move"_s)
        result = rom::moveZone(ai, before, 0, at);
    else
        result = rom::reorderZones(ai, before, {0, 1, 1, 3});
    QCOMPARE(QString::fromStdString(result.error), error);
    QCOMPARE(result.ai, ai);
    QCOMPARE(result.areas, before);
    QVERIFY(result.shifted.empty());
}

void TestAiTools::objectAreasReadAndWrite()
{
    codec::Bytes game(0x80000, 0);
    const int mc1 = 7, ci2 = 0x0D;
    game[map::ObjectKinds + mc1] = 0x02;
    game[map::ObjectKindIndexes + mc1] = 2;
    game[map::ObjectKinds + ci2] = 0x06;
    game[map::ObjectKindIndexes + ci2] = 0;
    rom::putWord(game, map::ObjectAreaPointers + 0x02, 0xDACF);
    // The kind 06 pointer leads one byte short of a whole record before the pointers.
    rom::putWord(game, map::ObjectAreaPointers + 0x06, 0xDB7A);
    const std::size_t record = map::ObjectAreaStart + 2 * map::ObjectAreaRecordSize;
    for (int i = 0; i < 5; ++i)
        rom::putWord(game, record + std::size_t(2 * i), std::uint16_t(i * 6));
    const std::optional<rom::RomImage> image = rom::RomImage::open(game);
    QVERIFY(image);
    const rom::LayerRead<rom::ObjectAreas> read = rom::readObjectAreas(*image, mc1);
    QVERIFY2(read.ok(), read.error.c_str());
    QCOMPARE(*read.value, areas({0, 6, 12, 18, 24}));
    QVERIFY(!rom::readObjectAreas(*image, ci2).ok());
    QVERIFY(!rom::readObjectAreas(*image, 0x14).ok()); // a battle course

    codec::Bytes written = game;
    QCOMPARE(rom::writeObjectAreas(written, mc1, areas({0, 7, 13, 19, 0xFFFF})), std::string());
    QCOMPARE(*rom::readObjectAreas(*rom::RomImage::open(written), mc1).value,
        areas({0, 7, 13, 19, 0xFFFF}));
    for (std::size_t at = 0; at < game.size(); ++at) {
        if (at < record || at >= record + map::ObjectAreaRecordSize)
            QVERIFY2(written[at] == game[at], qPrintable(u"byte %1"_s.arg(at, 0, 16)));
    }
    codec::Bytes refused = game;
    QVERIFY(!rom::writeObjectAreas(refused, mc1, areas({0, 1, 2, 0x10000, 4})).empty());
    QVERIFY(!rom::writeObjectAreas(refused, ci2, areas({})).empty());
    QVERIFY(refused == game);
}

void TestAiTools::drawnZoneGoesAfterTheSelected_data()
{
    QTest::addColumn<int>("selected");
    QTest::addColumn<ZoneDraw>("kind");
    QTest::addColumn<bool>("shift");
    QTest::addColumn<Zone>("zone");
    QTest::addColumn<int>("number");
    QTest::addColumn<rom::ObjectAreas>("after");
    QTest::newRow("rectangle after zone 0") << 0 << ZoneDraw::Rectangle << false
        << rect(4, 20, 4, 2) << 1 << areas({0, 2, 3, 4, 0xFFFF});
    QTest::newRow("triangle with Shift, after zone 1") << 1 << ZoneDraw::Rectangle << true
        << shaped(ZoneShape::TriangleRightDown, 4, 20, 4) << 2 << areas({0, 1, 3, 4, 0xFFFF});
    QTest::newRow("diagonal from the menu, nothing selected: last") << -1 << ZoneDraw::DiagonalRight
        << false << shaped(ZoneShape::DiagonalRight, 4, 20, 4) << 3 << areas({0, 1, 2, 4, 0xFFFF});
}

void TestAiTools::drawnZoneGoesAfterTheSelected()
{
    QFETCH(int, selected);
    QFETCH(ZoneDraw, kind);
    QFETCH(bool, shift);
    QFETCH(Zone, zone);
    QFETCH(int, number);
    QFETCH(rom::ObjectAreas, after);
    Rig rig;
    const rom::CourseAi before = rig.ai();
    rig.zones().select(selected);
    rig.zones().setDrawKind(kind);
    QSignalSpy told(&rig.zones(), &ZonesTool::told);
    rig.drag(u"zones"_s, px(66, 322), px(130, 350), shift ? Qt::ShiftModifier : Qt::NoModifier);
    QCOMPARE(rig.ai().zones.size(), std::size_t(4));
    QCOMPARE(rig.ai().zones[std::size_t(number)], zone);
    QCOMPARE(rig.ai().targets.size(), std::size_t(4));
    QVERIFY(targetInZone(rig.ai().targets[std::size_t(number)], zone));
    QCOMPARE(rig.document.objectAreas().value(), std::optional(after));
    QCOMPARE(rig.zones().selected(), number);
    QCOMPARE(told.count(), 1);
    QVERIFY(told.at(0).at(0).toString().startsWith(u"The object areas moved with the zones"_s));
    // One step for the zone and the thresholds together.
    QCOMPARE(rig.steps.count(), 1);
    QCOMPARE(rig.steps.undoText(), u"Draw AI Zone"_s);
    rig.steps.undo();
    QCOMPARE(rig.ai(), before);
    QCOMPARE(rig.document.objectAreas().value(), std::optional(areas({0, 1, 2, 3, 0xFFFF})));
}

void TestAiTools::zoneEditsAreOneStepEach()
{
    Rig rig;
    const rom::CourseAi before = rig.ai();
    // A drag of zone 1 moves it by whole cells, its target with it; the drag is one step.
    rig.drag(u"zones"_s, px(180, 40), px(213, 70));
    QCOMPARE(rig.ai().zones[1], rect(12, 4, 4, 4));
    QCOMPARE(rig.ai().targets[1], (rom::Target {28, 12, 2}));
    QCOMPARE(rig.steps.count(), 1);
    // Its corner handle resizes it.
    rig.drag(u"zones"_s, px(256, 128), px(290, 150));
    QCOMPARE(rig.ai().zones[1], rect(12, 4, 6, 5));
    QCOMPARE(rig.steps.undoText(), u"Resize AI Zone"_s);
    // A click without a move changes nothing and leaves no step.
    rig.drag(u"zones"_s, px(200, 100), px(200, 100));
    QCOMPARE(rig.steps.count(), 2);
    rig.zones().changeShape();
    QCOMPARE(rig.ai().zones[1], shaped(ZoneShape::TriangleRightDown, 12, 4, 6));
    rig.zones().duplicate();
    QCOMPARE(rig.ai().zones[2], shaped(ZoneShape::TriangleRightDown, 13, 5, 6));
    QCOMPARE(rig.zones().selected(), 2);
    QCOMPARE(rig.document.objectAreas().value(), std::optional(areas({0, 1, 3, 4, 0xFFFF})));
    rig.zones().deleteSelected();
    QCOMPARE(rig.ai().zones.size(), std::size_t(3));
    QCOMPARE(rig.document.objectAreas().value(), std::optional(areas({0, 1, 2, 3, 0xFFFF})));
    QCOMPARE(rig.steps.count(), 5);
    QCOMPARE(rig.steps.undoText(), u"Delete AI Zone"_s);
    while (rig.steps.canUndo())
        rig.steps.undo();
    QCOMPARE(rig.ai(), before);
}

void TestAiTools::targetDragAndSpeed()
{
    Rig rig;
    // Target 2 lies at tile (44, 8): its point is grabbed and dragged in whole tiles.
    rig.drag(u"targets"_s, px(44 * 8 + 4, 8 * 8 + 4), px(50 * 8 + 1, 30 * 8 + 7));
    QCOMPARE(rig.targets().selected(), 2);
    QCOMPARE(rig.ai().targets[2], (rom::Target {50, 30, 3}));
    QCOMPARE(rig.steps.count(), 1);
    // Out of its zone now (zone 2 covers tiles 40-47, 4-11): marked as such.
    QCOMPARE(targetFault(rig.document, 2), TargetFault::OutsideZone);
    QCOMPARE(targetFault(rig.document, 1), TargetFault::None);
    // A press inside zone 0 away from its target brings that target there.
    rig.drag(u"targets"_s, px(40, 40), px(41, 41));
    QCOMPARE(rig.targets().selected(), 0);
    QCOMPARE(rig.ai().targets[0], (rom::Target {5, 5, 1}));
    rig.targets().setSpeed(3);
    QCOMPARE(rig.ai().targets[0].speed, 3);
    QCOMPARE(rig.steps.count(), 3);
    QCOMPARE(rig.steps.undoText(), u"Set AI Target Speed"_s);
    rig.steps.undo();
    rig.steps.undo();
    rig.steps.undo();
    QCOMPARE(rig.ai().targets[2], (rom::Target {44, 8, 3}));
    QCOMPARE(rig.ai().targets[0], (rom::Target {8, 8, 1}));
}

void TestAiTools::unreadableAiIsNotEdited()
{
    Rig rig;
    rig.document.zones().loadUnreadable(u"Mario Circuit 1: AI zones at 0x60531: no end"_s);
    QSignalSpy refusals(&rig.tools, &ToolController::refused);
    rig.drag(u"zones"_s, px(66, 322), px(130, 350));
    rig.drag(u"targets"_s, px(66, 322), px(130, 350));
    QCOMPARE(refusals.count(), 2);
    QVERIFY(refusals.at(0).at(0).toString().contains(u"no end"_s));
    QVERIFY(rig.ai().zones.empty());
    QCOMPARE(rig.steps.count(), 0);

    // Object areas that could not be read are not shifted, and the user is told so.
    Rig areasUnread;
    areasUnread.document.objectAreas().load(std::nullopt, u"object areas at 0x4db83: outside"_s);
    QSignalSpy told(&areasUnread.zones(), &ZonesTool::told);
    areasUnread.drag(u"zones"_s, px(66, 322), px(130, 350));
    QCOMPARE(areasUnread.ai().zones.size(), std::size_t(4));
    QCOMPARE(told.count(), 1);
    QVERIFY(told.at(0).at(0).toString().contains(u"could not be read"_s));
    QCOMPARE(areasUnread.steps.count(), 1);
}

void TestAiTools::raceOrderRowsDragged_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("dropRow"); // the row it is dropped before; -1 past the last
    QTest::addColumn<std::vector<int>>("order");
    QTest::newRow("first before the last") << 0 << 2 << std::vector<int> {1, 0, 2};
    QTest::newRow("first past the end") << 0 << -1 << std::vector<int> {1, 2, 0};
    QTest::newRow("last to the top") << 2 << 0 << std::vector<int> {2, 0, 1};
    QTest::newRow("onto its own place") << 1 << 1 << std::vector<int> {0, 1, 2};
}

void TestAiTools::raceOrderRowsDragged()
{
    QFETCH(int, from);
    QFETCH(int, dropRow);
    QFETCH(std::vector<int>, order);
    Rig rig;
    const rom::CourseAi before = rig.ai();
    RaceOrderModel model(rig.document);
    QCOMPARE(model.rowCount(), 3);
    QCOMPARE(model.data(model.index(1, RaceOrderModel::Target)).toString(), u"24, 8"_s);
    QCOMPARE(model.data(model.index(2, RaceOrderModel::Speed)).toInt(), 3);
    std::unique_ptr<QMimeData> dragged(model.mimeData({model.index(from, 0)}));
    QVERIFY(!model.dropMimeData(dragged.get(), Qt::MoveAction, dropRow, 0, {}));
    for (std::size_t k = 0; k < order.size(); ++k) {
        QCOMPARE(rig.ai().zones[k], before.zones[std::size_t(order[k])]);
        QCOMPARE(rig.ai().targets[k], before.targets[std::size_t(order[k])]);
    }
    const bool moved = order != std::vector<int> {0, 1, 2};
    QCOMPARE(rig.steps.count(), moved ? 1 : 0);
    // A move keeps the object areas: the numbers still follow one another.
    QCOMPARE(rig.document.objectAreas().value(), std::optional(areas({0, 1, 2, 3, 0xFFFF})));
    if (moved) {
        QCOMPARE(rig.steps.undoText(), u"Reorder AI Zones"_s);
        rig.steps.undo();
        QCOMPARE(rig.ai(), before);
    }
}

VELMOR_GUILESS_TEST_MAIN(TestAiTools)
#include "test_ai_tools.moc"
