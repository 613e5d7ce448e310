#include "document/course_document.h"
#include "document/layer_canvas.h"
#include "document/map_geometry.h"
#include "editor/course_overview.h"
#include "editor/tool_controller.h"
#include "graphics/theme_loader.h"
#include "tests/graphics/expected_course.h"
#include "tests/support/paint_watcher.h"
#include "tests/support/test_main.h"

#include <QApplication>
#include <QPainter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QUndoStack>
#include <QWheelEvent>

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

// An overview over a document, with the window's tools, shown offscreen.
struct Rig
{
    explicit Rig(QSize size = {520, 520})
    {
        tools.setPaletteSource([] { return Palettes {u"2A"_s, u"C3"_s}; });
        overview.setToolController(&tools);
        overview.resize(size);
        overview.show();
    }
    QPoint at(QPoint cell) const
    {
        return overview.viewportRectOf(QRect(cell, QSize(1, 1))).center();
    }

    CourseDocument document;
    ToolController tools {document};
    CourseOverview overview {document};
};

void sendWheel(QWidget *target, QPointF at, int delta, Qt::KeyboardModifiers modifiers)
{
    QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
        modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &wheel);
}

} // namespace

// The course overview as the second view of the document: it follows every change, edits with
// the same tools, zooms, pans and moves the map view's frame.
class TestCourseOverview : public QObject
{
    Q_OBJECT

private slots:
    void followsTheMapCellByCell();
    void editsWithTheToolsAtAnyZoom_data();
    void editsWithTheToolsAtAnyZoom();
    void draggingTheFrameAsksToScroll_data();
    void draggingTheFrameAsksToScroll();
    void zoomsAroundThePointerAndPans();
};

void TestCourseOverview::followsTheMapCellByCell()
{
    Rig rig({300, 300});
    CourseMap &map = rig.document.map();
    rig.overview.setGraphics(load(Theme::VanillaLake));
    QVERIFY2(QTest::qWaitForWindowExposed(&rig.overview), "the overview was not shown within 5 s");
    QCoreApplication::processEvents();
    QCOMPARE(rig.overview.courseImage(),
        test::expectedCourseImage(graphicsRom(), Theme::VanillaLake, map.texts()));

    test::PaintWatcher watcher;
    rig.overview.viewport()->installEventFilter(&watcher);
    const QImage before = rig.overview.courseImage();
    const QRect cell(70, 33, 1, 1);
    map.setCell(cellIndex(33, 70), u"C9"_s, Mark::Painted);
    const QImage expected =
        test::expectedCourseImage(graphicsRom(), Theme::VanillaLake, map.texts());
    const QRect pixels = graphics::CourseRenderer::pixelRect(cell);
    QCOMPARE(rig.overview.courseImage().copy(pixels), expected.copy(pixels));
    QVERIFY(before.copy(pixels) != expected.copy(pixels));
    // Everything else is as it was, and only the cell's few pixels on screen are repainted.
    QImage outside = rig.overview.courseImage();
    QPainter(&outside).fillRect(pixels, Qt::black);
    QImage beforeOutside = before;
    QPainter(&beforeOutside).fillRect(pixels, Qt::black);
    QCOMPARE(outside, beforeOutside);
    QTRY_VERIFY2_WITH_TIMEOUT(
        !watcher.rects.isEmpty(), "no repaint within 3 s of a cell's change", 3000);
    const QRect onScreen = rig.overview.viewportRectOf(cell).adjusted(-2, -2, 2, 2);
    for (const QRect &rect : std::as_const(watcher.rects))
        QVERIFY2(
            onScreen.contains(rect), qPrintable(u"%1 x %2"_s.arg(rect.width()).arg(rect.height())));

    // A new theme redraws everything.
    rig.overview.setGraphics(load(Theme::KoopaBeach));
    QCOMPARE(rig.overview.courseImage(),
        test::expectedCourseImage(graphicsRom(), Theme::KoopaBeach, map.texts()));
}

void TestCourseOverview::editsWithTheToolsAtAnyZoom_data()
{
    QTest::addColumn<double>("zoom");
    QTest::addColumn<QString>("tool");
    QTest::newRow("brush at 4x") << 4.0 << u"brush"_s;
    QTest::newRow("brush at half size") << 0.5 << u"brush"_s;
    QTest::newRow("line at 8x") << 8.0 << u"line"_s;
}

void TestCourseOverview::editsWithTheToolsAtAnyZoom()
{
    QFETCH(double, zoom);
    QFETCH(QString, tool);
    Rig rig;
    QVERIFY2(QTest::qWaitForWindowExposed(&rig.overview), "the overview was not shown within 5 s");
    rig.overview.setZoom(zoom);
    QCOMPARE(rig.overview.zoom(), zoom);
    rig.overview.setViewCells(QRect(40, 40, 32, 20));
    rig.tools.setTool(tool);
    // A drag along a row, cells apart at the coarsest zoom: the cells between are drawn too.
    const QPoint from(55, 50);
    const QPoint to(58, 50);
    QWidget *surface = rig.overview.viewport();
    QTest::mousePress(surface, Qt::LeftButton, {}, rig.at(from));
    QTest::mouseMove(surface, rig.at(to));
    QTest::mouseRelease(surface, Qt::LeftButton, {}, rig.at(to));
    const CourseMap &map = rig.document.map();
    for (int column = from.x(); column <= to.x(); ++column)
        QCOMPARE(map.cell(cellIndex(50, column)), (Cell {u"2A"_s, Mark::Painted}));
    QCOMPARE(map.text(cellIndex(50, to.x() + 1)), CourseMap::freshText());
    QUndoStack *steps = rig.document.undoStack();
    QCOMPARE(steps->count(), 1);
    steps->undo();
    QCOMPARE(map.texts(), CourseMap().texts());
    // The middle button pans here rather than erasing.
    QTest::mousePress(surface, Qt::MiddleButton, {}, rig.at(from));
    QTest::mouseRelease(surface, Qt::MiddleButton, {}, rig.at(to));
    QCOMPARE(steps->index(), 0);
}

