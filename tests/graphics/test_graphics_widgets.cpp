#include "document/course_map.h"
#include "document/map_geometry.h"
#include "graphics/course_overview.h"
#include "graphics/theme_loader.h"
#include "graphics/tile_set_view.h"
#include "tests/graphics/expected_course.h"
#include "tests/support/paint_watcher.h"
#include "tests/support/test_main.h"

#include <QHelpEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>

using namespace velmor;
using namespace Qt::StringLiterals;
using rom::Theme;

namespace {

const test::GameRom &graphicsRom()
{
    static const test::GameRom built = test::gameRom({.seed = 9, .themeGraphics = true});
    return built;
}

std::shared_ptr<const graphics::ThemeGraphics> load(Theme theme)
{
    return graphics::loadTheme(*rom::RomImage::open(graphicsRom().bytes), theme).graphics;
}

QImage grabbed(QWidget &widget)
{
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

using test::PaintWatcher;

} // namespace

// The tile set and the course overview, shown offscreen and driven with the mouse.
class TestGraphicsWidgets : public QObject
{
    Q_OBJECT

private slots:
    void tileSetClicksPickForEachPalette_data();
    void tileSetClicksPickForEachPalette();
    void tileSetOutlinesBothPicksDifferently();
    void tileSetShowsPlaceholdersAndNamesTiles();
    void overviewFollowsTheMapCellByCell();
    void overviewClickAndDragAskToScroll_data();
    void overviewClickAndDragAskToScroll();
    void overviewZooms();
};

void TestGraphicsWidgets::tileSetClicksPickForEachPalette_data()
{
    QTest::addColumn<int>("tile");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::newRow("left 53") << 0x53 << Qt::LeftButton;
    QTest::newRow("right C7") << 0xC7 << Qt::RightButton;
    QTest::newRow("left 00") << 0x00 << Qt::LeftButton;
    QTest::newRow("right FF") << 0xFF << Qt::RightButton;
}

void TestGraphicsWidgets::tileSetClicksPickForEachPalette()
{
    QFETCH(int, tile);
    QFETCH(Qt::MouseButton, button);
    graphics::TileSetView view;
    view.setTiles(graphics::TileImages(*load(Theme::MarioCircuit)));
    view.show();
    QVERIFY2(QTest::qWaitForWindowExposed(&view), "the tile set was not shown within 5 s");
    QSignalSpy left(&view, &graphics::TileSetView::leftTilePicked);
    QSignalSpy right(&view, &graphics::TileSetView::rightTilePicked);

    QTest::mouseClick(&view, button, {}, view.tileRect(tile).center());
    QSignalSpy &picked = button == Qt::LeftButton ? left : right;
    QSignalSpy &other = button == Qt::LeftButton ? right : left;
    QCOMPARE(picked.count(), 1);
    QCOMPARE(picked.at(0).at(0).toInt(), tile);
    QCOMPARE(other.count(), 0);
    QCOMPARE(button == Qt::LeftButton ? view.leftPick() : view.rightPick(), tile);

    // Between tiles, and with the middle button, nothing is picked.
    QTest::mouseClick(&view, button, {}, view.tileRect(tile).topLeft() - QPoint(1, 1));
    QTest::mouseClick(&view, Qt::MiddleButton, {}, view.tileRect(0x10).center());
    QCOMPARE(left.count() + right.count(), 1);
}

void TestGraphicsWidgets::tileSetOutlinesBothPicksDifferently()
{
    graphics::TileSetView view;
    view.setTiles(graphics::TileImages(*load(Theme::MarioCircuit)));
    const QImage none = grabbed(view);
    view.setLeftPick(0x21);
    view.setRightPick(0x42);
    const QImage picked = grabbed(view);
    const QRect left = view.tileRect(0x21);
    const QRect right = view.tileRect(0x42);
    // The left pick's frame lies around its tile, the right pick's inside its tile.
    const QPoint aroundLeft = left.topLeft() - QPoint(1, 1);
    const QPoint insideRight = right.topLeft() + QPoint(0, right.height() / 2);
    QVERIFY(picked.pixel(aroundLeft) != none.pixel(aroundLeft));
    QVERIFY(picked.pixel(insideRight) != none.pixel(insideRight));
    QVERIFY(picked.pixel(aroundLeft) != picked.pixel(insideRight));
    QCOMPARE(picked.copy(left), none.copy(left)); // the left pick leaves its tile visible
    // Both picks on one tile show both frames.
    view.setRightPick(0x21);
    const QImage both = grabbed(view);
    QCOMPARE(both.pixel(aroundLeft), picked.pixel(aroundLeft));
    QCOMPARE(both.pixel(left.topLeft() + QPoint(0, left.height() / 2)), picked.pixel(insideRight));
}

void TestGraphicsWidgets::tileSetShowsPlaceholdersAndNamesTiles()
{
    graphics::TileSetView view;
    const graphics::TileImages tiles(*load(test::ShortTheme));
    view.setTiles(tiles);
    view.show();
    QVERIFY2(QTest::qWaitForWindowExposed(&view), "the tile set was not shown within 5 s");
    const QImage image = grabbed(view);
    QCOMPARE(image.copy(view.tileRect(0x0C)), tiles.placeholder());
    QCOMPARE(image.copy(view.tileRect(0x0B)), tiles.image(0x0B));

    const auto hover = [&view](int tile) {
        const QPoint at = view.tileRect(tile).center();
        QHelpEvent help(QEvent::ToolTip, at, view.mapToGlobal(at));
        QApplication::sendEvent(&view, &help);
        return QToolTip::text();
    };
    QCOMPARE(hover(0x0B), u"Tile 0B"_s);
    QCOMPARE(hover(0xC4), u"Tile C4 (the same in every theme)"_s);
    QVERIFY2(hover(0x0C).startsWith(u"Tile 0C\nThis theme's graphics do not define it"_s),
        qPrintable(QToolTip::text()));
}

void TestGraphicsWidgets::overviewFollowsTheMapCellByCell()
{
    CourseMap map;
    graphics::CourseOverview overview;
    overview.resize(300, 300);
    overview.setGraphics(load(Theme::VanillaLake));
    overview.setMap(&map);
    overview.show();
    QVERIFY2(QTest::qWaitForWindowExposed(&overview), "the overview was not shown within 5 s");
    QCoreApplication::processEvents();
    QCOMPARE(overview.courseImage(),
        test::expectedCourseImage(graphicsRom(), Theme::VanillaLake, map.texts()));

    PaintWatcher watcher;
    overview.viewport()->installEventFilter(&watcher);
    const QImage before = overview.courseImage();
    const QRect cell(70, 33, 1, 1);
    map.setCell(cellIndex(33, 70), u"C9"_s, Mark::Painted);
    const QImage expected =
        test::expectedCourseImage(graphicsRom(), Theme::VanillaLake, map.texts());
    const QRect pixels = graphics::CourseRenderer::pixelRect(cell);
    QCOMPARE(overview.courseImage().copy(pixels), expected.copy(pixels));
    QVERIFY(before.copy(pixels) != expected.copy(pixels));
    // Everything else is as it was, and only the cell's few pixels on screen are repainted.
    QImage outside = overview.courseImage();
    QPainter(&outside).fillRect(pixels, Qt::black);
    QImage beforeOutside = before;
    QPainter(&beforeOutside).fillRect(pixels, Qt::black);
    QCOMPARE(outside, beforeOutside);
    QTRY_VERIFY2_WITH_TIMEOUT(
        !watcher.rects.isEmpty(), "no repaint within 3 s of a cell's change", 3000);
    const QRect onScreen = overview.viewportRectOf(cell).adjusted(-2, -2, 2, 2);
    for (const QRect &rect : std::as_const(watcher.rects))
        QVERIFY2(
            onScreen.contains(rect), qPrintable(u"%1 x %2"_s.arg(rect.width()).arg(rect.height())));

    // A new theme redraws everything.
    overview.setGraphics(load(Theme::KoopaBeach));
    QCOMPARE(overview.courseImage(),
        test::expectedCourseImage(graphicsRom(), Theme::KoopaBeach, map.texts()));
}

void TestGraphicsWidgets::overviewClickAndDragAskToScroll_data()
{
    QTest::addColumn<QPoint>("pressCell");
    QTest::addColumn<QPoint>("dragCell");
    QTest::addColumn<QPoint>("firstTopLeft");
    QTest::addColumn<QPoint>("secondTopLeft");
    // The map view shows 32 x 20 cells: a press centres it on the cell, kept on the map.
    QTest::newRow("middle, then right")
        << QPoint(64, 40) << QPoint(80, 41) << QPoint(48, 30) << QPoint(64, 31);
    QTest::newRow("top-left corner")
        << QPoint(2, 3) << QPoint(20, 12) << QPoint(0, 0) << QPoint(4, 2);
    QTest::newRow("bottom-right corner")
        << QPoint(127, 127) << QPoint(100, 100) << QPoint(96, 108) << QPoint(84, 90);
}

void TestGraphicsWidgets::overviewClickAndDragAskToScroll()
{
    QFETCH(QPoint, pressCell);
    QFETCH(QPoint, dragCell);
    QFETCH(QPoint, firstTopLeft);
    QFETCH(QPoint, secondTopLeft);
    graphics::CourseOverview overview;
    overview.resize(520, 520);
    overview.show();
    QVERIFY2(QTest::qWaitForWindowExposed(&overview), "the overview was not shown within 5 s");
    QSignalSpy scroll(&overview, &graphics::CourseOverview::scrollRequested);
    const auto at = [&overview](QPoint cell) {
        return overview.viewportRectOf(QRect(cell, QSize(1, 1))).center();
    };
    QWidget *surface = overview.viewport();
    QTest::mousePress(surface, Qt::LeftButton, {}, at(pressCell));
    QTest::mouseMove(surface, at(dragCell));
    QTest::mouseRelease(surface, Qt::LeftButton, {}, at(dragCell));
    QCOMPARE(scroll.count(), 2);
    QCOMPARE(QPoint(scroll.at(0).at(0).toInt(), scroll.at(0).at(1).toInt()), firstTopLeft);
    QCOMPARE(QPoint(scroll.at(1).at(0).toInt(), scroll.at(1).at(1).toInt()), secondTopLeft);
    // Moving without the button asks nothing.
    QTest::mouseMove(surface, at(pressCell));
    QCOMPARE(scroll.count(), 2);
}

void TestGraphicsWidgets::overviewZooms()
{
    graphics::CourseOverview overview;
    overview.resize(300, 300);
    overview.show();
    QVERIFY2(QTest::qWaitForWindowExposed(&overview), "the overview was not shown within 5 s");
    const double fit = overview.scale();
    QVERIFY(fit > 0.2 && fit < 0.3);
    QCOMPARE(overview.horizontalScrollBar()->maximum(), 0);

    overview.setViewCells(QRect(90, 100, 32, 20));
    const QPointF centre = overview.viewport()->rect().center();
    QWheelEvent wheel(centre, overview.viewport()->mapToGlobal(centre), QPoint(), QPoint(0, 240),
        Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(overview.viewport(), &wheel);
    QCOMPARE(
        overview.zoom(), graphics::CourseOverview::ZoomStep * graphics::CourseOverview::ZoomStep);
    QVERIFY(overview.verticalScrollBar()->maximum() > 0);

    for (int k = 0; k < 40; ++k)
        overview.zoomIn();
    // At most 32 pixels a tile, and the map view's frame is in sight.
    QVERIFY(qAbs(overview.scale() * 8 - 32) < 0.01);
    QVERIFY(overview.viewport()->rect().intersects(overview.viewportRectOf(overview.viewCells())));
    overview.zoomToFit();
    QCOMPARE(overview.zoom(), 1.0);
    QCOMPARE(overview.scale(), fit);
}

VELMOR_TEST_MAIN(TestGraphicsWidgets)
#include "test_graphics_widgets.moc"
