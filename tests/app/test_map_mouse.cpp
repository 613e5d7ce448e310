#include "app/splash.h"
#include "editor/map_view.h"
#include "tests/app/window_fixture.h"
#include "tests/support/cell_centre.h"
#include "tests/support/test_main.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>

using namespace velmor;
using namespace Qt::StringLiterals;

// The real window, shown offscreen and painted with the mouse; checks the model.
class TestMapMouse : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { mFixture.reset(); }

    void leftPressPaints();
    void dragPaintsEveryCellIncludingAFastJump();
    void dragSkipsCellsThatAlreadyShowTheText();
    void dragWithTwoButtonsChangesNothing();
    void rightButtonUsesTheSecondPalette();
    void typedPaletteTextIsPainted();
    void middleButtonErases();
    void dragAfterScrolling();
    void dragOutOfTheViewportAndBack();
    void splashTakesThePressesItCovers();
    void wheelScrollsThroughTheScrollBars();

private:
    // Events go to the window, as the platform delivers them: Qt finds the widget under the
    // pointer (or the one holding the grab) itself.
    QPoint inWindow(QPoint mapPixel);
    // Moves carry the buttons that QTest saw pressed and not yet released.
    void dragTo(QPoint mapPixel);
    void press(QPoint mapPixel, Qt::MouseButton button)
    {
        QTest::mousePress(window()->windowHandle(), button, {}, inWindow(mapPixel));
    }
    void release(QPoint mapPixel, Qt::MouseButton button)
    {
        QTest::mouseRelease(window()->windowHandle(), button, {}, inWindow(mapPixel));
    }

    ClientWindow *window() { return mFixture->window.get(); }
    MapView *map() { return window()->mapView(); }
    CourseMap &model() { return window()->courseMap(); }
    Cell cell(int row, int column) { return model().cell(cellIndex(row, column)); }

    std::unique_ptr<test::WindowFixture> mFixture;
};

void TestMapMouse::init()
{
    mFixture = std::make_unique<test::WindowFixture>();
    window()->show();
    QVERIFY2(QTest::qWaitForWindowExposed(window()), "the window was not shown within 5 s");
    window()->splash()->hide();
}

QPoint TestMapMouse::inWindow(QPoint mapPixel)
{
    return map()->mapTo(window(), mapPixel);
}

void TestMapMouse::dragTo(QPoint mapPixel)
{
    QTest::mouseMove(window()->windowHandle(), inWindow(mapPixel));
}

void TestMapMouse::leftPressPaints()
{
    press(test::cellCentre(5, 7), Qt::LeftButton);
    release(test::cellCentre(5, 7), Qt::LeftButton);
    QCOMPARE(model().cell(647), (Cell{u"00"_s, Mark::Painted}));
    QCOMPARE(cell(5, 6), (Cell{u"01"_s, Mark::Untouched}));
    QCOMPARE(cell(5, 8), (Cell{u"01"_s, Mark::Untouched}));
}

void TestMapMouse::dragPaintsEveryCellIncludingAFastJump()
{
    window()->pickTile()->setEditText(u"2A"_s);
    press(test::cellCentre(2, 1), Qt::LeftButton);
    dragTo(test::cellCentre(2, 2));
    dragTo(test::cellCentre(2, 3));
    dragTo(test::cellCentre(2, 15)); // one jump over eleven cells
    dragTo(test::cellCentre(6, 15)); // and down four rows
    release(test::cellCentre(6, 15), Qt::LeftButton);
    for (int column = 1; column <= 15; ++column)
        QCOMPARE(cell(2, column), (Cell{u"2A"_s, Mark::Painted}));
    for (int row = 3; row <= 6; ++row)
        QCOMPARE(cell(row, 15), (Cell{u"2A"_s, Mark::Painted}));
    QCOMPARE(cell(2, 0).text, u"01"_s);
    QCOMPARE(cell(2, 16).text, u"01"_s);
    QCOMPARE(cell(3, 14).text, u"01"_s);
    QCOMPARE(cell(7, 15).text, u"01"_s);
}

