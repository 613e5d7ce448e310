#include "graphics/course_image_export.h"
#include "graphics/course_renderer.h"
#include "graphics/theme_cache.h"
#include "graphics/theme_loader.h"
#include "tests/graphics/expected_course.h"
#include "tests/support/test_main.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace velmor;
using rom::Theme;

namespace {

const test::GameRom &graphicsRom(bool headered)
{
    static const test::GameRom built[2] = {
        test::gameRom({.seed = 3, .copierHeader = false, .themeGraphics = true}),
        test::gameRom({.seed = 3, .copierHeader = true, .themeGraphics = true}),
    };
    return built[headered ? 1 : 0];
}

QByteArray romBytes(bool headered)
{
    return test::toQByteArray(graphicsRom(headered).bytes);
}

std::shared_ptr<const graphics::ThemeGraphics> load(Theme theme, bool headered = true)
{
    return graphics::loadTheme(*rom::RomImage::open(graphicsRom(headered).bytes), theme).graphics;
}

// A course of the builder's with a few cells that name no tile, or a tile Rainbow Road lacks.
QStringList courseTexts()
{
    QStringList texts = tileTexts(test::courseLikeCells(5));
    texts[0] = QString();
    texts[1] = QStringLiteral("1");
    texts[2] = QStringLiteral("zz");
    texts[3] = QStringLiteral("0a"); // lower case still names a tile
    texts[130] = QStringLiteral("0C");
    texts[131] = QStringLiteral("FF");
    return texts;
}

} // namespace

// Tile pictures, the whole course as the game draws it and its updates, the PNG export and the
// theme cache, all against pictures worked out from the synthetic ROM's bytes.
class TestCourseRenderer : public QObject
{
    Q_OBJECT

private slots:
    void tilePicturesAtTheMapsScale();
    void placeholderStandsOut();
    void wholeCourse_data();
    void wholeCourse();
    void updateRedrawsOnlyTheGivenCells();
    void exportPng_data();
    void exportPng();
    void exportRefusals_data();
    void exportRefusals();
    void cacheKeepsOneTheme();
    void cacheByListedOffset();
};

void TestCourseRenderer::tilePicturesAtTheMapsScale()
{
    const auto graphics = load(Theme::RainbowRoad);
    QVERIFY(graphics);
    const graphics::TileImages tiles(*graphics);
    QCOMPARE(tiles.side(), 16);
    for (const int tile : {0x00, 0x0B, 0xC0, 0xFF}) {
        QVERIFY(tiles.isDefined(tile));
        const QImage &image = tiles.image(tile);
        QCOMPARE(image.size(), QSize(16, 16));
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x)
                QCOMPARE(image.pixel(x, y),
                    *test::expectedPixel(
                        graphicsRom(true), Theme::RainbowRoad, tile, x / 2, y / 2));
        }
    }
    QVERIFY(!tiles.isDefined(0x0C));
    QCOMPARE(tiles.image(0x0C), tiles.placeholder());
    QCOMPARE(tiles.images().at(0x0C), tiles.placeholder());
    QCOMPARE(tiles.image(256), tiles.placeholder());
    QVERIFY(!graphics::TileImages().hasTheme());
}

void TestCourseRenderer::placeholderStandsOut()
{
    const QImage placeholder = graphics::TileImages::makePlaceholder(16);
    QCOMPARE(placeholder.size(), QSize(16, 16));
    // A checkerboard of two colours, neither of them one the theme's tiles use.
    QVERIFY(placeholder.pixel(0, 0) != placeholder.pixel(8, 0));
    QCOMPARE(placeholder.pixel(0, 0), placeholder.pixel(8, 8));
    const auto graphics = load(Theme::MarioCircuit);
    for (const graphics::Colour c : graphics->palette)
        QVERIFY(qRgb(c.red, c.green, c.blue) != placeholder.pixel(0, 0));
}

