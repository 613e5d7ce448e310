#include "editor/course_map.h"
#include "editor/map_history.h"
#include "editor/map_shapes.h"
#include "editor/tool_controller.h"
#include "tests/support/test_main.h"

#include <QSignalSpy>
#include <QTest>
#include <QUndoStack>

using namespace velmor;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(velmor::Tool)

namespace {

constexpr Qt::KeyboardModifiers None = Qt::NoModifier;

int at(QPoint cell)
{
    return cellIndex(cell.y(), cell.x());
}

} // namespace

// The controller the map view drives: previews that leave the model alone until the release,
// picking, selecting, moving and pasting.
class TestToolController : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void linePreviewsUntilRelease();
    void rectangleIsFilledWithShiftAtRelease();
    void escapeDropsTheDrag();
    void altClickPicksWithAnyTool_data();
    void altClickPicksWithAnyTool();
    void invalidPaletteIsRefusedAtPress();
    void selectionMovesAsOneStep();
    void pasteFollowsThePointerUntilAClick();

private:
    Palettes mPalettes {u"3C"_s, u"C3"_s};
    std::unique_ptr<CourseMap> mMap;
    std::unique_ptr<MapHistory> mHistory;
    std::unique_ptr<ToolController> mTools;
};

void TestToolController::init()
{
    mPalettes = {u"3C"_s, u"C3"_s};
    mMap = std::make_unique<CourseMap>();
    mHistory = std::make_unique<MapHistory>(*mMap);
    mTools = std::make_unique<ToolController>(*mMap, *mHistory);
    mTools->setPaletteSource([this] { return mPalettes; });
}

void TestToolController::cleanup()
{
    mTools.reset();
    mHistory.reset();
    mMap.reset();
}

void TestToolController::linePreviewsUntilRelease()
{
    mTools->setTool(Tool::Line);
    QSignalSpy repaints(mTools.get(), &ToolController::previewChanged);
    QVERIFY(mTools->press({2, 2}, LeftButton, None));
    mTools->move({9, 5}, LeftButton, None);
    QCOMPARE(mTools->preview().shapeCells(), lineCells({2, 2}, {9, 5}));
    QCOMPARE(mTools->preview().at(at({9, 5})), (Cell {u"3C"_s, Mark::Painted}));
    QCOMPARE(mMap->texts(), CourseMap().texts());

    // Shortening the line repaints where the longer one was.
    mTools->move({3, 2}, LeftButton, None);
    QVERIFY(repaints.constLast().at(0).toRect().contains(QRect(QPoint(2, 2), QPoint(9, 5))));
    QCOMPARE(mTools->preview().at(at({9, 5})), std::nullopt);

    mPalettes.left = u"4D"_s; // the release draws with the palette as it is then
    QVERIFY(mTools->release({4, 4}, LeftButton, None));
    QVERIFY(mTools->preview().bounds().isEmpty());
    for (int index : lineCells({2, 2}, {4, 4}))
        QCOMPARE(mMap->cell(index), (Cell {u"4D"_s, Mark::Painted}));
    QCOMPARE(mHistory->stack()->count(), 1);
    QCOMPARE(mHistory->stack()->undoText(), u"Line"_s);
}

void TestToolController::rectangleIsFilledWithShiftAtRelease()
{
    mTools->setTool(Tool::Rectangle);
    mTools->press({1, 1}, RightButton, None);
    mTools->move({4, 4}, RightButton, None);
    QCOMPARE(mTools->preview().shapeCells().size(), 12);
    mTools->move({4, 4}, RightButton, Qt::ShiftModifier);
    QCOMPARE(mTools->preview().shapeCells().size(), 16);
    mTools->release({4, 4}, RightButton, Qt::ShiftModifier);
    QCOMPARE(mMap->texts().count(u"C3"_s), 16);
    QCOMPARE(mMap->text(at({2, 2})), u"C3"_s);
}

void TestToolController::escapeDropsTheDrag()
{
    mTools->setTool(Tool::Line);
    mTools->press({0, 0}, LeftButton, None);
    mTools->move({20, 7}, LeftButton, None);
    mTools->escape();
    QVERIFY(mTools->preview().bounds().isEmpty());
    mTools->move({30, 7}, LeftButton, None);
    QVERIFY(mTools->preview().bounds().isEmpty());
    QVERIFY(mTools->release({30, 7}, LeftButton, None));
    QCOMPARE(mMap->texts(), CourseMap().texts());
    QCOMPARE(mHistory->stack()->count(), 0);
}

void TestToolController::altClickPicksWithAnyTool_data()
{
    QTest::addColumn<Tool>("tool");
    QTest::addColumn<int>("button");
    QTest::newRow("brush, left") << Tool::Brush << int(LeftButton);
    QTest::newRow("line, right") << Tool::Line << int(RightButton);
    QTest::newRow("fill, left") << Tool::Fill << int(LeftButton);
    QTest::newRow("select, right") << Tool::Select << int(RightButton);
}

