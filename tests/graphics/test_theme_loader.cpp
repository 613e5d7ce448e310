#include "graphics/palette.h"
#include "graphics/theme_loader.h"
#include "rom/rom_map.h"
#include "tests/support/synthetic_graphics.h"
#include "tests/support/test_main.h"

#include <QTest>

#include <map>
#include <set>

using namespace velmor;
using rom::Theme;
using test::BankForm;

Q_DECLARE_METATYPE(velmor::rom::Theme)

namespace {

rom::RomImage imageOf(const test::GameRom &built)
{
    return *rom::RomImage::open(built.bytes);
}

// Built once per form: the builder compresses every course and stream.
const test::GameRom &graphicsRom(bool headered, BankForm banks = BankForm::Whole)
{
    static std::map<std::pair<bool, BankForm>, test::GameRom> built;
    auto found = built.find({headered, banks});
    if (found == built.end()) {
        test::GameRomOptions options;
        options.copierHeader = headered;
        options.banks = banks;
        options.themeGraphics = true;
        found = built.emplace(std::pair(headered, banks), test::gameRom(options)).first;
    }
    return found->second;
}

std::shared_ptr<const graphics::ThemeGraphics> load(const test::GameRom &built, Theme theme)
{
    const graphics::ThemeLoad loaded = graphics::loadTheme(imageOf(built), theme);
    if (!loaded.ok())
        qWarning("%s", loaded.error.c_str());
    return loaded.graphics;
}

void writeBytes(test::GameRom &built, std::size_t gameOffset, const codec::Bytes &bytes)
{
    std::copy(bytes.begin(), bytes.end(),
        built.bytes.begin() + std::ptrdiff_t(built.fileOffset(gameOffset)));
}

std::size_t tilePointerAt(Theme theme)
{
    return rom::map::ThemeTilePointers + 3 * std::size_t(rom::themeIndex(theme));
}

std::size_t palettePointerAt(Theme theme)
{
    return rom::map::ThemePalettePointers + 3 * std::size_t(rom::themeIndex(theme));
}

} // namespace

// Theme graphics read out of synthetic ROMs: every pixel against what the builder wrote, the
// palette's conversion, the short and the run-on stream, and every kind of broken ROM.
class TestThemeLoader : public QObject
{
    Q_OBJECT

private slots:
    void knownPixels_data();
    void knownPixels();
    void everyTileOfEveryTheme_data();
    void everyTileOfEveryTheme();
    void commonTilesAreTheSameInEveryTheme();
    void colourConversion_data();
    void colourConversion();
    void paletteColours();
    void shortStreamLeavesTilesUndefined();
    void runOnStreamStillGivesItsTiles();
    void brokenRoms_data();
    void brokenRoms();
    void randomTablesNeverCrash();
};

void TestThemeLoader::knownPixels_data()
{
    QTest::addColumn<Theme>("theme");
    QTest::addColumn<int>("tile");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<int>("index");
    // Worked out by hand from the builder's patterns: row byte 0x31 OR'ed into nibbles 1 and 3
    // (0x33, where adding would give 0x34); nibble 0 stays the backdrop.
    QTest::newRow("MC 00 low nibble, first row") << Theme::MarioCircuit << 0x00 << 0 << 0 << 0x31;
    QTest::newRow("MC 00 high nibble, first row") << Theme::MarioCircuit << 0x00 << 1 << 0 << 0x33;
    QTest::newRow("MC 00 last pixel") << Theme::MarioCircuit << 0x00 << 7 << 7 << 0x3F;
    QTest::newRow("MC 00 low nibble 0 is backdrop") << Theme::MarioCircuit << 0x00 << 2 << 1 << 0;
    QTest::newRow("MC 00 high nibble 0 is backdrop") << Theme::MarioCircuit << 0x00 << 3 << 2 << 0;
    QTest::newRow("MC 21 inverted group") << Theme::MarioCircuit << 0x21 << 0 << 0 << 0xAF;
    QTest::newRow("MC 21 high nibble") << Theme::MarioCircuit << 0x21 << 1 << 0 << 0xA3;
    QTest::newRow("common C0 in MC") << Theme::MarioCircuit << 0xC0 << 0 << 0 << 0x8A;
    QTest::newRow("common C0 in GV") << Theme::GhostValley << 0xC0 << 1 << 0 << 0x83;
    QTest::newRow("GV BF last row, left") << Theme::GhostValley << 0xBF << 0 << 7 << 0x9A;
    QTest::newRow("GV BF first row, right") << Theme::GhostValley << 0xBF << 7 << 0 << 0x9A;
    QTest::newRow("RR 0B, last defined") << Theme::RainbowRoad << 0x0B << 6 << 3 << 0x29;
}

