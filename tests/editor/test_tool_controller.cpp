#include "document/course_document.h"
#include "editor/map_shapes.h"
#include "editor/tool_controller.h"
#include "tests/support/test_main.h"

#include <QSignalSpy>
#include <QTest>
#include <QUndoStack>

using namespace velmor;
using namespace Qt::StringLiterals;

namespace {

constexpr Qt::KeyboardModifiers None = Qt::NoModifier;

int at(QPoint cell)
{
    return cellIndex(cell.y(), cell.x());
}

struct Rig
{
    Rig()
    {
        tools.setPaletteSource([this] { return palettes; });
    }
    Palettes palettes {u"3C"_s, u"C3"_s};
    CourseDocument document;
    CourseMap &map = document.map();
    ToolController tools {document};
    QUndoStack &steps = *document.undoStack();
};

} // namespace

// The controller the map view drives: previews that leave the model alone until the release,
// picking, selecting, moving and pasting.
class TestToolController : public QObject
{
    Q_OBJECT

private slots:
    void linePreviewsUntilRelease();
    void rectangleIsFilledWithShiftAtRelease();
    void escapeDropsTheDrag();
    void altClickPicksWithAnyTool_data();
    void altClickPicksWithAnyTool();
    void invalidPaletteIsRefusedAtPress();
    void selectionMovesAsOneStep();
    void pasteFollowsThePointerUntilAClick();
};

void TestToolController::linePreviewsUntilRelease()
{
    Rig rig;
    rig.tools.setTool(u"line"_s);
    QSignalSpy repaints(&rig.tools, &ToolController::previewChanged);
    rig.tools.press({2, 2}, LeftButton, None);
    rig.tools.move({9, 5}, LeftButton, None);
    QCOMPARE(rig.tools.preview().shapeCells(), lineCells({2, 2}, {9, 5}));
    QCOMPARE(rig.tools.preview().at(at({9, 5})), (Cell {u"3C"_s, Mark::Painted}));
    QCOMPARE(rig.map.texts(), CourseMap().texts());

    // Shortening the line repaints where the longer one was.
    rig.tools.move({3, 2}, LeftButton, None);
    QVERIFY(repaints.constLast().at(0).toRect().contains(QRect(QPoint(2, 2), QPoint(9, 5))));
    QCOMPARE(rig.tools.preview().at(at({9, 5})), std::nullopt);

    rig.palettes.left = u"4D"_s; // the release draws with the palette as it is then
    rig.tools.release({4, 4}, LeftButton, None);
    QVERIFY(rig.tools.preview().bounds().isEmpty());
    for (int index : lineCells({2, 2}, {4, 4}))
        QCOMPARE(rig.map.cell(index), (Cell {u"4D"_s, Mark::Painted}));
    QCOMPARE(rig.steps.count(), 1);
    QCOMPARE(rig.steps.undoText(), u"Line"_s);
}

void TestToolController::rectangleIsFilledWithShiftAtRelease()
{
    Rig rig;
    rig.tools.setTool(u"rectangle"_s);
    rig.tools.press({1, 1}, RightButton, None);
    rig.tools.move({4, 4}, RightButton, None);
    QCOMPARE(rig.tools.preview().shapeCells().size(), 12);
    rig.tools.move({4, 4}, RightButton, Qt::ShiftModifier);
    QCOMPARE(rig.tools.preview().shapeCells().size(), 16);
    rig.tools.release({4, 4}, RightButton, Qt::ShiftModifier);
    QCOMPARE(rig.map.texts().count(u"C3"_s), 16);
    QCOMPARE(rig.map.text(at({2, 2})), u"C3"_s);
}

void TestToolController::escapeDropsTheDrag()
{
    Rig rig;
    rig.tools.setTool(u"line"_s);
    rig.tools.press({0, 0}, LeftButton, None);
    rig.tools.move({20, 7}, LeftButton, None);
    rig.tools.escape();
    QVERIFY(rig.tools.preview().bounds().isEmpty());
    rig.tools.move({30, 7}, LeftButton, None);
    QVERIFY(rig.tools.preview().bounds().isEmpty());
    rig.tools.release({30, 7}, LeftButton, None);
    QCOMPARE(rig.map.texts(), CourseMap().texts());
    QCOMPARE(rig.steps.count(), 0);
}

void TestToolController::altClickPicksWithAnyTool_data()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<int>("button");
    QTest::newRow("brush, left") << u"brush"_s << int(LeftButton);
    QTest::newRow("line, right") << u"line"_s << int(RightButton);
    QTest::newRow("fill, left") << u"fill"_s << int(LeftButton);
    QTest::newRow("select, right") << u"select"_s << int(RightButton);
}

