#include "document/course_document.h"
#include "document/map_geometry.h"
#include "editor/map_view.h"
#include "editor/tool_controller.h"
#include "tests/support/cell_centre.h"
#include "tests/support/paint_watcher.h"
#include "tests/support/test_main.h"

#include <QFrame>
#include <QPaintEvent>
#include <QTest>

using namespace velmor;
using namespace Qt::StringLiterals;

namespace {

constexpr int Pitch = 16;

// Tile t is one flat colour with a black pixel in its bottom-right corner, so a picture drawn
// in the wrong place or the wrong way round shows.
QList<QImage> tilePictures()
{
    QList<QImage> tiles;
    for (int t = 0; t < 256; ++t) {
        QImage tile(Pitch, Pitch, QImage::Format_RGB32);
        tile.fill(qRgb(t, 255 - t, (t * 37) & 0xFF));
        tile.setPixel(Pitch - 1, Pitch - 1, qRgb(0, 0, 0));
        tiles.append(tile);
    }
    return tiles;
}

QImage placeholderPicture()
{
    QImage placeholder(Pitch, Pitch, QImage::Format_RGB32);
    placeholder.fill(qRgb(255, 0, 255));
    return placeholder;
}

using test::PaintWatcher;

} // namespace

// The map view in its Tiles mode, shown offscreen: the same mouse painting as the numbers mode,
// tiles where the cells' texts name them, marks over painted and erased cells, the grid, and only
// changed cells repainted. The numbers mode stays as it was.
class TestMapViewTiles : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void mousePaintsTheModel();
    void cellsShowTheirTiles();
    void marksFramePaintedAndErasedCells();
    void gridCanBeHidden();
    void onlyAChangedCellIsRepainted();
    void numbersModeIsUntouched();

private:
    QImage picture(QRect area = QRect(0, 0, 20 * Pitch, 12 * Pitch));
    void press(QPoint at, Qt::MouseButton button)
    {
        QTest::mousePress(mViewport->windowHandle(), button, {}, mView->mapTo(mViewport.get(), at));
    }
    void moveTo(QPoint at)
    {
        QTest::mouseMove(mViewport->windowHandle(), mView->mapTo(mViewport.get(), at));
    }
    void release(QPoint at, Qt::MouseButton button)
    {
        QTest::mouseRelease(
            mViewport->windowHandle(), button, {}, mView->mapTo(mViewport.get(), at));
    }

    std::unique_ptr<CourseDocument> mDocument;
    std::unique_ptr<ToolController> mTools;
    CourseMap *mMap = nullptr;
    std::unique_ptr<QFrame> mViewport;
    MapView *mView = nullptr;
};

void TestMapViewTiles::init()
{
    mDocument = std::make_unique<CourseDocument>();
    mMap = &mDocument->map();
    mTools = std::make_unique<ToolController>(*mDocument);
    mTools->setPaletteSource([] { return Palettes {u"2A"_s, u"C3"_s}; });
    mViewport = std::make_unique<QFrame>();
    mViewport->resize(twipsToPixels(7935), twipsToPixels(4815));
    mView = new MapView(*mDocument, mViewport.get());
    mView->setGeometry(0, 0, twipsToPixels(MapContainerTwips), twipsToPixels(MapContainerTwips));
    mView->setToolController(mTools.get());
    mView->setTileImages(tilePictures(), placeholderPicture());
    mView->setViewMode(MapView::ViewMode::Tiles);
    mViewport->show();
    QVERIFY2(QTest::qWaitForWindowExposed(mViewport.get()),
        "the map's viewport was not shown within 5 s");
}

void TestMapViewTiles::cleanup()
{
    mViewport.reset();
    mTools.reset();
    mDocument.reset();
}

QImage TestMapViewTiles::picture(QRect area)
{
    QImage image(area.size(), QImage::Format_RGB32);
    mView->render(&image, QPoint(), QRegion(area));
    return image;
}

void TestMapViewTiles::mousePaintsTheModel()
{
    press(test::cellCentre(2, 1), Qt::LeftButton);
    moveTo(test::cellCentre(2, 2));
    moveTo(test::cellCentre(2, 9)); // a jump: the cells between are painted too
    release(test::cellCentre(2, 9), Qt::LeftButton);
    for (int column = 1; column <= 9; ++column)
        QCOMPARE(mMap->cell(cellIndex(2, column)), (Cell {u"2A"_s, Mark::Painted}));
    QCOMPARE(mMap->cell(cellIndex(2, 10)).mark, Mark::Untouched);

    press(test::cellCentre(5, 5), Qt::RightButton);
    moveTo(test::cellCentre(7, 5));
    release(test::cellCentre(7, 5), Qt::RightButton);
    for (int row = 5; row <= 7; ++row)
        QCOMPARE(mMap->cell(cellIndex(row, 5)), (Cell {u"C3"_s, Mark::Painted}));

    press(test::cellCentre(2, 3), Qt::MiddleButton);
    moveTo(test::cellCentre(2, 4));
    release(test::cellCentre(2, 4), Qt::MiddleButton);
    QCOMPARE(mMap->cell(cellIndex(2, 3)), (Cell {u"01"_s, Mark::Erased}));
    QCOMPARE(mMap->cell(cellIndex(2, 4)), (Cell {u"01"_s, Mark::Erased}));
}