void TestThemeLoader::knownPixels()
{
    QFETCH(Theme, theme);
    QFETCH(int, tile);
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(int, index);
    for (const bool headered : {true, false}) {
        const test::GameRom &built = graphicsRom(headered, BankForm::UpperWherePossible);
        const auto graphics = load(built, theme);
        QVERIFY(graphics);
        QVERIFY(graphics->isDefined(tile));
        QCOMPARE(int(graphics->tiles[std::size_t(tile)].index(x, y)), index);
        QCOMPARE(test::expectedIndex(built, theme, tile, x, y), std::optional<int>(index));
    }
}

void TestThemeLoader::everyTileOfEveryTheme_data()
{
    QTest::addColumn<bool>("headered");
    QTest::addColumn<BankForm>("banks");
    QTest::newRow("headered, $C0-$C7") << true << BankForm::Whole;
    QTest::newRow("headered, $80-$87 where possible") << true << BankForm::UpperWherePossible;
    QTest::newRow("headerless, $C0-$C7") << false << BankForm::Whole;
    QTest::newRow("headerless, $80-$87 where possible") << false << BankForm::UpperWherePossible;
}

void TestThemeLoader::everyTileOfEveryTheme()
{
    QFETCH(bool, headered);
    QFETCH(BankForm, banks);
    const test::GameRom &built = graphicsRom(headered, banks);
    for (int k = 0; k < rom::ThemeCount; ++k) {
        const auto theme = Theme(2 * k);
        const auto graphics = load(built, theme);
        QVERIFY2(graphics, rom::themeName(theme).data());
        QCOMPARE(graphics->theme, theme);
        for (int tile = 0; tile < graphics::TileCount; ++tile) {
            const bool defined = test::expectedIndex(built, theme, tile, 0, 0).has_value();
            QCOMPARE(graphics->isDefined(tile), defined);
            for (int y = 0; defined && y < graphics::TileSide; ++y) {
                for (int x = 0; x < graphics::TileSide; ++x) {
                    if (graphics->tiles[std::size_t(tile)].index(x, y)
                        != *test::expectedIndex(built, theme, tile, x, y))
                        QFAIL(qPrintable(QStringLiteral("%1 tile %2 pixel (%3, %4)")
                                             .arg(QLatin1String(rom::themeName(theme).data()))
                                             .arg(tile, 2, 16)
                                             .arg(x)
                                             .arg(y)));
                }
            }
        }
    }
}

void TestThemeLoader::commonTilesAreTheSameInEveryTheme()
{
    const test::GameRom &built = graphicsRom(true);
    const auto first = load(built, Theme::GhostValley);
    QVERIFY(first);
    for (int k = 1; k < rom::ThemeCount; ++k) {
        const auto other = load(built, Theme(2 * k));
        QVERIFY(other);
        for (int tile = graphics::ThemeTileCount; tile < graphics::TileCount; ++tile) {
            QVERIFY(other->isDefined(tile));
            QVERIFY(
                other->tiles[std::size_t(tile)].pixels == first->tiles[std::size_t(tile)].pixels);
        }
        // While the theme's own tiles differ.
        QVERIFY(other->tiles[0].pixels != first->tiles[0].pixels);
    }
}

