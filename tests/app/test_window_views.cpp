#include "app/drawing_tools_ui.h"
#include "app/race_tools_ui.h"
#include "app/layer_views.h"
#include "app/race_order_panel.h"
#include "app/status_readout.h"
#include "app/splash.h"
#include "app/theme_views.h"
#include "app/window_menus.h"
#include "document/course_document.h"
#include "document/map_history.h"
#include "document/object_areas_value.h"
#include "document/race_layers.h"
#include "editor/map_view.h"
#include "document/tile_text.h"
#include "editor/course_overview.h"
#include "graphics/tile_set_view.h"
#include "rom/course_catalogue.h"
#include "rom/course_layers.h"
#include "rom/rom_image.h"
#include "rom/rom_map.h"
#include "tests/app/window_fixture.h"
#include "tests/support/cell_centre.h"
#include "tests/support/synthetic_graphics.h"
#include "tests/support/synthetic_race.h"
#include "tests/support/synthetic_rom.h"
#include "tests/support/test_main.h"
#include "tests/support/tool_process.h"

#include <QAction>
#include <QCheckBox>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDockWidget>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QScrollBar>
#include <QStatusBar>
#include <QSignalSpy>
#include <QTest>
#include <QUndoStack>

using namespace velmor;
using namespace Qt::StringLiterals;

namespace {

const test::GameRomOptions RomOptions {.seed = 5, .themeGraphics = true};

// A folder whose Velmor.cfg names a user's ROM with theme graphics and its working copy.
void configureWithGraphics(test::MainWindowFixture &fixture)
{
    const QByteArray rom = test::toQByteArray(test::gameRom(RomOptions).bytes);
    for (const char16_t *name : {u"kart.smc", u"kart_velmor.smc"}) {
        QFile file(fixture.folder.filePath(QString::fromUtf16(name)));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(rom) == rom.size());
    }
    QVERIFY(test::writeConfiguration(fixture));
}

// The same with the race's data in both ROMs; `plain.smc` beside them has none.
void configureWithRace(test::MainWindowFixture &fixture)
{
    test::GameRomOptions options = RomOptions;
    options.raceData = true;
    const QByteArray rom = test::toQByteArray(test::gameRom(options).bytes);
    for (const char16_t *name : {u"kart.smc", u"kart_velmor.smc"}) {
        QFile file(fixture.folder.filePath(QString::fromUtf16(name)));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(rom) == rom.size());
    }
    const QByteArray plain = test::toQByteArray(test::gameRom(RomOptions).bytes);
    QFile file(fixture.folder.filePath(u"plain.smc"_s));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(plain) == plain.size());
    QVERIFY(test::writeConfiguration(fixture));
}

const QStringList RaceLayerNames = {u"Items"_s, u"Objects"_s, u"Start"_s, u"Lap"_s, u"Zones"_s,
                                    u"Targets"_s};

} // namespace

// The window's views of the game's tiles and its drawing tools, as a user reaches them: the View
// menu, the tool windows, the palettes' pictures, the Tools and Edit entries, mouse and keys.
class TestWindowViews : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { mFixture.reset(); }

    void tilesUnavailableWithoutARom_data();
    void tilesUnavailableWithoutARom();
    void tilesOfTheChosenCourse();
    void paintingInTilesUpdatesTheOverview();
    void toolWindowsDriveThePalettesAndTheView();
    void fillByKeyAndMouseIsOneStep();
    void toolChosenDuringAStrokeWaitsForIt();
    void selectionThroughTheClipboard();
    void replaceAndPick();
    void raceToolsStepByStep();
    void aiZoneTargetAndRaceOrder();
    void theRaceOfARomCourseIsShown();

private:
    // Shows the window and waits, bounded, for the theme it reads after its first paint.
    bool start(const std::function<void(test::MainWindowFixture &)> &beforeLoad);
    MainWindow *win() const { return mFixture->window.get(); }
    QAction *entry(const QString &name) const { return win()->menus().action(name); }
    MapView *view() const { return win()->client()->mapView(); }

    std::unique_ptr<test::MainWindowFixture> mFixture;
};