void TestCourseOverview::draggingTheFrameAsksToScroll_data()
{
    QTest::addColumn<QPoint>("frameAt");
    QTest::addColumn<QPoint>("dragBy");
    QTest::addColumn<QPoint>("topLeft");
    // The map view shows 32 x 20 cells; the frame follows the drag, kept on the map.
    QTest::newRow("middle, right and down") << QPoint(48, 30) << QPoint(10, 3) << QPoint(58, 33);
    QTest::newRow("past the top-left") << QPoint(4, 2) << QPoint(-20, -9) << QPoint(0, 0);
    QTest::newRow("past the bottom-right") << QPoint(90, 100) << QPoint(30, 30) << QPoint(96, 108);
}

void TestCourseOverview::draggingTheFrameAsksToScroll()
{
    QFETCH(QPoint, frameAt);
    QFETCH(QPoint, dragBy);
    QFETCH(QPoint, topLeft);
    Rig rig;
    QVERIFY2(QTest::qWaitForWindowExposed(&rig.overview), "the overview was not shown within 5 s");
    rig.overview.setViewCells(QRect(frameAt, QSize(32, 20)));
    QSignalSpy scroll(&rig.overview, &CourseOverview::scrollRequested);
    const QPoint edge = rig.overview.viewportRectOf(rig.overview.viewCells()).topLeft();
    const double pitch = CoursePixelsPerTile * rig.overview.zoom();
    QWidget *surface = rig.overview.viewport();
    QTest::mousePress(surface, Qt::LeftButton, {}, edge);
    QTest::mouseMove(surface, edge + (QPointF(dragBy) * pitch).toPoint());
    QTest::mouseRelease(surface, Qt::LeftButton, {}, edge + (QPointF(dragBy) * pitch).toPoint());
    QVERIFY(!scroll.isEmpty());
    QCOMPARE(QPoint(scroll.constLast().at(0).toInt(), scroll.constLast().at(1).toInt()), topLeft);
    // The frame is grabbed, not drawn on.
    QCOMPARE(rig.document.undoStack()->count(), 0);
}

void TestCourseOverview::zoomsAroundThePointerAndPans()
{
    Rig rig({600, 600});
    QVERIFY2(QTest::qWaitForWindowExposed(&rig.overview), "the overview was not shown within 5 s");
    rig.overview.zoomToFit();
    QCOMPARE(rig.overview.zoom(), rig.overview.fitZoom());
    QCOMPARE(rig.overview.horizontalScrollBar()->maximum(), 0);

    // Ctrl+wheel: the course point under the pointer stays under it.
    QWidget *surface = rig.overview.viewport();
    const QPointF pointer(150, 420);
    const QPointF course = rig.overview.coursePixelAt(pointer);
    sendWheel(surface, pointer, 3 * 120, Qt::ControlModifier);
    QVERIFY(rig.overview.zoom() > rig.overview.fitZoom());
    QVERIFY((rig.overview.coursePixelAt(pointer) - course).manhattanLength() < 2);
    // A touchpad's small steps add up to a notch.
    const double zoomed = rig.overview.zoom();
    for (int k = 0; k < 4; ++k)
        sendWheel(surface, pointer, 30, Qt::ControlModifier);
    QVERIFY(rig.overview.zoom() > zoomed);

    // The plain wheel scrolls instead.
    const int scrolled = rig.overview.verticalScrollBar()->value();
    sendWheel(surface, pointer, -120, Qt::NoModifier);
    QVERIFY(rig.overview.verticalScrollBar()->value() > scrolled);

    // Bounds: half to eight times the game's size.
    for (int k = 0; k < 40; ++k)
        rig.overview.zoomIn();
    QCOMPARE(rig.overview.zoom(), CourseOverview::MaxZoom);
    QVERIFY(surface->rect().intersects(rig.overview.viewportRectOf(rig.overview.viewCells())));
    for (int k = 0; k < 40; ++k)
        rig.overview.zoomOut();
    QCOMPARE(rig.overview.zoom(), CourseOverview::MinZoom);

    // A middle-button drag moves the course with the pointer.
    rig.overview.setZoom(4.0);
    const QPoint start(300, 300);
    const QPointF under = rig.overview.coursePixelAt(start);
    QTest::mousePress(surface, Qt::MiddleButton, {}, start);
    QTest::mouseMove(surface, start + QPoint(-40, -25));
    QTest::mouseRelease(surface, Qt::MiddleButton, {}, start + QPoint(-40, -25));
    QVERIFY((rig.overview.coursePixelAt(start + QPoint(-40, -25)) - under).manhattanLength() < 1);
}

VELMOR_TEST_MAIN(TestCourseOverview)
#include "test_course_overview.moc"
