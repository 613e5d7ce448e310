#include "graphics/theme_loader.h"
#include "graphics/tile_set_view.h"
#include "tests/support/synthetic_graphics.h"
#include "tests/support/test_main.h"

#include <QHelpEvent>
#include <QPainter>
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

} // namespace

// The tile set, shown offscreen and driven with the mouse.
class TestGraphicsWidgets : public QObject
{
    Q_OBJECT

private slots:
    void tileSetClicksPickForEachPalette_data();
    void tileSetClicksPickForEachPalette();
    void tileSetOutlinesBothPicksDifferently();
    void tileSetShowsPlaceholdersAndNamesTiles();
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

VELMOR_TEST_MAIN(TestGraphicsWidgets)
#include "test_graphics_widgets.moc"