void TestThemeLoader::colourConversion_data()
{
    QTest::addColumn<int>("low");
    QTest::addColumn<int>("high");
    QTest::addColumn<QList<int>>("rgb");
    QTest::newRow("black") << 0x00 << 0x00 << QList<int> {0, 0, 0};
    QTest::newRow("white: 31 gives 255") << 0xFF << 0x7F << QList<int> {255, 255, 255};
    QTest::newRow("white with bit 15") << 0xFF << 0xFF << QList<int> {255, 255, 255};
    QTest::newRow("bit 15 alone is black") << 0x00 << 0x80 << QList<int> {0, 0, 0};
    QTest::newRow("red 31") << 0x1F << 0x00 << QList<int> {255, 0, 0};
    QTest::newRow("green 31 across both bytes") << 0xE0 << 0x03 << QList<int> {0, 255, 0};
    QTest::newRow("blue 31") << 0x00 << 0x7C << QList<int> {0, 0, 255};
    QTest::newRow("1, 16, 30") << 0x01 << 0x7A << QList<int> {8, 132, 247};
}

void TestThemeLoader::colourConversion()
{
    QFETCH(int, low);
    QFETCH(int, high);
    QFETCH(QList<int>, rgb);
    const graphics::Colour colour =
        graphics::palette::colourOf(std::uint8_t(low), std::uint8_t(high));
    QCOMPARE((QList<int> {colour.red, colour.green, colour.blue}), rgb);
}

void TestThemeLoader::paletteColours()
{
    const test::GameRom &built = graphicsRom(false, BankForm::UpperWherePossible);
    for (int k = 0; k < rom::ThemeCount; ++k) {
        const auto theme = Theme(2 * k);
        const auto graphics = load(built, theme);
        QVERIFY(graphics);
        std::set<std::uint32_t> distinct;
        int bit15 = 0;
        for (int i = 0; i < graphics::ColourCount; ++i) {
            const graphics::Colour c = graphics->palette[std::size_t(i)];
            const std::uint32_t rgb = 0xFF000000u | (c.red << 16) | (c.green << 8) | c.blue;
            QCOMPARE(rgb, test::expectedColour(built, theme, i));
            distinct.insert(rgb);
            bit15 += built.paletteData[std::size_t(k)][std::size_t(2 * i + 1)] >> 7;
        }
        // The fixture is what it claims: all colours differ, about half carry bit 15.
        QCOMPARE(distinct.size(), std::size_t(graphics::ColourCount));
        QVERIFY2(bit15 > 96 && bit15 < 160, qPrintable(QString::number(bit15)));
    }
}

void TestThemeLoader::shortStreamLeavesTilesUndefined()
{
    const auto graphics = load(graphicsRom(true), test::ShortTheme);
    QVERIFY(graphics);
    std::vector<int> expected;
    for (int tile = test::ShortThemeTiles; tile < graphics::ThemeTileCount; ++tile)
        expected.push_back(tile);
    QCOMPARE(graphics->undefinedTiles(), expected);
    QVERIFY(graphics->isDefined(test::ShortThemeTiles - 1));
    QVERIFY(graphics->isDefined(0xC0));
}

void TestThemeLoader::runOnStreamStillGivesItsTiles()
{
    const test::GameRom &built = graphicsRom(true);
    // The stream has no end mark where the game stops reading: a strict decode refuses it.
    const codec::ByteView game = imageOf(built).game();
    const std::size_t at = test::themeTilePlace(test::RunOnTheme).offset;
    QVERIFY(!codec::decode(game.subspan(at), 0x1900).ok);
    const auto graphics = load(built, test::RunOnTheme);
    QVERIFY(graphics);
    QVERIFY(graphics->undefinedTiles().empty());
    QCOMPARE(int(graphics->tiles[0xBF].index(7, 7)),
        *test::expectedIndex(built, test::RunOnTheme, 0xBF, 7, 7));
}