void TestMapViewTiles::cellsShowTheirTiles()
{
    mView->setGridVisible(false);
    mMap->setCell(cellIndex(1, 2), u"C7"_s, Mark::Untouched);
    mMap->setCell(cellIndex(3, 4), u"0a"_s, Mark::Untouched); // lower case names tile 0x0A
    mMap->setCell(cellIndex(4, 4), u"zz"_s, Mark::Untouched);
    mMap->setCell(cellIndex(5, 4), u"1"_s, Mark::Untouched);
    const QImage image = picture();
    const QList<QImage> tiles = tilePictures();
    const auto shows = [&image](int row, int column, const QImage &tile) {
        return image.copy(column * Pitch, row * Pitch, Pitch, Pitch)
            == tile.convertToFormat(image.format());
    };
    QVERIFY(shows(1, 2, tiles.at(0xC7)));
    QVERIFY(shows(0, 0, tiles.at(0x01))); // a fresh map is tile 01 everywhere
    QVERIFY(shows(3, 4, tiles.at(0x0A)));
    QVERIFY(shows(4, 4, placeholderPicture()));
    QVERIFY(shows(5, 4, placeholderPicture()));
}

void TestMapViewTiles::marksFramePaintedAndErasedCells()
{
    mView->setGridVisible(false);
    mMap->setCell(cellIndex(1, 1), u"40"_s, Mark::Painted);
    mMap->setCell(cellIndex(1, 3), u"40"_s, Mark::Erased);
    mMap->setCell(cellIndex(1, 5), u"40"_s, Mark::Untouched);
    const QImage image = picture();
    const QRgb tile = tilePictures().at(0x40).pixel(5, 5);
    const QRgb erasedGrey = mView->palette().color(QPalette::Midlight).rgb();
    // Outer ring: white for painted, the erased grey for erased, nothing for untouched.
    QCOMPARE(image.pixel(1 * Pitch, 1 * Pitch + 7), qRgb(255, 255, 255));
    QCOMPARE(image.pixel(3 * Pitch + 7, 1 * Pitch), erasedGrey);
    QCOMPARE(image.pixel(5 * Pitch, 1 * Pitch + 7), tile);
    // A dark line inside the frame, and the tile itself in the middle.
    for (const int column : {1, 3}) {
        const QColor inside = image.pixelColor(column * Pitch + 1, Pitch + 7);
        QVERIFY2(inside.lightness() < QColor(tile).lightness(), qPrintable(inside.name()));
        QCOMPARE(image.pixel(column * Pitch + 7, Pitch + 7), tile);
    }
}

void TestMapViewTiles::gridCanBeHidden()
{
    const QRgb tile = tilePictures().at(0x01).pixel(5, 5);
    QVERIFY(mView->isGridVisible());
    QVERIFY(picture().pixel(2 * Pitch, 2 * Pitch + 5) != tile);
    // The map's last column is closed by a line on its far side.
    const QRgb background = mView->palette().color(QPalette::Button).rgb();
    const QRect farSide(MapSide * Pitch - 8, 0, 16, 16);
    QVERIFY(picture(farSide).pixel(8, 5) != background);
    mView->setGridVisible(false);
    QCOMPARE(picture().pixel(2 * Pitch, 2 * Pitch + 5), tile);
    QCOMPARE(picture(farSide).pixel(8, 5), background);
}

void TestMapViewTiles::onlyAChangedCellIsRepainted()
{
    PaintWatcher watcher;
    mView->installEventFilter(&watcher);
    // Whatever the first showing left to paint is painted first.
    QCoreApplication::processEvents();
    watcher.rects.clear();
    mMap->setCell(cellIndex(6, 9), u"88"_s, Mark::Painted);
    QTRY_VERIFY2_WITH_TIMEOUT(
        !watcher.rects.isEmpty(), "no repaint within 3 s of a cell's change", 3000);
    for (const QRect &rect : std::as_const(watcher.rects))
        QVERIFY2(MapView::cellPixelRect(cellIndex(6, 9)).contains(rect),
            qPrintable(QStringLiteral("%1,%2 %3x%4")
                           .arg(rect.x())
                           .arg(rect.y())
                           .arg(rect.width())
                           .arg(rect.height())));
}

void TestMapViewTiles::numbersModeIsUntouched()
{
    mView->setViewMode(MapView::ViewMode::Numbers);
    mMap->setCell(cellIndex(0, 1), u"7F"_s, Mark::Painted);
    mMap->setCell(cellIndex(0, 2), u"80"_s, Mark::Erased);
    const QImage numbers = picture();
    mView->setViewMode(MapView::ViewMode::Tiles);
    const QImage tiles = picture();
    mView->setViewMode(MapView::ViewMode::Numbers);
    QVERIFY(tiles != numbers);
    QCOMPARE(picture(), numbers);

    // A view that was never given tiles draws its numbers the same way.
    CourseDocument document;
    CourseMap &map = document.map();
    MapView plain(document);
    plain.setGeometry(mView->geometry());
    map.setCell(cellIndex(0, 1), u"7F"_s, Mark::Painted);
    map.setCell(cellIndex(0, 2), u"80"_s, Mark::Erased);
    QImage image(numbers.size(), QImage::Format_RGB32);
    plain.render(&image, QPoint(), QRegion(QRect(QPoint(), numbers.size())));
    QCOMPARE(image, numbers);
}

VELMOR_TEST_MAIN(TestMapViewTiles)
#include "test_map_view_tiles.moc"