bool TestWindowViews::start(const std::function<void(test::MainWindowFixture &)> &beforeLoad)
{
    mFixture = std::make_unique<test::MainWindowFixture>(beforeLoad);
    QSignalSpy loaded(&win()->themeViews(), &ThemeViews::themeChanged);
    QApplication::setQuitOnLastWindowClosed(false);
    win()->show();
    if (!QTest::qWaitForWindowActive(win())) {
        QTest::qFail("the window did not become active within 5 s", __FILE__, __LINE__);
        return false;
    }
    if (loaded.isEmpty() && !loaded.wait(5000)) {
        QTest::qFail("the theme was not read within 5 s of the first paint", __FILE__, __LINE__);
        return false;
    }
    win()->client()->splash()->hide();
    return true;
}

void TestWindowViews::tilesUnavailableWithoutARom_data()
{
    QTest::addColumn<bool>("damaged");
    QTest::addColumn<QString>("reason");
    QTest::newRow("no ROM") << false << u"No tiles to show: Velmor knows no ROM yet"_s;
    QTest::newRow("graphics that cannot be read") << true << u"No tiles to show: the Mario Circuit tile pointer"_s;
}

void TestWindowViews::tilesUnavailableWithoutARom()
{
    QFETCH(bool, damaged);
    QFETCH(QString, reason);
    QVERIFY(start([damaged](test::MainWindowFixture &fixture) {
        if (!damaged) {
            fixture.dialog.cancel();
            fixture.messages.answer(MessageBoxes::Answer::Yes);
            return;
        }
        // Mario Circuit's tile pointer sent past the end of the ROM.
        test::GameRom built = test::gameRom(RomOptions);
        built.writePointer(rom::map::ThemeTilePointers + 3, 0x80000, test::BankForm::Whole);
        for (const char16_t *name : {u"kart.smc", u"kart_velmor.smc"})
            QVERIFY(test::writeBytes(fixture.folder.filePath(QString::fromUtf16(name)), built.bytes));
        QVERIFY(test::writeConfiguration(fixture));
    }));
    QVERIFY(!win()->themeViews().tilesAvailable());
    QVERIFY(!entry(u"actionViewTiles"_s)->isEnabled());
    QVERIFY2(entry(u"actionViewTiles"_s)->statusTip().startsWith(reason),
        qPrintable(entry(u"actionViewTiles"_s)->statusTip()));
    QVERIFY(!entry(u"actionExportImage1"_s)->isEnabled());
    win()->themeViews().showTiles(true);
    QCOMPARE(view()->viewMode(), MapView::ViewMode::Numbers);
    // The tool windows, which can show only placeholders, say why in their own words too.
    const std::pair<QDockWidget *, QString> windows[] = {
        {win()->themeViews().tileSetWindow(), u"tileSetReason"_s},
        {win()->themeViews().overviewWindow(), u"overviewReason"_s}};
    for (const auto &[window, name] : windows) {
        const auto *reason = window->findChild<QLabel *>(name);
        QVERIFY2(reason && !reason->isHidden(), qPrintable(name));
        QCOMPARE(reason->text(), win()->themeViews().unavailableReason());
    }
}