void TestToolController::altClickPicksWithAnyTool()
{
    QFETCH(Tool, tool);
    QFETCH(int, button);
    mMap->setCell(at({5, 6}), u"a7"_s, Mark::Untouched);
    mTools->setTool(tool);
    QSignalSpy picks(mTools.get(), &ToolController::picked);
    QVERIFY(mTools->press({5, 6}, button, Qt::AltModifier));
    QCOMPARE(picks.size(), 1);
    QCOMPARE(picks.at(0).at(0).toInt(), button);
    QCOMPARE(picks.at(0).at(1).toString(), u"a7"_s);
    // The rest of the click is the controller's too: the brush must not paint it.
    QVERIFY(mTools->move({6, 6}, button, None));
    QVERIFY(mTools->release({6, 6}, button, None));
    QCOMPARE(mHistory->stack()->count(), 0);
    // Without Alt the brush keeps its own strokes.
    mTools->setTool(Tool::Brush);
    QVERIFY(!mTools->press({5, 6}, button, None));
    QVERIFY(!mTools->move({6, 6}, button, None));
}

void TestToolController::invalidPaletteIsRefusedAtPress()
{
    mPalettes.left = u"7"_s;
    QSignalSpy refusals(mTools.get(), &ToolController::refused);
    for (Tool tool : {Tool::Line, Tool::Rectangle, Tool::Fill}) {
        mTools->setTool(tool);
        mTools->press({3, 3}, LeftButton, None);
        mTools->move({8, 8}, LeftButton, None);
        QVERIFY(mTools->preview().bounds().isEmpty());
        mTools->release({8, 8}, LeftButton, None);
    }
    QCOMPARE(refusals.size(), 3);
    QVERIFY(refusals.at(0).at(0).toString().contains(u"\"7\""_s));
    QCOMPARE(mMap->texts(), CourseMap().texts());
    QCOMPARE(mHistory->stack()->count(), 0);
}

void TestToolController::selectionMovesAsOneStep()
{
    mMap->setCells(cellsIn(QRect(2, 2, 2, 2)), u"AB"_s, Mark::Untouched);
    mTools->setTool(Tool::Select);
    QSignalSpy selections(mTools.get(), &ToolController::selectionChanged);
    mTools->press({3, 3}, LeftButton, None);
    mTools->move({2, 2}, LeftButton, None);
    mTools->release({2, 2}, LeftButton, None);
    QCOMPARE(mTools->selection(), QRect(2, 2, 2, 2));
    QVERIFY(selections.size() >= 1);
    QCOMPARE(mTools->copy(), CellBlock(2, 2, QStringList(4, u"AB"_s)));

    const QStringList before = mMap->texts();
    mTools->press({3, 3}, LeftButton, None);
    mTools->move({6, 3}, LeftButton, None);
    QCOMPARE(mTools->preview().floatingPosition(), QPoint(5, 2));
    QCOMPARE(mTools->preview().at(at({2, 2})), (Cell {u"01"_s, Mark::Erased}));
    QCOMPARE(mTools->preview().at(at({6, 3})), (Cell {u"AB"_s, Mark::Painted}));
    QCOMPARE(mMap->texts(), before);
    mTools->release({6, 3}, LeftButton, None);
    QCOMPARE(mHistory->stack()->count(), 1);
    QCOMPARE(mHistory->stack()->undoText(), u"Move"_s);
    QCOMPARE(mTools->selection(), QRect(5, 2, 2, 2));
    QCOMPARE(mMap->cell(at({6, 3})), (Cell {u"AB"_s, Mark::Painted}));
    QCOMPARE(mMap->cell(at({3, 3})), (Cell {u"01"_s, Mark::Erased}));
}

void TestToolController::pasteFollowsThePointerUntilAClick()
{
    const CellBlock block(3, 3, QStringList(9, u"5E"_s));
    mTools->beginPaste(block, {0, 0});
    QVERIFY(mTools->isPasting());
    QVERIFY(mTools->move({126, 120}, 0, None));
    QCOMPARE(mTools->preview().floatingPosition(), QPoint(126, 120));
    QCOMPARE(mTools->preview().bounds(), QRect(126, 120, 2, 3));
    QCOMPARE(mMap->texts().count(u"5E"_s), 0);

    QVERIFY(mTools->press({126, 125}, LeftButton, None));
    mTools->release({126, 125}, LeftButton, None);
    QVERIFY(!mTools->isPasting());
    QCOMPARE(mMap->texts().count(u"5E"_s), 6);
    QCOMPARE(mHistory->stack()->undoText(), u"Paste"_s);
    QCOMPARE(mTools->selection(), QRect(126, 125, 2, 3));
    mTools->escape();
    QVERIFY(!mTools->hasSelection());
    QVERIFY(mTools->cut().isEmpty());
    QCOMPARE(mHistory->stack()->count(), 1);
}

VELMOR_GUILESS_TEST_MAIN(TestToolController)
#include "test_tool_controller.moc"