void TestThemeLoader::brokenRoms_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("headered");
    QTest::addColumn<QString>("error");
    QTest::newRow("tile pointer past the end")
        << "tile pointer C8" << true
        << "the Mario Circuit tile pointer $C8:0000 at 0x1eda6 points past the end of this ROM (to "
           "0x80200)";
    QTest::newRow("palette pointer past the end")
        << "palette pointer C8" << false
        << "the Mario Circuit palette pointer $C8:0000 at 0x1ebbe points past the end of this ROM "
           "(to 0x80000)";
    QTest::newRow("tile pointer at work RAM")
        << "tile pointer 7E" << false
        << "the Mario Circuit tile pointer $7E:2000 at 0x1eba6 points at no ROM address";
    QTest::newRow("tile stream does not decode")
        << "tile stream" << true
        << "the Mario Circuit tile stream at 0x483c9 (pointer $C4:81C9 at 0x1eda6) does not "
           "decode: absolute copy from 0x5, which is not yet written (output has 1 bytes) at "
           "0x483cb";
    QTest::newRow("tile stream cut by the end of the file")
        << "tile stream at the end" << false
        << "the Ghost Valley tile stream at 0x7ffff (pointer $C7:FFFF at 0x1eba3) does not decode: "
           "direct copy of 6 bytes cut short at 0x7ffff";
    QTest::newRow("palette does not decode") << "palette stream" << false
                                             << "the Mario Circuit palette stream at 0x4117f "
                                                "(pointer $C4:117F at 0x1ebbe) does not decode";
    QTest::newRow("palette too short")
        << "short palette" << true
        << "the Mario Circuit palette decodes to 2 bytes, not the 512 of 256 colours";
    QTest::newRow("common tiles do not decode")
        << "common stream" << true << "the common tile stream at 0x40200 does not decode";
    QTest::newRow("tables outside a small ROM")
        << "small" << false << "the Mario Circuit tile pointer at 0x1eba6 lies outside this ROM";
}

void TestThemeLoader::brokenRoms()
{
    QFETCH(QString, change);
    QFETCH(bool, headered);
    QFETCH(QString, error);
    test::GameRom built = graphicsRom(headered);
    const Theme theme = Theme::MarioCircuit;
    const codec::Bytes badCopy = test::fromHex("00aa800500ff"); // copies from an unwritten byte
    if (change == QStringLiteral("tile pointer C8"))
        writeBytes(built, tilePointerAt(theme), test::fromHex("0000c8"));
    else if (change == QStringLiteral("palette pointer C8"))
        writeBytes(built, palettePointerAt(theme), test::fromHex("0000c8"));
    else if (change == QStringLiteral("tile pointer 7E"))
        writeBytes(built, tilePointerAt(theme), test::fromHex("00207e"));
    else if (change == QStringLiteral("tile stream"))
        writeBytes(built, test::themeTilePlace(theme).offset, badCopy);
    else if (change == QStringLiteral("tile stream at the end")) {
        writeBytes(built, tilePointerAt(Theme::GhostValley), test::fromHex("ffffc7"));
        writeBytes(built, 0x7FFFF, test::fromHex("05"));
    } else if (change == QStringLiteral("palette stream"))
        writeBytes(built, test::palettePlace(theme).offset, badCopy);
    else if (change == QStringLiteral("short palette"))
        writeBytes(built, test::palettePlace(theme).offset, test::fromHex("01aabbff"));
    else if (change == QStringLiteral("common stream"))
        writeBytes(built, test::commonTilePlace().offset, badCopy);
    else if (change == QStringLiteral("small"))
        built.bytes.resize(0x10000);
    const Theme loaded =
        change == QStringLiteral("tile stream at the end") ? Theme::GhostValley : theme;
    const graphics::ThemeLoad load = graphics::loadTheme(imageOf(built), loaded);
    QVERIFY(!load.ok());
    const QString message = QString::fromStdString(load.error);
    QVERIFY2(message.startsWith(error), qPrintable(message));
    QVERIFY(!message.contains(QLatin1Char('\n')));
}

void TestThemeLoader::randomTablesNeverCrash()
{
    // Under the sanitizers any read out of bounds fails this test; every load ends with graphics
    // or a one-line error.
    std::mt19937 rng(7);
    test::GameRom built = graphicsRom(true);
    for (int round = 0; round < 200; ++round) {
        const codec::Bytes tables = test::randomBytes(rng, 0x30);
        writeBytes(built, rom::map::ThemeTilePointers, tables);
        const graphics::ThemeLoad load =
            graphics::loadTheme(imageOf(built), Theme(2 * (round % 8)));
        QVERIFY(load.ok() != !load.error.empty());
        QVERIFY(load.error.find('\n') == std::string::npos);
    }
}

VELMOR_GUILESS_TEST_MAIN(TestThemeLoader)
#include "test_theme_loader.moc"