void TestWindowViews::tilesOfTheChosenCourse()
{
    QVERIFY(start(configureWithGraphics));
    QVERIFY2(
        win()->themeViews().tilesAvailable(), qPrintable(win()->themeViews().unavailableReason()));
    entry(u"actionViewTiles"_s)->trigger();
    QCOMPARE(view()->viewMode(), MapView::ViewMode::Tiles);
    QVERIFY(win()->themeViews().tileSetWindow()->findChild<QLabel *>(u"tileSetReason"_s)->isHidden());
    // The palettes show the picked tile's picture beside the number, only in the Tiles view.
    auto *picture = win()->client()->pickTile()->findChild<QLabel *>(u"leftPalettePicture"_s);
    QVERIFY(picture && picture->isVisible());
    QCOMPARE(win()->client()->pickTile()->currentText(), u"00"_s);

    // Mario Circuit 1 and Vanilla Lake 1 have different themes, so tile 0x10 looks different.
    const test::GameRom rom = test::gameRom(RomOptions);
    const auto tileTen = [this] { return view()->grab(QRect(0, 0, 16, 16)).toImage(); };
    win()->client()->courseMap().setCell(0, u"10"_s, Mark::Untouched);
    QSignalSpy loaded(&win()->themeViews(), &ThemeViews::themeChanged);
    const QImage marioCircuit = tileTen();
    // Typing a course keeps the Tiles view; the theme is read once its offset is whole, and not
    // again while the rest of the line is typed.
    for (const QString &typed : {u""_s, u"3"_s, u"3123"_s}) {
        win()->client()->courseList()->setEditText(typed);
        QCOMPARE(view()->viewMode(), MapView::ViewMode::Tiles);
    }
    QCOMPARE(loaded.size(), 0);
    for (const QString &typed : {u"3123c"_s, u"3123c - Vanilla"_s, u"3123c - Vanilla Lake 1"_s}) {
        win()->client()->courseList()->setEditText(typed);
        QCOMPARE(view()->viewMode(), MapView::ViewMode::Tiles);
    }
    QCOMPARE(loaded.size(), 1);
    const QImage vanillaLake = tileTen();
    QVERIFY(marioCircuit != vanillaLake);
    QCOMPARE(QColor(vanillaLake.pixel(2 * 3 + 1, 2 * 5 + 1)).rgb() & 0xFFFFFF,
        *test::expectedPixel(rom, rom::Theme::VanillaLake, 0x10, 3, 5) & 0xFFFFFF);

    entry(u"actionViewNumbers"_s)->trigger();
    QCOMPARE(view()->viewMode(), MapView::ViewMode::Numbers);
    QVERIFY(!picture->isVisible());
}

void TestWindowViews::paintingInTilesUpdatesTheOverview()
{
    QVERIFY(start(configureWithGraphics));
    entry(u"actionViewTiles"_s)->trigger();
    win()->client()->pickTile()->setEditText(u"C5"_s);
    QTest::mouseClick(view(), Qt::LeftButton, {}, test::cellCentre(2, 3));
    QCOMPARE(win()->client()->courseMap().text(cellIndex(2, 3)), u"C5"_s);
    QCOMPARE(win()->client()->courseMap().mark(cellIndex(2, 3)), Mark::Painted);
    // The overview draws the course at 8 pixels a tile: the cell's pixels are tile C5's now.
    const QImage course = win()->themeViews().overview()->courseImage();
    const test::GameRom rom = test::gameRom(RomOptions);
    for (const QPoint pixel : {QPoint(0, 0), QPoint(7, 7), QPoint(3, 6)}) {
        QCOMPARE(course.pixel(3 * 8 + pixel.x(), 2 * 8 + pixel.y()) & 0xFFFFFF,
            *test::expectedPixel(rom, rom::Theme::MarioCircuit, 0xC5, pixel.x(), pixel.y())
                & 0xFFFFFF);
    }
}