void TestMapMouse::dragSkipsCellsThatAlreadyShowTheText()
{
    window()->pickTile()->setEditText(u"01"_s);
    press(test::cellCentre(0, 0), Qt::LeftButton);
    dragTo(test::cellCentre(0, 4));
    release(test::cellCentre(0, 4), Qt::LeftButton);
    // The pressed cell is marked; the cells passed over already showed "01" and keep their mark.
    QCOMPARE(cell(0, 0), (Cell{u"01"_s, Mark::Painted}));
    for (int column = 1; column <= 4; ++column)
        QCOMPARE(cell(0, column), (Cell{u"01"_s, Mark::Untouched}));
}

void TestMapMouse::dragWithTwoButtonsChangesNothing()
{
    press(test::cellCentre(8, 8), Qt::LeftButton);
    press(test::cellCentre(8, 8), Qt::RightButton);
    dragTo(test::cellCentre(8, 12));
    release(test::cellCentre(8, 12), Qt::RightButton);
    release(test::cellCentre(8, 12), Qt::LeftButton);
    QCOMPARE(cell(8, 8).mark, Mark::Painted); // the press itself
    for (int column = 9; column <= 12; ++column)
        QCOMPARE(cell(8, column), (Cell{u"01"_s, Mark::Untouched}));
}

void TestMapMouse::rightButtonUsesTheSecondPalette()
{
    window()->pickTile()->setEditText(u"11"_s);
    window()->pickTile2()->setEditText(u"3C"_s);
    press(test::cellCentre(10, 3), Qt::RightButton);
    dragTo(test::cellCentre(10, 6));
    release(test::cellCentre(10, 6), Qt::RightButton);
    for (int column = 3; column <= 6; ++column)
        QCOMPARE(cell(10, column), (Cell{u"3C"_s, Mark::Painted}));
}

void TestMapMouse::typedPaletteTextIsPainted()
{
    QComboBox *palette = window()->pickTile();
    palette->lineEdit()->selectAll();
    QTest::keyClicks(palette->lineEdit(), u"e"_s);
    press(test::cellCentre(1, 1), Qt::LeftButton);
    release(test::cellCentre(1, 1), Qt::LeftButton);
    QCOMPARE(cell(1, 1).text, u"e"_s);
}

void TestMapMouse::middleButtonErases()
{
    model().setCell(cellIndex(4, 4), u"F0"_s, Mark::Painted);
    press(test::cellCentre(4, 2), Qt::MiddleButton);
    dragTo(test::cellCentre(4, 5));
    release(test::cellCentre(4, 5), Qt::MiddleButton);
    for (int column = 2; column <= 5; ++column)
        QCOMPARE(cell(4, column), (Cell{u"01"_s, Mark::Erased}));
}

void TestMapMouse::dragAfterScrolling()
{
    window()->horizontalScrollBar()->setValue(96);
    window()->verticalScrollBar()->setValue(108);
    // The bottom-right corner of the map is now in view.
    press(test::cellCentre(127, 120), Qt::LeftButton);
    dragTo(test::cellCentre(127, 127));
    dragTo(test::cellCentre(120, 127));
    release(test::cellCentre(120, 127), Qt::LeftButton);
    for (int column = 120; column <= 127; ++column)
        QCOMPARE(cell(127, column).mark, Mark::Painted);
    for (int row = 120; row <= 127; ++row)
        QCOMPARE(cell(row, 127).mark, Mark::Painted);
    QCOMPARE(cell(126, 126).mark, Mark::Untouched);

    // Back to a middle position: the same pixels now name other cells.
    window()->horizontalScrollBar()->setValue(40);
    window()->verticalScrollBar()->setValue(30);
    press(test::cellCentre(35, 45), Qt::LeftButton);
    release(test::cellCentre(35, 45), Qt::LeftButton);
    QCOMPARE(cell(35, 45).mark, Mark::Painted);
}