void TestCourseRenderer::wholeCourse_data()
{
    QTest::addColumn<Theme>("theme");
    QTest::addColumn<bool>("headered");
    QTest::newRow("Mario Circuit, headered") << Theme::MarioCircuit << true;
    QTest::newRow("Koopa Beach, headerless") << Theme::KoopaBeach << false;
    QTest::newRow("Rainbow Road: undefined tiles") << Theme::RainbowRoad << true;
}

void TestCourseRenderer::wholeCourse()
{
    QFETCH(Theme, theme);
    QFETCH(bool, headered);
    graphics::CourseRenderer renderer;
    renderer.setGraphics(load(theme, headered));
    const QStringList texts = courseTexts();
    renderer.render(texts);
    QCOMPARE(renderer.image().size(), QSize(1024, 1024));
    const QString difference = test::firstDifference(
        renderer.image(), test::expectedCourseImage(graphicsRom(headered), theme, texts));
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

void TestCourseRenderer::updateRedrawsOnlyTheGivenCells()
{
    graphics::CourseRenderer renderer;
    renderer.setGraphics(load(Theme::DonutPlains));
    QStringList texts = courseTexts();
    renderer.render(texts);
    const QImage before = renderer.image();

    const QRect changed(10, 20, 3, 2);
    for (int row = changed.top(); row <= changed.bottom(); ++row) {
        for (int column = changed.left(); column <= changed.right(); ++column)
            texts[128 * row + column] = QStringLiteral("C7");
    }
    texts[128 * 50 + 50] = QStringLiteral("C7"); // outside the rectangle: must stay as drawn
    renderer.update(texts, changed);

    const QImage after = renderer.image();
    const QImage expected = test::expectedCourseImage(graphicsRom(true), Theme::DonutPlains, texts);
    for (int y = 0; y < 1024; ++y) {
        for (int x = 0; x < 1024; ++x) {
            const bool inside = graphics::CourseRenderer::pixelRect(changed).contains(x, y);
            const QRgb want = inside ? expected.pixel(x, y) : before.pixel(x, y);
            if (after.pixel(x, y) != want)
                QFAIL(qPrintable(QStringLiteral("pixel (%1, %2)").arg(x).arg(y)));
        }
    }
    // The cell left out would look different had it been redrawn.
    const QRect leftOut = graphics::CourseRenderer::pixelRect(QRect(50, 50, 1, 1));
    QVERIFY(before.copy(leftOut) != expected.copy(leftOut));
    // A rectangle reaching past the map is clipped, not an error.
    renderer.update(texts, QRect(126, 126, 10, 10));
}

void TestCourseRenderer::exportPng_data()
{
    QTest::addColumn<int>("scale");
    QTest::newRow("1x") << 1;
    QTest::newRow("3x") << 3;
}

void TestCourseRenderer::exportPng()
{
    QFETCH(int, scale);
    graphics::CourseRenderer renderer;
    renderer.setGraphics(load(Theme::ChocoIsland));
    renderer.render(courseTexts());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("course.png"));
    QVERIFY(QFile(path).open(QIODevice::WriteOnly)); // an old file is replaced
    const graphics::ImageExport result = graphics::exportCourseImage(renderer.image(), path, scale);
    QVERIFY2(result.ok, qPrintable(result.error));
    QImage back(path, "PNG");
    QCOMPARE(back.size(), QSize(1024, 1024) * scale);
    const QImage &source = renderer.image();
    // Every pixel a sharp block: checked along a diagonal band and at the tile edges.
    for (int y = 0; y < back.height(); y += 7) {
        for (int x = 0; x < back.width(); x += 5)
            QCOMPARE(back.pixel(x, y), source.pixel(x / scale, y / scale));
    }
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList {QStringLiteral("course.png")});
}