void TestWindowViews::toolWindowsDriveThePalettesAndTheView()
{
    QVERIFY(start(configureWithGraphics));
    entry(u"actionViewTileSet"_s)->trigger();
    QVERIFY(win()->themeViews().tileSetWindow()->isVisible());
    graphics::TileSetView *tiles = win()->themeViews().tileSet();
    QTest::mouseClick(tiles, Qt::LeftButton, {}, tiles->tileRect(0x3A).center());
    QTest::mouseClick(tiles, Qt::RightButton, {}, tiles->tileRect(0xC2).center());
    QCOMPARE(win()->client()->pickTile()->currentText(), u"3A"_s);
    QCOMPARE(win()->client()->pickTile2()->currentText(), u"C2"_s);
    win()->client()->pickTile()->setEditText(u"4b"_s);
    QCOMPARE(tiles->leftPick(), 0x4B);

    entry(u"actionViewOverview"_s)->trigger();
    CourseOverview *overview = win()->themeViews().overview();
    emit overview->scrollRequested(40, 50);
    QCOMPARE(win()->client()->horizontalScrollBar()->value(), 40);
    QCOMPARE(win()->client()->verticalScrollBar()->value(), 50);
    QCOMPARE(overview->viewCells(), QRect(40, 50, VisibleColumns, VisibleRows));

    // The overview edits too: a stroke at 4 x shows in the map view's model, and its own Ctrl+Z
    // undoes it there.
    overview->setZoom(4.0);
    QWidget *surface = overview->viewport();
    const auto at = [overview](int row, int column) {
        return overview->viewportRectOf(QRect(column, row, 1, 1)).center();
    };
    QTest::mousePress(surface, Qt::LeftButton, {}, at(60, 55));
    QTest::mouseMove(surface, at(60, 58));
    QTest::mouseRelease(surface, Qt::LeftButton, {}, at(60, 58));
    for (int column = 55; column <= 58; ++column)
        QCOMPARE(win()->client()->courseMap().text(cellIndex(60, column)), u"4b"_s);
    QCOMPARE(entry(u"actionUndo"_s)->text(), u"Undo Paint"_s);
    surface->setFocus();
    QTest::keyClick(surface, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(win()->client()->courseMap().text(cellIndex(60, 55)), u"01"_s);
    // So do the tools' keys, with the overview's window the active one.
    overview->window()->activateWindow();
    QVERIFY2(QTest::qWaitForWindowActive(overview->window()), "the overview did not become active within 5 s");
    QTest::keyClick(surface, Qt::Key_F);
    QCOMPARE(win()->client()->toolController()->tool(), u"fill"_s);
    QTest::keyClick(surface, Qt::Key_B);

    const QString png = mFixture->folder.filePath(u"course.png"_s);
    mFixture->dialog.pick(png);
    entry(u"actionExportImage2"_s)->trigger();
    QCOMPARE(mFixture->messages.titles().last(), u"Image Exported"_s);
    QCOMPARE(QImage(png).size(), QSize(2048, 2048));
}

void TestWindowViews::fillByKeyAndMouseIsOneStep()
{
    QVERIFY(start(configureWithGraphics));
    QTest::keyClick(win(), Qt::Key_F);
    QVERIFY(entry(u"actionToolFill"_s)->isChecked());
    win()->client()->pickTile()->setEditText(u"2C"_s);
    QTest::mouseClick(view(), Qt::LeftButton, {}, test::cellCentre(5, 5));
    QCOMPARE(win()->client()->courseMap().texts(), QStringList(CellCount, u"2C"_s));
    QCOMPARE(entry(u"actionUndo"_s)->text(), u"Undo Fill"_s);
    QTest::keyClick(win(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(win()->client()->courseMap().text(0), u"01"_s);

    // A palette that holds no tile number is refused with a message, the map left alone.
    QTest::keyClick(win(), Qt::Key_L);
    win()->client()->pickTile()->setEditText(u"7"_s);
    QTest::mouseClick(view(), Qt::LeftButton, {}, test::cellCentre(1, 1));
    QCOMPARE(mFixture->messages.titles().last(), u"Cannot Draw"_s);
    QCOMPARE(win()->client()->courseMap().text(cellIndex(1, 1)), u"01"_s);
}

void TestWindowViews::toolChosenDuringAStrokeWaitsForIt()
{
    QVERIFY(start(configureWithGraphics));
    win()->client()->pickTile()->setEditText(u"2C"_s);
    // The brush's stroke ends with its button even though Line was chosen while it was held.
    QTest::mousePress(view(), Qt::LeftButton, {}, test::cellCentre(2, 2));
    QTest::keyClick(win(), Qt::Key_L);
    QTest::mouseRelease(view(), Qt::LeftButton, {}, test::cellCentre(2, 2));
    QCOMPARE(entry(u"actionUndo"_s)->text(), u"Undo Paint"_s);
    // So the line is a step of its own, and undoing it leaves the brush's cell painted.
    QTest::mouseClick(view(), Qt::LeftButton, {}, test::cellCentre(4, 4));
    QCOMPARE(win()->client()->courseMap().text(cellIndex(4, 4)), u"2C"_s);
    QCOMPARE(entry(u"actionUndo"_s)->text(), u"Undo Line"_s);
    QTest::keyClick(win(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(win()->client()->courseMap().text(cellIndex(4, 4)), u"01"_s);
    QCOMPARE(win()->client()->courseMap().text(cellIndex(2, 2)), u"2C"_s);
}

void TestWindowViews::selectionThroughTheClipboard()
{
    QVERIFY(start(configureWithGraphics));
    CourseMap &map = win()->client()->courseMap();
    map.setCell(cellIndex(1, 1), u"0A"_s, Mark::Untouched);
    map.setCell(cellIndex(2, 2), u"0B"_s, Mark::Untouched);
    QTest::keyClick(win(), Qt::Key_S);
    QTest::mousePress(view(), Qt::LeftButton, {}, test::cellCentre(1, 1));
    QTest::mouseMove(view(), test::cellCentre(2, 3));
    QTest::mouseRelease(view(), Qt::LeftButton, {}, test::cellCentre(2, 3));
    QVERIFY(entry(u"actionCopy"_s)->isEnabled());
    QTest::keyClick(win(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), u"0A 01 01\n01 0B 01"_s);

    // Text from elsewhere pastes too; the paste follows the pointer until a click places it.
    QApplication::clipboard()->setText(u"3C 3D\r\n3E 3F\r\n"_s);
    QTest::mouseMove(view(), test::cellCentre(10, 10));
    entry(u"actionPaste"_s)->trigger();
    QTest::mouseMove(view(), test::cellCentre(12, 20));
    QTest::mouseClick(view(), Qt::LeftButton, {}, test::cellCentre(12, 20));
    QCOMPARE(map.text(cellIndex(12, 20)), u"3C"_s);
    QCOMPARE(map.text(cellIndex(13, 21)), u"3F"_s);
    QCOMPARE(entry(u"actionUndo"_s)->text(), u"Undo Paste"_s);

    QApplication::clipboard()->setText(u"3C 3D\n3E"_s);
    entry(u"actionPaste"_s)->trigger();
    QCOMPARE(mFixture->messages.titles().last(), u"Cannot Paste"_s);
}

void TestWindowViews::replaceAndPick()
{
    QVERIFY(start(configureWithGraphics));
    CourseMap &map = win()->client()->courseMap();
    map.setCell(cellIndex(3, 3), u"44"_s, Mark::Untouched);
    // Alt + right click picks the cell's tile into the right palette, whatever the tool.
    QTest::mouseClick(view(), Qt::RightButton, Qt::AltModifier, test::cellCentre(3, 3));
    QCOMPARE(win()->client()->pickTile2()->currentText(), u"44"_s);
    QCOMPARE(map.text(cellIndex(3, 3)), u"44"_s);
    win()->client()->pickTile()->setEditText(u"55"_s);

    mFixture->replace.answer(u"01"_s, u"66"_s);
    entry(u"actionReplace"_s)->trigger();
    QCOMPARE(mFixture->replace.proposals().size(), 1);
    QCOMPARE(mFixture->replace.proposals().first().from, u"44"_s);
    QCOMPARE(mFixture->replace.proposals().first().to, u"55"_s);
    QCOMPARE(map.text(0), u"66"_s);
    QCOMPARE(map.text(cellIndex(3, 3)), u"44"_s);
    QCOMPARE(entry(u"actionUndo"_s)->text(), u"Undo Replace"_s);

    // A tile no cell holds (cells tell "0a" from "0A") replaces nothing, and says so.
    mFixture->replace.answer(u"0a"_s, u"66"_s);
    entry(u"actionReplace"_s)->trigger();
    QCOMPARE(mFixture->messages.titles().last(), u"Replace Tiles"_s);
    QCOMPARE(entry(u"actionUndo"_s)->text(), u"Undo Replace"_s);
    QCOMPARE(map.text(cellIndex(3, 3)), u"44"_s);
}

void TestWindowViews::raceToolsStepByStep()
{
    QVERIFY(start(configureWithGraphics));
    CourseDocument &document = win()->client()->document();
    // The race of the chosen course, as opening it from the ROM reads it, with the grid and the
    // lap line moved into the part of the map the window shows.
    const test::GameRom game = test::gameRom(RomOptions);
    const std::optional<rom::RomImage> image = rom::RomImage::open(codec::ByteView(game.bytes));
    QVERIFY(image);
    rom::CourseLayers race = rom::readCourseLayers(*image, 0x07);
    rom::ObjectPositions objects;
    objects.groups[0][0] = {90, 90};
    race.objects = {objects, {}};
    race.items = {rom::OverlayItems {{0, 0, 2, 2}}, {}};
    race.start = {rom::StartGrid(rom::RaceStart {100, 40, 24}), {}};
    race.lap = {rom::LapLine {120, 2, 6, 6, 2}, {}};
    document.loadRace(race);
    QCOMPARE(win()->raceTools().itemsReadout()->text(), u"Items 1 of 41"_s);
    const auto drag = [this](QPointF from, QPointF to) {
        QTest::mousePress(view(), Qt::LeftButton, {}, (from * 2).toPoint());
        QTest::mouseMove(view(), ((from + to) / 2 * 2).toPoint());
        QTest::mouseMove(view(), (to * 2).toPoint());
        QTest::mouseRelease(view(), Qt::LeftButton, {}, (to * 2).toPoint());
    };

    // An item box from the palette, by key and click.
    QTest::keyClick(win(), Qt::Key_T);
    QVERIFY(entry(u"actionToolItems"_s)->isChecked());
    QVERIFY(win()->raceTools().itemPalette()->isVisible());
    QVERIFY(document.items().isVisible()); // the tool shows what it edits
    QCOMPARE(win()->raceTools().itemPalette()->currentText(), u"Item Box 1"_s);
    QTest::mouseClick(view(), Qt::LeftButton, {}, test::cellCentre(8, 20));
    QCOMPARE(document.items().value().back(), (rom::OverlayItem {0, 0, 20, 8}));
    QCOMPARE(entry(u"actionUndo"_s)->text(), u"Undo Place Item Box"_s);
    QCOMPARE(win()->raceTools().itemsReadout()->text(), u"Items 2 of 41"_s);
    // The palette shows the game's tiles in the Tiles view, glyphs over the numbers.
    QComboBox *palette = win()->raceTools().itemPalette();
    const QImage glyph = palette->itemIcon(0).pixmap(32).toImage();
    win()->themeViews().showTiles(true);
    QVERIFY(palette->itemIcon(0).pixmap(32).toImage() != glyph);
    win()->themeViews().showTiles(false);
    QCOMPARE(palette->itemIcon(0).pixmap(32).toImage(), glyph);

    // The start grid and the lap line, each drag one step.
    QTest::keyClick(win(), Qt::Key_P);
    drag({100, 40}, {140, 56});
    QVERIFY(document.start().value() == rom::StartGrid(rom::RaceStart {140, 56, 24}));
    QCOMPARE(entry(u"actionUndo"_s)->text(), u"Undo Move Start Grid"_s);
    QTest::keyClick(win(), Qt::Key_K);
    drag({60, 120}, {60, 100});
    QCOMPARE(document.lap().value(), (rom::LapLine {100, 2, 6, 6, 2}));
    QCOMPARE(entry(u"actionUndo"_s)->text(), u"Undo Move Lap Line"_s);

    // The theme: the views draw it at once, the menu shows it, the status bar says what changed.
    QSignalSpy redrawn(&win()->themeViews(), &ThemeViews::themeChanged);
    entry(u"actionThemeKoopaBeach"_s)->trigger();
    QCOMPARE(document.theme(), rom::Theme::KoopaBeach);
    QCOMPARE(redrawn.count(), 1);
    QVERIFY(entry(u"actionThemeKoopaBeach"_s)->isChecked());
    QVERIFY2(win()->statusBar()->currentMessage().contains(u"Koopa Beach"_s),
        qPrintable(win()->statusBar()->currentMessage()));
    QCOMPARE(entry(u"actionUndo"_s)->text(), u"Undo Change Theme to Koopa Beach"_s);
    // A theme whose kind has no objects would hide the course's objects: asked first, and No
    // changes nothing, the menu included.
    mFixture->messages.answer(MessageBoxes::Answer::No);
    entry(u"actionThemeGhostValley"_s)->trigger();
    QCOMPARE(mFixture->messages.titles(), QStringList {u"Change Theme"_s});
    QVERIFY2(mFixture->messages.messages().last().text.startsWith(u"Ghost Valley has no objects: the course's one object would not be seen"_s),
             qPrintable(mFixture->messages.messages().last().text));
    QCOMPARE(document.theme(), rom::Theme::KoopaBeach);
    QVERIFY(entry(u"actionThemeKoopaBeach"_s)->isChecked());
    QVERIFY(!entry(u"actionThemeGhostValley"_s)->isChecked());

    // Each undo takes back one step, in order, to the course as it was read.
    QTest::keyClick(win(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(document.theme(), *race.theme.value);
    QVERIFY(entry(u"actionTheme"_s + QString::fromUtf8(rom::themeName(*race.theme.value).data()).remove(u' '))->isChecked());
    QTest::keyClick(win(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(document.lap().value(), race.lap.value);
    QTest::keyClick(win(), Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(document.start().value() == *race.start.value);
    QTest::keyClick(win(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(document.items().value(), *race.items.value);
    QCOMPARE(win()->raceTools().itemsReadout()->text(), u"Items 1 of 41"_s);
    QVERIFY(!document.isModified());
}

void TestWindowViews::aiZoneTargetAndRaceOrder()
{
    QVERIFY(start(configureWithGraphics));
    CourseDocument &document = win()->client()->document();
    rom::CourseAi ai;
    ai.zones = {{rom::ZoneShape::Rectangle, 0, 0, 2, 2}, {rom::ZoneShape::Rectangle, 4, 0, 2, 2}};
    ai.targets = {{1, 1, 1}, {9, 1, 2}};
    document.zones().load(ai);
    document.objectAreas().load(rom::ObjectAreas {{0, 1, 2, 0xFFFF, 0xFFFF}});
    QUndoStack &steps = *document.undoStack();

    // Z, then a drag from tile (2, 10) to (9, 14): the zone grid's points (1, 5) and (5, 7).
    QTest::keyClick(win(), Qt::Key_Z);
    QVERIFY(entry(u"actionToolZones"_s)->isChecked());
    QTest::mousePress(view(), Qt::LeftButton, {}, test::cellCentre(10, 2));
    QTest::mouseMove(view(), test::cellCentre(12, 6));
    QTest::mouseMove(view(), test::cellCentre(14, 9));
    QTest::mouseRelease(view(), Qt::LeftButton, {}, test::cellCentre(14, 9));
    QCOMPARE(document.zones().value().zones.size(), std::size_t(3));
    QCOMPARE(document.zones().value().zones[2], (rom::Zone {rom::ZoneShape::Rectangle, 1, 5, 4, 2}));
    QCOMPARE(document.zones().value().targets[2], (rom::Target {6, 12, 2}));
    QCOMPARE(entry(u"actionUndo"_s)->text(), u"Undo Draw AI Zone"_s);
    // Past the last zone: the thresholds that name the end follow it.
    QCOMPARE(document.objectAreas().value()->thresholds, (std::array<int, 5> {0, 1, 3, 0xFFFF, 0xFFFF}));
    QVERIFY(win()->statusBar()->currentMessage().contains(u"threshold 2 from zone 2 to 3"_s));

    // G, drag the new zone's target by its point, then the key 3 for its speed.
    QTest::keyClick(win(), Qt::Key_G);
    QTest::mousePress(view(), Qt::LeftButton, {}, test::cellCentre(12, 6));
    QTest::mouseMove(view(), test::cellCentre(11, 5));
    QTest::mouseRelease(view(), Qt::LeftButton, {}, test::cellCentre(11, 4));
    QCOMPARE(document.zones().value().targets[2], (rom::Target {4, 11, 2}));
    QTest::keyClick(win(), Qt::Key_3);
    QCOMPARE(document.zones().value().targets[2].speed, 3);
    QCOMPARE(steps.count(), 3);

    // The race order panel has the same zone chosen; Move Up makes it number 1.
    entry(u"actionViewRaceOrder"_s)->trigger();
    auto *panel = win()->findChild<RaceOrderPanel *>(u"raceOrderPanel"_s);
    QVERIFY(panel && panel->isVisible());
    QCOMPARE(panel->currentZone(), 2);
    QTest::mouseClick(panel->findChild<QPushButton *>(u"raceOrderUp"_s), Qt::LeftButton);
    QCOMPARE(document.zones().value().zones[1], (rom::Zone {rom::ZoneShape::Rectangle, 1, 5, 4, 2}));
    QCOMPARE(document.zones().value().targets[1], (rom::Target {4, 11, 3}));
    QCOMPARE(panel->currentZone(), 1);
    QCOMPARE(entry(u"actionUndo"_s)->text(), u"Undo Reorder AI Zones"_s);
    for (int k = 0; k < 4; ++k)
        QTest::keyClick(win(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(document.zones().value(), ai);
    QCOMPARE(document.objectAreas().value()->thresholds, (std::array<int, 5> {0, 1, 2, 0xFFFF, 0xFFFF}));
}

void TestWindowViews::theRaceOfARomCourseIsShown()
{
    QVERIFY(start(configureWithRace));
    CourseDocument &document = win()->client()->document();
    // Nothing of the race before a ROM course is open.
    for (const QString &name : RaceLayerNames) {
        QVERIFY2(!document.layer(name.toLower())->isVisible(), qPrintable(name));
        QVERIFY(!entry(u"actionLayer"_s + name)->isChecked());
    }
    const QImage bare = view()->grab().toImage();

    mFixture->dialog.pick(mFixture->folder.filePath(u"kart_velmor.smc"_s));
    entry(u"actionOpenCourseFromRom"_s)->trigger();
    const rom::CourseData &expected = test::syntheticCourses()[std::size_t(document.course().id())];
    QVERIFY(document.courseData() == expected);
    QVERIFY(!document.isModified());
    for (const QString &name : RaceLayerNames)
        QVERIFY2(entry(u"actionLayer"_s + name)->isChecked(), qPrintable(name));
    QVERIFY(view()->grab().toImage() != bare);

    // The menu entry and the Layers window's box switch the same layer and follow each other.
    entry(u"actionViewLayers"_s)->trigger();
    QDockWidget *panel = win()->layerViews().layersWindow();
    QVERIFY(panel->isVisible());
    auto *zonesBox = panel->findChild<QCheckBox *>(u"layerCheckZones"_s);
    QVERIFY(zonesBox && zonesBox->isChecked());
    entry(u"actionLayerZones"_s)->trigger();
    QVERIFY(!document.zones().isVisible());
    QVERIFY(!zonesBox->isChecked());
    zonesBox->click();
    QVERIFY(document.zones().isVisible());
    QVERIFY(entry(u"actionLayerZones"_s)->isChecked());

    // The overview draws the race too.
    entry(u"actionViewOverview"_s)->trigger();
    QWidget *overview = win()->themeViews().overview()->viewport();
    const QImage withRace = overview->grab().toImage();
    for (const QString &name : RaceLayerNames)
        entry(u"actionLayer"_s + name)->trigger();
    QVERIFY(overview->grab().toImage() != withRace);
    for (const QString &name : RaceLayerNames)
        entry(u"actionLayer"_s + name)->trigger();

    // The status bar names what lies under the pointer, of the shown layers only.
    document.items().replace({{0, 0, 2, 3}}, u"Move Item Box"_s);
    QTest::mouseMove(view(), test::cellCentre(3, 2));
    const QLabel *race = win()->status().raceLabel();
    QVERIFY2(race->text().startsWith(u"Item box"_s), qPrintable(race->text()));
    entry(u"actionLayerItems"_s)->trigger();
    QVERIFY2(!race->text().contains(u"Item box"_s), qPrintable(race->text()));

    // A ROM without race data still opens its layout; each layer says why it shows nothing.
    mFixture->dialog.pick(mFixture->folder.filePath(u"plain.smc"_s));
    mFixture->messages.answer(MessageBoxes::Answer::No);
    entry(u"actionOpenCourseFromRom"_s)->trigger();
    QCOMPARE(document.romPath(), mFixture->folder.filePath(u"plain.smc"_s));
    QVERIFY(!document.zones().unreadableReason().isEmpty());
    QCOMPARE(entry(u"actionLayerZones"_s)->text(), u"AI zones (unreadable)"_s);
    QCOMPARE(entry(u"actionLayerZones"_s)->statusTip(), document.zones().unreadableReason());
    QVERIFY(!document.courseData().has_value());
}

VELMOR_TEST_MAIN(TestWindowViews)
#include "test_window_views.moc"