void TestToolController::altClickPicksWithAnyTool()
{
    Rig rig;
    QFETCH(QString, tool);
    QFETCH(int, button);
    rig.map.setCell(at({5, 6}), u"a7"_s, Mark::Untouched);
    rig.tools.setTool(tool);
    QSignalSpy picks(&rig.tools, &ToolController::picked);
    rig.tools.press({5, 6}, button, Qt::AltModifier);
    QCOMPARE(picks.size(), 1);
    QCOMPARE(picks.at(0).at(0).toInt(), button);
    QCOMPARE(picks.at(0).at(1).toString(), u"a7"_s);
    // The rest of the click is the controller's too: the brush must not paint it.
    rig.tools.move({6, 6}, button, None);
    rig.tools.release({6, 6}, button, None);
    QCOMPARE(rig.steps.count(), 0);
    // Without Alt the brush paints its own stroke, press and drag one step.
    rig.tools.setTool(u"brush"_s);
    rig.tools.press({5, 6}, button, None);
    rig.tools.move({6, 6}, button, None);
    rig.tools.release({6, 6}, button, None);
    QCOMPARE(rig.steps.count(), 1);
    QCOMPARE(rig.steps.undoText(), u"Paint"_s);
    QCOMPARE(rig.map.cell(at({6, 6})).mark, Mark::Painted);
}

void TestToolController::invalidPaletteIsRefusedAtPress()
{
    Rig rig;
    rig.palettes.left = u"7"_s;
    QSignalSpy refusals(&rig.tools, &ToolController::refused);
    for (const QString &tool : {u"line"_s, u"rectangle"_s, u"fill"_s}) {
        rig.tools.setTool(tool);
        rig.tools.press({3, 3}, LeftButton, None);
        rig.tools.move({8, 8}, LeftButton, None);
        QVERIFY(rig.tools.preview().bounds().isEmpty());
        rig.tools.release({8, 8}, LeftButton, None);
    }
    QCOMPARE(refusals.size(), 3);
    QVERIFY(refusals.at(0).at(0).toString().contains(u"\"7\""_s));
    QCOMPARE(rig.map.texts(), CourseMap().texts());
    QCOMPARE(rig.steps.count(), 0);
}

void TestToolController::selectionMovesAsOneStep()
{
    Rig rig;
    rig.map.setCells(cellsIn(QRect(2, 2, 2, 2)), u"AB"_s, Mark::Untouched);
    rig.tools.setTool(u"select"_s);
    QSignalSpy selections(&rig.tools, &ToolController::selectionChanged);
    rig.tools.press({3, 3}, LeftButton, None);
    rig.tools.move({2, 3}, LeftButton, None);
    rig.tools.release({2, 2}, LeftButton, None);
    QCOMPARE(rig.tools.selection(), QRect(2, 2, 2, 2));
    QVERIFY(selections.size() >= 1);
    QCOMPARE(rig.tools.copy(), CellBlock(2, 2, QStringList(4, u"AB"_s)));

    const QStringList before = rig.map.texts();
    rig.tools.press({3, 3}, LeftButton, None);
    rig.tools.move({6, 3}, LeftButton, None);
    QCOMPARE(rig.tools.preview().floatingPosition(), QPoint(5, 2));
    QCOMPARE(rig.tools.preview().at(at({2, 2})), (Cell {u"01"_s, Mark::Erased}));
    QCOMPARE(rig.tools.preview().at(at({6, 3})), (Cell {u"AB"_s, Mark::Painted}));
    QCOMPARE(rig.map.texts(), before);
    rig.tools.release({6, 3}, LeftButton, None);
    QCOMPARE(rig.steps.count(), 1);
    QCOMPARE(rig.steps.undoText(), u"Move"_s);
    QCOMPARE(rig.tools.selection(), QRect(5, 2, 2, 2));
    QCOMPARE(rig.map.cell(at({6, 3})), (Cell {u"AB"_s, Mark::Painted}));
    QCOMPARE(rig.map.cell(at({3, 3})), (Cell {u"01"_s, Mark::Erased}));
}

void TestToolController::pasteFollowsThePointerUntilAClick()
{
    Rig rig;
    const CellBlock block(3, 3, QStringList(9, u"5E"_s));
    rig.tools.beginPaste(block, {0, 0});
    QVERIFY(rig.tools.isPasting());
    rig.tools.move({126, 120}, 0, None);
    QCOMPARE(rig.tools.preview().floatingPosition(), QPoint(126, 120));
    QCOMPARE(rig.tools.preview().bounds(), QRect(126, 120, 2, 3));
    QCOMPARE(rig.map.texts().count(u"5E"_s), 0);

    rig.tools.press({126, 125}, LeftButton, None);
    rig.tools.release({126, 125}, LeftButton, None);
    QVERIFY(!rig.tools.isPasting());
    QCOMPARE(rig.map.texts().count(u"5E"_s), 6);
    QCOMPARE(rig.steps.undoText(), u"Paste"_s);
    QCOMPARE(rig.tools.selection(), QRect(126, 125, 2, 3));
    rig.tools.escape();
    QVERIFY(!rig.tools.hasSelection());
    QVERIFY(rig.tools.cut().isEmpty());
    QCOMPARE(rig.steps.count(), 1);
}

VELMOR_GUILESS_TEST_MAIN(TestToolController)
#include "test_tool_controller.moc"