void TestMapMouse::dragOutOfTheViewportAndBack()
{
    // The viewport shows 32 columns; column 34 lies beyond its right edge, column 32 under VScroll1.
    press(test::cellCentre(12, 30), Qt::LeftButton);
    dragTo(test::cellCentre(12, 31));
    dragTo(test::cellCentre(12, 34));
    dragTo(test::cellCentre(14, 36));
    QCOMPARE(cell(12, 31).mark, Mark::Painted);
    for (int column = 32; column <= 36; ++column) {
        QCOMPARE(cell(12, column).mark, Mark::Untouched);
        QCOMPARE(cell(14, column).mark, Mark::Untouched);
    }
    // Coming back with the button held paints again, from where the pointer re-enters.
    dragTo(test::cellCentre(14, 28));
    dragTo(test::cellCentre(14, 26));
    release(test::cellCentre(14, 26), Qt::LeftButton);
    QCOMPARE(cell(14, 28).mark, Mark::Painted);
    QCOMPARE(cell(14, 27).mark, Mark::Painted);
    QCOMPARE(cell(14, 26).mark, Mark::Painted);
    QCOMPARE(cell(14, 29).mark, Mark::Untouched);
}

void TestMapMouse::splashTakesThePressesItCovers()
{
    window()->splash()->show();
    // Cell (10, 12) lies under the splash (pixels 152..443 x 104..256 in the window).
    QVERIFY(window()->splash()->geometry().contains(map()->mapTo(window(), test::cellCentre(10, 12))));
    press(test::cellCentre(10, 12), Qt::LeftButton);
    release(test::cellCentre(10, 12), Qt::LeftButton);
    QCOMPARE(cell(10, 12).mark, Mark::Untouched);
    QVERIFY(window()->splash()->isHidden());
    // A drag from outside does not paint what the shown splash covers.
    window()->splash()->show();
    press(test::cellCentre(10, 5), Qt::LeftButton);
    dragTo(test::cellCentre(10, 6));
    dragTo(test::cellCentre(10, 14));
    release(test::cellCentre(10, 14), Qt::LeftButton);
    QCOMPARE(cell(10, 6).mark, Mark::Painted);
    QCOMPARE(cell(10, 14).mark, Mark::Untouched);
    // Once it has gone, the cells under it take paint.
    window()->splash()->hide();
    press(test::cellCentre(10, 12), Qt::LeftButton);
    release(test::cellCentre(10, 12), Qt::LeftButton);
    QCOMPARE(cell(10, 12).mark, Mark::Painted);
}

void TestMapMouse::wheelScrollsThroughTheScrollBars()
{
    const int lines = QApplication::wheelScrollLines();
    auto wheel = [this](QPoint angle, Qt::KeyboardModifiers modifiers) {
        const QPointF at = test::cellCentre(3, 3);
        QWheelEvent event(at, map()->mapToGlobal(at), QPoint(), angle, Qt::NoButton, modifiers,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(map(), &event);
    };
    wheel(QPoint(0, -120), Qt::NoModifier);
    QCOMPARE(window()->verticalScrollBar()->value(), 2 * lines);
    QCOMPARE(map()->pos().y(), -16 * 2 * lines);
    wheel(QPoint(0, -120), Qt::ShiftModifier);
    QCOMPARE(window()->horizontalScrollBar()->value(), lines);
    QCOMPARE(map()->pos().x(), -16 * lines);
    // Half notches add up.
    wheel(QPoint(0, 60), Qt::NoModifier);
    QCOMPARE(window()->verticalScrollBar()->value(), 2 * lines);
    wheel(QPoint(0, 60), Qt::NoModifier);
    QCOMPARE(window()->verticalScrollBar()->value(), 0);
}

VELMOR_TEST_MAIN(TestMapMouse)
#include "test_map_mouse.moc"