void TestCourseRenderer::exportRefusals_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("scale");
    QTest::addColumn<QString>("error");
    QTest::newRow("missing folder") << "no such folder/course.png" << 1 << "cannot write the image";
    QTest::newRow("a folder") << "." << 1 << "it is a folder";
    QTest::newRow("scale 0") << "course.png" << 0
                             << "the scale 0 is not a whole number from 1 to 8";
    QTest::newRow("scale 9") << "course.png" << 9 << "the scale 9";
}

void TestCourseRenderer::exportRefusals()
{
    QFETCH(QString, name);
    QFETCH(int, scale);
    QFETCH(QString, error);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    graphics::CourseRenderer renderer;
    const graphics::ImageExport result = graphics::exportCourseImage(renderer.image(), path, scale);
    QVERIFY(!result.ok);
    QVERIFY2(result.error.contains(error), qPrintable(result.error));
    QVERIFY2(result.error.contains(QDir::toNativeSeparators(path)), qPrintable(result.error));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
}

void TestCourseRenderer::cacheKeepsOneTheme()
{
    graphics::ThemeCache cache;
    const QByteArray rom = romBytes(true);
    const graphics::LoadedTheme mc1 = cache.forCourse(rom, 0x07);
    QVERIFY2(mc1.ok(), qPrintable(mc1.error));
    QCOMPARE(mc1.graphics->theme, Theme::MarioCircuit);
    QCOMPARE(mc1.courseId, std::optional<int>(0x07));
    // Mario Circuit 2 shares the theme: nothing is loaded again.
    const graphics::LoadedTheme mc2 = cache.forCourse(rom, 0x0F);
    QCOMPARE(mc2.graphics.get(), mc1.graphics.get());
    QCOMPARE(mc2.courseId, std::optional<int>(0x0F));
    const graphics::LoadedTheme gv = cache.forCourse(rom, 0x10);
    QCOMPARE(gv.graphics->theme, Theme::GhostValley);

    // Another ROM with the same theme is loaded afresh.
    QByteArray changed = rom;
    changed[0x200 + 0x4117F + 1] = char(0x00);
    const graphics::LoadedTheme other = cache.forCourse(changed, 0x10);
    QVERIFY(other.ok());
    QVERIFY(other.graphics.get() != gv.graphics.get());

    // A broken ROM gives the reason; its theme code out of range, a warning and the game's theme.
    QByteArray broken = rom;
    broken[0x200 + 0x1EC2F + 0x07] = char(0x11);
    const graphics::LoadedTheme fallback = cache.forCourse(broken, 0x07);
    QVERIFY(fallback.ok());
    QCOMPARE(fallback.graphics->theme, Theme::MarioCircuit);
    QVERIFY2(fallback.warning.contains(QStringLiteral("0x11")), qPrintable(fallback.warning));
    QVERIFY(cache.forCourse(rom, 0x18).error.contains(QStringLiteral("no course 18")));
    QVERIFY(cache.forCourse(rom.left(1000), 0x07).error.contains(QStringLiteral("no SNES ROM")));
}

void TestCourseRenderer::cacheByListedOffset()
{
    graphics::ThemeCache cache;
    for (const bool headered : {true, false}) {
        const graphics::LoadedTheme koopa = cache.forListedOffset(romBytes(headered), 0x6E3AE);
        QVERIFY2(koopa.ok(), qPrintable(koopa.error));
        QCOMPARE(koopa.courseId, std::optional<int>(0x0D));
        QCOMPARE(koopa.graphics->theme, Theme::KoopaBeach);
        QCOMPARE(koopa.tiles.image(0x00).pixel(0, 0),
            *test::expectedPixel(graphicsRom(headered), Theme::KoopaBeach, 0, 0, 0));
    }
    const graphics::LoadedTheme none = cache.forListedOffset(romBytes(true), 0x6E3AF);
    QCOMPARE(none.error, QStringLiteral("no course of this ROM starts at 0x6e3af"));
}

VELMOR_GUILESS_TEST_MAIN(TestCourseRenderer)
#include "test_course_renderer.moc"
