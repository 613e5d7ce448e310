#include "app/client_window.h"
#include "app/course_check_ui.h"
#include "app/main_window.h"
#include "app/splash.h"
#include "app/window_menus.h"
#include "codec/codec.h"
#include "course/emulator_choice.h"
#include "course/restore_points.h"
#include "course/track_file.h"
#include "document/findings_layer.h"
#include "document/course_document.h"
#include "course/course_file.h"
#include "document/map_history.h"
#include "document/object_areas_value.h"
#include "document/race_layers.h"
#include "tests/support/cell_centre.h"
#include "app/race_order_panel.h"
#include "editor/tool_controller.h"
#include "editor/map_view.h"
#include "rom/course_catalogue.h"
#include "rom/object_areas.h"
#include "rom/race_map.h"
#include "rom/rom_map.h"
#include "tests/support/synthetic_race.h"
#include "tests/app/window_fixture.h"
#include "tests/support/synthetic_check.h"
#include "tests/support/synthetic_rom.h"
#include "tests/support/test_main.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDropEvent>
#include <QMimeData>
#include <QPushButton>
#include <QDockWidget>
#include <QFile>
#include <QLabel>
#include <QScrollBar>
#include <QTreeWidget>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRandomGenerator>
#include <QStatusBar>
#include <QTest>
#include <QUndoStack>

using namespace velmor;
using namespace Qt::StringLiterals;

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// What the game reads for Mario Circuit 1: the stream at its slot, then the track inside it,
// decoded here without the program's own readers.
QStringList marioCircuit1In(const QByteArray &rom, bool headered)
{
    const std::size_t at = rom::courseById(0x07)->layoutOffset + (headered ? 0x200 : 0);
    const auto bytes = test::bytesOf(rom);
    const codec::DecodeResult outer = codec::decode(codec::ByteView(bytes).subspan(at));
    if (!outer.ok)
        return {};
    return track::decode(test::toQByteArray(outer.output)).texts;
}

// Random tiles in half the map: far more than Mario Circuit 1's slot holds, well within what the
// game's first decoding may give.
QStringList noise()
{
    QRandomGenerator random(3);
    QStringList cells(CellCount, u"01"_s);
    for (int i = 0; i < CellCount / 2; ++i)
        cells[i] = u"%1"_s.arg(random.bounded(256), 2, 16, QLatin1Char('0')).toUpper();
    return cells;
}

// The same through the layout pointer, as the game follows it into the added banks.
QStringList marioCircuit1ByPointer(const QByteArray &rom)
{
    const auto bytes = test::bytesOf(rom);
    const std::size_t pointer = 0x200 + rom::map::CourseLayoutPointers + 3 * 0x07;
    const std::size_t at = 0x200
        + ((std::size_t(bytes[pointer + 2] & 0x3F) << 16 | bytes[pointer] | bytes[pointer + 1] << 8));
    const codec::DecodeResult outer = codec::decode(codec::ByteView(bytes).subspan(at));
    return outer.ok ? track::decode(test::toQByteArray(outer.output)).texts : QStringList();
}

enum class Fault { ChangedOnDisk, Gone, TooLarge };

// The arguments the stand-in emulator recorded, once it has written them whole.
QStringList recordedArguments(const QString &path)
{
    QStringList arguments;
    for (const QJsonValue &value : QJsonDocument::fromJson(readAll(path)).array())
        arguments << value.toString();
    return arguments;
}

// Runs a test with PATH set to one folder, as the search for emulators sees it.
struct PathSetTo
{
    explicit PathSetTo(const QString &folder) { qputenv("PATH", folder.toLocal8Bit()); }
    ~PathSetTo() { qputenv("PATH", mOld); }
    QByteArray mOld = qgetenv("PATH");
};

} // namespace

Q_DECLARE_METATYPE(Fault)

// Save Course into ROM through the program's window: into the ROM a course was opened from, or a
// ROM the user chooses, and never over a ROM that changed meanwhile or with a course too large.
class TestWindowSave : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { mFixture.reset(); }

    void savesIntoTheRomItCameFrom_data();
    void savesIntoTheRomItCameFrom();
    void refusesAndWritesNothing_data();
    void refusesAndWritesNothing();
    void asksForARomWhenThereIsNone();
    void savesTheWholeRace();
    void aTrackFileLeavesTheRaceUnsaved();
    void savesTheObjectAreasTheRaceOrderMoved();
    void exportsAndImportsCourseFiles();
    void dropOpensByKind_data();
    void dropOpensByKind();

    void checksAfterEverySaveAndOnF7();
    void testRunGivesTheEmulatorACopy();
    void testRunReportsWhyItCannotStart_data();
    void testRunReportsWhyItCannotStart();
    void emulatorArguments_data();
    void emulatorArguments();
    void emulatorsFoundOnThePath();
    void restoresTheThirdOfTenSaves();
    void tooLargeOffersExpandRomAndMovesTheCourse();
    void japaneseRomIsRefusedByName();

private:
    bool start(bool headered, bool race = false);
    bool startWith(const QByteArray &rom);
    bool drop(const QList<QUrl> &urls);
    bool openMarioCircuit1();
    void paint(const QStringList &cells);
    void saveByKey();
    MainWindow *win() const { return mFixture->window.get(); }
    CourseDocument &document() const { return win()->client()->document(); }
    QString romPath() const { return mFixture->folder.filePath(u"kart_velmor.smc"_s); }

    std::unique_ptr<test::MainWindowFixture> mFixture;
    QByteArray mOriginal;
};

bool TestWindowSave::start(bool headered, bool race)
{
    return startWith(test::toQByteArray(
        test::gameRom({.seed = 7, .copierHeader = headered, .raceData = race}).bytes));
}

bool TestWindowSave::startWith(const QByteArray &rom)
{
    mOriginal = rom;
    mFixture = std::make_unique<test::MainWindowFixture>([this](test::MainWindowFixture &fixture) {
        writeAll(fixture.folder.filePath(u"kart.smc"_s), mOriginal);
        writeAll(fixture.folder.filePath(u"kart_velmor.smc"_s), mOriginal);
        test::writeConfiguration(fixture);
    });
    QApplication::setQuitOnLastWindowClosed(false);
    win()->show();
    if (!QTest::qWaitForWindowActive(win())) {
        QTest::qFail("the window did not become active within 5 s", __FILE__, __LINE__);
        return false;
    }
    win()->client()->splash()->hide();
    return true;
}

bool TestWindowSave::openMarioCircuit1()
{
    mFixture->dialog.pick(romPath());
    win()->menus().action(u"actionOpenCourseFromRom"_s)->trigger();
    return document().romPath() == romPath() && !document().isModified();
}

void TestWindowSave::paint(const QStringList &cells)
{
    // One step, as a paste or a fill would make it: what matters here is what the save writes.
    CourseMap &map = document().map();
    document().history().begin(u"Paint"_s);
    map.setAll(cells, QList<Mark>(CellCount, Mark::Painted));
    document().history().end();
}

void TestWindowSave::saveByKey()
{
    QTest::keyClick(win(), Qt::Key_R, Qt::ControlModifier);
}

void TestWindowSave::savesIntoTheRomItCameFrom_data()
{
    QTest::addColumn<bool>("headered");
    QTest::newRow("with the copier header") << true;
    QTest::newRow("without it") << false;
}

void TestWindowSave::savesIntoTheRomItCameFrom()
{
    QFETCH(bool, headered);
    QVERIFY(start(headered));
    QVERIFY2(openMarioCircuit1(), "Open Course from ROM did not take the working ROM");
    QStringList cells = document().map().texts();
    for (int column = 10; column < 60; ++column)
        cells[cellIndex(40, column)] = u"2B"_s;
    paint(cells);
    QVERIFY(document().isModified());
    saveByKey();
    QCOMPARE(mFixture->messages.titles(), QStringList());
    QVERIFY(!document().isModified());
    const QByteArray saved = readAll(romPath());
    QCOMPARE(marioCircuit1In(saved, headered), cells);
    QCOMPARE(saved.size(), mOriginal.size());
    // Only the slot's bytes and the header's checksum pair changed.
    const qsizetype slot = qsizetype(rom::courseById(0x07)->layoutOffset) + (headered ? 0x200 : 0);
    const qsizetype end = slot + qsizetype(rom::courseById(0x07)->slotLength);
    const qsizetype pair = 0xFFDC + (headered ? 0x200 : 0);
    QCOMPARE(saved.left(pair), mOriginal.left(pair));
    QCOMPARE(saved.mid(pair + 4, slot - pair - 4), mOriginal.mid(pair + 4, slot - pair - 4));
    QVERIFY(saved.mid(pair, 4) != mOriginal.mid(pair, 4));
    QCOMPARE(saved.mid(end), mOriginal.mid(end));

    // A second save after more painting writes again, into the ROM as it is now.
    cells[cellIndex(41, 11)] = u"C0"_s;
    paint(cells);
    saveByKey();
    QCOMPARE(marioCircuit1In(readAll(romPath()), headered), cells);

    // Each save kept the ROM as it was in a restore point: going back past both gives the original.
    const RestorePoints points(romPath());
    const RestorePoints::Listing listing = points.list();
    QCOMPARE(listing.points.size(), 2);
    QCOMPARE(listing.points.at(0).course, u"Mario Circuit 1"_s);
    QVERIFY2(points.restore(2, QDateTime::currentDateTimeUtc()).ok, "restoring the first save");
    QCOMPARE(readAll(romPath()), mOriginal);
}

void TestWindowSave::refusesAndWritesNothing_data()
{
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<QString>("said");
    QTest::newRow("changed on disk") << Fault::ChangedOnDisk << u"was changed on disk"_s;
    QTest::newRow("gone") << Fault::Gone << u"is gone"_s;
    // recomp.exe's own words for a course that does not fit.
    QTest::newRow("too large") << Fault::TooLarge << u"Mario Circuit 1's slot at"_s;
}

void TestWindowSave::refusesAndWritesNothing()
{
    QFETCH(Fault, fault);
    QFETCH(QString, said);
    QVERIFY(start(true));
    QVERIFY2(openMarioCircuit1(), "Open Course from ROM did not take the working ROM");
    QStringList cells = document().map().texts();
    cells[cellIndex(3, 3)] = u"2B"_s;
    paint(fault == Fault::TooLarge ? noise() : cells);
    QByteArray onDisk = mOriginal;
    switch (fault) {
    case Fault::ChangedOnDisk:
        onDisk[0x300] = char(onDisk.at(0x300) ^ 0x5A); // another program's change
        QVERIFY(writeAll(romPath(), onDisk));
        break;
    case Fault::Gone:
        QVERIFY(QFile::remove(romPath()));
        break;
    case Fault::TooLarge:
        mFixture->messages.answer(MessageBoxes::Answer::No); // Expand ROM is offered, not taken
        break;
    }
    const QStringList texts = document().map().texts();
    const std::optional<rom::CourseData> course = document().courseData();
    const int steps = document().undoStack()->count();
    saveByKey();
    QCOMPARE(mFixture->messages.titles(), QStringList {u"Course Not Saved"_s});
    QVERIFY2(mFixture->messages.messages().constLast().text.contains(said),
        qPrintable(mFixture->messages.messages().constLast().text));
    // The document as it was: every layer, its steps, unsaved.
    QVERIFY(document().isModified());
    QCOMPARE(document().map().texts(), texts);
    QVERIFY(document().courseData() == course);
    QCOMPARE(document().undoStack()->count(), steps);
    if (fault == Fault::Gone)
        QVERIFY(!QFile::exists(romPath()));
    else
        QCOMPARE(readAll(romPath()), onDisk);
}

void TestWindowSave::asksForARomWhenThereIsNone()
{
    QVERIFY(start(true));
    QVERIFY(document().romPath().isEmpty());
    QStringList cells = document().map().texts();
    cells[cellIndex(7, 7)] = u"3C"_s;
    paint(cells);
    // The working ROM is proposed; a new name is made as a copy of the user's own ROM.
    const QString fresh = mFixture->folder.filePath(u"mine.smc"_s);
    mFixture->dialog.pick(fresh);
    saveByKey();
    QCOMPARE(mFixture->dialog.showings().constLast().settings.fileName, u"kart_velmor.smc"_s);
    QCOMPARE(document().romPath(), fresh);
    const QByteArray saved = readAll(fresh);
    QCOMPARE(marioCircuit1In(saved, true), cells);
    QCOMPARE(saved.left(0x1000), mOriginal.left(0x1000));
    QCOMPARE(readAll(romPath()), mOriginal);
}

bool TestWindowSave::drop(const QList<QUrl> &urls)
{
    QMimeData data;
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(win(), &enter);
    QDropEvent dropped(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(win(), &dropped);
    return enter.isAccepted() && dropped.isAccepted();
}

namespace {

// A course's AI as the game reads it from a ROM with the copier header, by its own rules and not
// the program's readers: zone records up to 0xFF, then one three-byte target per zone.
std::pair<QList<QByteArray>, QByteArray> gameAi(const QByteArray &rom, int id)
{
    const auto byte = [&rom](std::size_t at) { return std::uint8_t(rom.at(qsizetype(at) + 0x200)); };
    const auto word = [&byte](std::size_t at) { return std::size_t(byte(at) | byte(at + 1) << 8); };
    std::size_t at = rom::map::AiBankStart + word(rom::map::AiZonePointers + 2 * std::size_t(id));
    QList<QByteArray> zones;
    while (byte(at) != 0xFF && zones.size() < 128) {
        const qsizetype size = byte(at) == 0x00 || byte(at) >= 0x0A ? 5 : 4;
        zones.append(rom.mid(qsizetype(at) + 0x200, size));
        at += std::size_t(size);
    }
    const std::size_t targets = rom::map::AiBankStart + word(rom::map::AiTargetPointers + 2 * std::size_t(id));
    return {zones, rom.mid(qsizetype(targets) + 0x200, 3 * zones.size())};
}

// The bytes the game reads for zones and targets, from the values.
std::pair<QList<QByteArray>, QByteArray> aiBytes(const rom::CourseAi &ai)
{
    const auto bytes = [](std::initializer_list<int> values) {
        QByteArray out;
        for (const int value : values)
            out.append(char(value));
        return out;
    };
    QList<QByteArray> zones;
    for (const rom::Zone &z : ai.zones) {
        const int shape = int(z.shape);
        if (z.shape == rom::ZoneShape::Rectangle)
            zones.append(bytes({shape, z.x, z.y, z.w, z.h}));
        else if (rom::isTriangle(z.shape))
            zones.append(bytes({shape, z.x, z.y, z.n}));
        else
            zones.append(bytes({shape, z.x, z.y, z.a, z.n}));
    }
    QByteArray targets;
    for (const rom::Target &t : ai.targets)
        targets += bytes({t.x, t.y, t.speed | (t.unknownBit ? 0x80 : 0)});
    return {zones, targets};
}

} // namespace

void TestWindowSave::savesTheWholeRace()
{
    QVERIFY(start(true, true));
    QVERIFY2(openMarioCircuit1(), "Open Course from ROM did not take the working ROM");
    const rom::CourseData before = *document().courseData();
    MapView *view = win()->client()->mapView();
    // The view lays out the whole course at two view pixels a course pixel, and takes the
    // pointer where it shows the course: scrolled there first, as a user would.
    const auto show = [this](QPointF coursePixel) {
        win()->client()->horizontalScrollBar()->setValue(int(coursePixel.x()) / 8 - 4);
        win()->client()->verticalScrollBar()->setValue(int(coursePixel.y()) / 8 - 4);
    };
    const auto drag = [view, &show](QPointF from, QPointF to) {
        show(from);
        QTest::mousePress(view, Qt::LeftButton, {}, (from * 2).toPoint());
        QTest::mouseMove(view, ((from + to) / 2 * 2).toPoint());
        QTest::mouseMove(view, (to * 2).toPoint());
        QTest::mouseRelease(view, Qt::LeftButton, {}, (to * 2).toPoint());
    };

    // Every edit as the tools make it, one step each: an item box placed, the start grid and the
    // lap line dragged, the theme from its menu, a zone drawn, its target dragged, the zone moved
    // up the race order.
    QTest::keyClick(win(), Qt::Key_T);
    show(QPointF(100 * 8, 90 * 8));
    QTest::mouseClick(view, Qt::LeftButton, {}, test::cellCentre(90, 100));
    QCOMPARE(document().items().value().size(), before.items.size() + 1);
    QCOMPARE(document().items().value().back(), (rom::OverlayItem {0, 0, 100, 90}));
    const auto start = std::get<rom::RaceStart>(before.start);
    QTest::keyClick(win(), Qt::Key_P);
    drag(QPointF(start.x, start.y), QPointF(start.x + 40, start.y));
    QCOMPARE(std::get<rom::RaceStart>(document().start().value()).x, start.x + 40);
    const rom::LapLine lap = *before.lap;
    QTest::keyClick(win(), Qt::Key_K);
    const double lapMiddle = (lap.col + lap.w / 2.0) * 16;
    drag(QPointF(lapMiddle, lap.y), QPointF(lapMiddle, lap.y - 8));
    QVERIFY2(document().lap().value() != before.lap, "the lap line did not move");
    win()->menus().action(u"actionThemeVanillaLake"_s)->trigger();

    // A zone drawn on free ground: the first 4 x 4 zone cells no zone covers.
    QPoint free(-1, -1);
    for (int y = 0; y < 60 && free.x() < 0; y += 4) {
        for (int x = 0; x < 60 && free.x() < 0; x += 4) {
            bool empty = true;
            for (int k = 0; k < 16; ++k)
                empty = empty && !document().zones().zoneAt(QPointF((x + k % 4) * 16 + 8, (y + k / 4) * 16 + 8));
            if (empty)
                free = QPoint(x, y);
        }
    }
    QVERIFY2(free.x() >= 0, "no free ground for a zone");
    const std::size_t zones = before.ai.zones.size();
    QTest::keyClick(win(), Qt::Key_Z);
    drag(QPointF(free * 16 + QPoint(4, 4)), QPointF(free * 16 + QPoint(60, 60)));
    QCOMPARE(document().zones().value().zones.size(), zones + 1);
    const rom::Target placed = document().zones().value().targets[zones];
    QTest::keyClick(win(), Qt::Key_G);
    drag(QPointF(placed.x * 8 + 4, placed.y * 8 + 4), QPointF(placed.x * 8 + 12, placed.y * 8 + 4));
    QCOMPARE(document().zones().value().targets[zones].x, placed.x + 1);
    win()->menus().action(u"actionViewRaceOrder"_s)->trigger();
    auto *panel = win()->findChild<RaceOrderPanel *>(u"raceOrderPanel"_s);
    QVERIFY(panel);
    QCOMPARE(panel->currentZone(), int(zones));
    QTest::mouseClick(panel->findChild<QPushButton *>(u"raceOrderUp"_s), Qt::LeftButton);
    const rom::CourseAi ai = document().zones().value();
    QCOMPARE(ai.targets[zones - 1].x, placed.x + 1);
    const int steps = document().undoStack()->count();
    QCOMPARE(steps, 7);

    saveByKey();
    QCOMPARE(mFixture->messages.titles(), QStringList());
    QVERIFY(!document().isModified());

    // Read here from the bytes where the game keeps them, not by the program's readers.
    const QByteArray saved = readAll(romPath());
    const auto byte = [&saved](std::size_t at) { return std::uint8_t(saved.at(qsizetype(at) + 0x200)); };
    const auto word = [&byte](std::size_t at) { return byte(at) | byte(at + 1) << 8; };
    const std::size_t id = 0x07, slot = rom::map::ItemSlots + id * 128, grid = test::startRecordOf(7) + 2;
    const std::size_t last = slot + 3 * before.items.size(), lapAt = rom::map::LapLines + id * 6;
    QCOMPARE(byte(last), std::uint8_t(0));
    QCOMPARE(word(last + 1), 90 * 128 + 100);
    QCOMPARE(word(last + 4), 0xFFFF);
    QCOMPARE(word(grid), start.x + 40);
    QCOMPARE(word(lapAt), document().lap().value()->y);
    QCOMPARE(byte(rom::map::CourseThemes + id), std::uint8_t(rom::Theme::VanillaLake));
    QCOMPARE(byte(rom::map::ObjectKinds + id), std::uint8_t(rom::Theme::VanillaLake));
    QVERIFY(gameAi(saved, int(id)) == aiBytes(ai));
    for (int other = 0; other < rom::CourseCount; ++other) {
        if (other != int(id))
            QVERIFY2(gameAi(saved, other) == gameAi(mOriginal, other), qPrintable(u"course %1's AI changed"_s.arg(other)));
    }
    // Nothing else changed: outside these blocks, the AI bank and the header's checksum pair
    // (which follows every write), every byte is as it was.
    const QList<std::pair<std::size_t, std::size_t>> blocks = {{slot, 128}, {grid, 6}, {lapAt, 6},
        {rom::map::CourseThemes + id, 1}, {rom::map::ObjectKinds + id, 1},
        {rom::map::AiZonePointers, 2 * rom::CourseCount}, {rom::map::AiTargetPointers, 2 * rom::CourseCount},
        {rom::map::AiBankStart, rom::map::AiBankSize},
        {rom::header::Complement, rom::header::End - rom::header::Complement}};
    for (qsizetype k = 0x200; k < saved.size(); ++k) {
        const std::size_t at = std::size_t(k - 0x200);
        const bool inside = std::any_of(blocks.begin(), blocks.end(),
            [at](const auto &b) { return at >= b.first && at < b.first + b.second; });
        if (!inside && saved.at(k) != mOriginal.at(k))
            QFAIL(qPrintable(u"byte 0x%1 changed outside the blocks"_s.arg(at, 0, 16)));
    }
    // Each step undoes on its own, back to the course as it was opened.
    for (int step = 0; step < steps; ++step)
        document().undoStack()->undo();
    QVERIFY(document().courseData() == before);
}

void TestWindowSave::aTrackFileLeavesTheRaceUnsaved()
{
    QVERIFY(start(true, true));
    QVERIFY2(openMarioCircuit1(), "Open Course from ROM did not take the working ROM");
    rom::OverlayItems items = document().items().value();
    items.push_back({0, 2, 100, 90});
    document().items().replace(items, u"Place Item Box"_s);
    mFixture->dialog.pick(mFixture->folder.filePath(u"course.bin"_s));
    QTest::keyClick(win(), Qt::Key_S, Qt::ControlModifier);
    QVERIFY(QFile::exists(mFixture->folder.filePath(u"course.bin"_s)));
    QVERIFY(document().isModified());

    // Asked to save (yes, though nothing changed, over the same file), the window writes a track
    // file again; the item box is still in no file, and a last question says so. No keeps the
    // window open with the item box.
    for (const auto answer : {MessageBoxes::Answer::Yes, MessageBoxes::Answer::Yes, MessageBoxes::Answer::Yes,
                              MessageBoxes::Answer::No})
        mFixture->messages.answer(answer);
    mFixture->dialog.pick(mFixture->folder.filePath(u"course.bin"_s));
    QVERIFY(!win()->close());
    QVERIFY2(mFixture->messages.messages().constLast().text.startsWith(u"The track file holds only the tiles"_s),
             qPrintable(mFixture->messages.titles().join(u", "_s)));
    QCOMPARE(document().items().value(), items);
    QCOMPARE(mFixture->messages.unanswered(), 0);
    QCOMPARE(mFixture->messages.unexpected(), 0);
}

void TestWindowSave::savesTheObjectAreasTheRaceOrderMoved()
{
    // The course that races, whose ROM holds the object areas' records.
    QVERIFY(startWith(test::toQByteArray(test::checkRom().bytes)));
    QVERIFY2(openMarioCircuit1(), "Open Course from ROM did not take the working ROM");
    std::optional<rom::ObjectAreas> areas = document().objectAreas().value();
    QVERIFY2(areas, qPrintable(document().objectAreas().unreadableReason()));
    areas->thresholds[1] += 1;
    document().objectAreas().replace(areas, u"Shift Object Areas"_s);
    saveByKey();
    QCOMPARE(mFixture->messages.titles(), QStringList());
    const codec::Bytes saved = test::bytesOf(readAll(romPath()));
    const std::optional<rom::RomImage> image = rom::RomImage::open(saved);
    QVERIFY(image);
    const rom::LayerRead<rom::ObjectAreas> back = rom::readObjectAreas(*image, 0x07);
    QVERIFY2(back.ok(), back.error.c_str());
    QCOMPARE(back.value->thresholds, areas->thresholds);
}

void TestWindowSave::exportsAndImportsCourseFiles()
{
    QVERIFY(start(true, true));
    QVERIFY2(openMarioCircuit1(), "Open Course from ROM did not take the working ROM");
    const QString file = mFixture->folder.filePath(u"mc1.vcourse"_s);
    mFixture->dialog.pick(file);
    win()->menus().action(u"actionExportCourse"_s)->trigger();
    const rom::CourseData opened = *document().courseData();
    QCOMPARE(readAll(file), *coursefile::write(opened));

    // Another course's file goes into this course's place, as one step.
    rom::CourseData other = test::syntheticCourses()[0x00];
    other.ai.spare.clear();
    const QString otherFile = mFixture->folder.filePath(u"mc3.vcourse"_s);
    QVERIFY(writeAll(otherFile, *coursefile::write(other)));
    mFixture->dialog.pick(otherFile);
    win()->menus().action(u"actionImportCourse"_s)->trigger();
    QCOMPARE(document().undoStack()->count(), 1);
    rom::CourseData placed = other;
    placed.id = 0x07;
    placed.name = "Mario Circuit 1";
    QVERIFY(document().courseData() == placed);
    document().undoStack()->undo();
    QVERIFY(document().courseData() == opened);

    // A bad file: the reader's key path and reason, and the document as it was.
    QByteArray bad = *coursefile::write(other);
    bad.replace("\"theme\": ", "\"theme\": 9");
    QVERIFY(writeAll(otherFile, bad));
    mFixture->dialog.pick(otherFile);
    win()->menus().action(u"actionImportCourse"_s)->trigger();
    QCOMPARE(mFixture->messages.titles(), QStringList {u"Course Not Imported"_s});
    QVERIFY2(mFixture->messages.messages().constLast().text.contains(u"theme: "_s),
             qPrintable(mFixture->messages.messages().constLast().text));
    QVERIFY(document().courseData() == opened);
}

void TestWindowSave::dropOpensByKind_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("modified");
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<bool>("imported");
    QTest::newRow("a course file") << u"c.vcourse"_s << false << QStringList() << true;
    QTest::newRow("a course file over unsaved work, cancelled")
        << u"c.vcourse"_s << true << QStringList {u"Unsaved Changes"_s} << false;
    QTest::newRow("anything else") << u"notes.txt"_s << true << QStringList {u"File Not Opened"_s} << false;
    // Names after the first, ";" apart, are dropped with it.
    QTest::newRow("two files") << u"c.vcourse;d.vcourse"_s << false << QStringList {u"File Not Opened"_s} << false;
    QTest::newRow("a web address") << u"https://example.org/c.vcourse"_s << false << QStringList {u"File Not Opened"_s}
                                   << false;
}

void TestWindowSave::dropOpensByKind()
{
    QFETCH(QString, name);
    QFETCH(bool, modified);
    QFETCH(QStringList, titles);
    QFETCH(bool, imported);
    QVERIFY(start(true, true));
    QVERIFY2(openMarioCircuit1(), "Open Course from ROM did not take the working ROM");
    rom::CourseData course = *document().courseData();
    course.items.clear();
    QList<QUrl> urls;
    for (const QString &part : name.split(u';')) {
        if (part.contains(u"://"_s)) {
            urls.append(QUrl(part));
            continue;
        }
        const QString path = mFixture->folder.filePath(part);
        QVERIFY(writeAll(path, *coursefile::write(course)));
        urls.append(QUrl::fromLocalFile(path));
    }
    if (modified)
        document().setTheme(rom::Theme::RainbowRoad, u"Theme"_s);
    mFixture->messages.answer(MessageBoxes::Answer::Cancel);
    QVERIFY(drop(urls));
    if (imported)
        QTRY_VERIFY_WITH_TIMEOUT(document().items().value().empty(), 5000);
    else
        QTRY_COMPARE_WITH_TIMEOUT(mFixture->messages.titles(), titles, 5000);
    QCOMPARE(mFixture->messages.titles(), titles);
    QCOMPARE(document().items().value().empty(), imported);
}

void TestWindowSave::checksAfterEverySaveAndOnF7()
{
    QVERIFY(startWith(test::toQByteArray(test::checkRom().bytes)));
    QVERIFY2(openMarioCircuit1(), "Open Course from ROM did not take the working ROM");
    CourseCheckUi &check = win()->courseCheck();
    QCOMPARE(document().layer(u"check"_s), check.layer());
    QStringList cells = document().map().texts();
    cells[cellIndex(56, 20)] = u"20"_s; // a wall under the third kart
    paint(cells);
    saveByKey();
    QCOMPARE(mFixture->messages.titles(), QStringList());
    QCOMPARE(check.summaryLabel()->text(), u"1 error, 0 warnings"_s);
    QTreeWidget *list = check.findingsList();
    QCOMPARE(list->topLevelItemCount(), 1);
    QTreeWidgetItem *item = list->topLevelItem(0);
    QCOMPARE(QStringList({item->text(0), item->text(1), item->text(2)}),
             QStringList({u"error"_s, u"(20, 56)"_s,
                          u"start grid kart 3 at (160, 448) is on a wall tile 0x20"_s}));
    QCOMPARE(check.layer()->findings().size(), std::size_t(1));
    QCOMPARE(FindingsLayer::cellsOf(check.layer()->findings()[0]), QRect(20, 56, 1, 1));

    // F7 shows the findings; a click on one brings its cells into the middle of the map.
    QTest::keyClick(win(), Qt::Key_F7);
    QVERIFY(check.findingsWindow()->isVisible());
    QVERIFY(QTest::qWaitForWindowExposed(check.findingsWindow()));
    // F7 checked again, so the list holds new entries.
    QCOMPARE(list->topLevelItemCount(), 1);
    item = list->topLevelItem(0);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
    QCOMPARE(win()->client()->horizontalScrollBar()->value(), 20 - 16);
    QCOMPARE(win()->client()->verticalScrollBar()->value(), 56 - 10);

    // Mended, the course checks clean, also before it is saved.
    cells[cellIndex(56, 20)] = u"01"_s;
    paint(cells);
    QTest::keyClick(win(), Qt::Key_F7);
    QCOMPARE(check.summaryLabel()->text(), u"0 errors, 0 warnings"_s);
    QCOMPARE(list->topLevelItemCount(), 0);
    QVERIFY(check.layer()->findings().empty());
}

void TestWindowSave::testRunGivesTheEmulatorACopy()
{
    QTemporaryDir home;
    const PathSetTo noEmulators(home.path());
    emulator::store({});
    QVERIFY(start(false));
    QVERIFY2(openMarioCircuit1(), "Open Course from ROM did not take the working ROM");
    QStringList cells = document().map().texts();
    cells[cellIndex(20, 30)] = u"4D"_s;
    paint(cells);
    const QString recorded = home.filePath(u"args.json"_s);
    const QString given = home.filePath(u"given.smc"_s);
    qputenv("RECORD_ARGS_OUT", recorded.toLocal8Bit());
    qputenv("RECORD_ARGS_COPY", given.toLocal8Bit());
    // None chosen yet: F5 asks first, and says that none was found on the PATH.
    mFixture->preferences.answer(QStringLiteral(VELMOR_RECORD_ARGS), u"--fullscreen \"%f\""_s);
    QTest::keyClick(win(), Qt::Key_F5);
    QCOMPARE(mFixture->messages.titles(), QStringList());
    QCOMPARE(mFixture->preferences.requests().size(), 1);
    QVERIFY(mFixture->preferences.requests().front().note.contains(u"No emulator was found"_s));
    QTRY_VERIFY2_WITH_TIMEOUT(recordedArguments(recorded).size() == 2,
        "the stand-in emulator did not record its arguments within 10 s", 10000);
    const QStringList arguments = recordedArguments(recorded);
    QCOMPARE(arguments.front(), u"--fullscreen"_s);
    QCOMPARE(QFileInfo(arguments.back()).fileName(), u"kart_velmor.smc"_s);
    QVERIFY(QFileInfo(arguments.back()).absolutePath() != mFixture->folder.path());
    // The emulator got the document's course; the user's ROMs, the restore points and the
    // document's state are as they were.
    QCOMPARE(marioCircuit1In(readAll(given), false), cells);
    QCOMPARE(readAll(romPath()), mOriginal);
    QCOMPARE(readAll(mFixture->folder.filePath(u"kart.smc"_s)), mOriginal);
    QVERIFY(!QFileInfo::exists(RestorePoints(romPath()).folder()));
    QVERIFY(document().isModified());
    QVERIFY(win()->statusBar()->currentMessage().contains(u"kart_velmor.smc"_s));

    // The choice is kept: the next run asks nothing and gets a fresh copy.
    QVERIFY(QFile::remove(recorded));
    QTest::keyClick(win(), Qt::Key_F5);
    QCOMPARE(mFixture->preferences.requests().size(), 1);
    QTRY_VERIFY2_WITH_TIMEOUT(recordedArguments(recorded).size() == 2,
        "the second test run's emulator did not record its arguments within 10 s", 10000);
    QVERIFY(recordedArguments(recorded).back() != arguments.back());
}

void TestWindowSave::testRunReportsWhyItCannotStart_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("said");
    QTest::newRow("removed since it was chosen") << u"gone/emulator"_s << u"does not exist"_s;
    QTest::newRow("not executable") << u"kart.smc"_s << u"is not executable"_s;
    QTest::newRow("no longer on the PATH") << u"velmor-no-such-emulator"_s << u"on the PATH"_s;
}

void TestWindowSave::testRunReportsWhyItCannotStart()
{
    QFETCH(QString, program);
    QFETCH(QString, said);
    QVERIFY(start(false));
    const QString path = program.contains(u'.') || program.contains(u'/')
        ? mFixture->folder.filePath(program)
        : program;
    emulator::store({path, u"%f"_s, {}});
    QTest::keyClick(win(), Qt::Key_F5);
    QCOMPARE(mFixture->messages.titles(), QStringList {u"Test in Emulator"_s});
    QVERIFY2(mFixture->messages.messages().front().text.contains(said),
        qPrintable(mFixture->messages.messages().front().text));
    QCOMPARE(readAll(romPath()), mOriginal);
}

void TestWindowSave::emulatorArguments_data()
{
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("the ROM alone") << u"%f"_s << QStringList {u"/r/a b.smc"_s};
    QTest::newRow("no %f: the ROM last") << u"-f"_s << QStringList {u"-f"_s, u"/r/a b.smc"_s};
    QTest::newRow("quoted, inside an option")
        << u"-L \"/cores/snes 9x.so\" --rom=%f"_s
        << QStringList {u"-L"_s, u"/cores/snes 9x.so"_s, u"--rom=/r/a b.smc"_s};
}

void TestWindowSave::emulatorArguments()
{
    QFETCH(QString, arguments);
    QFETCH(QStringList, expected);
    QCOMPARE(emulator::argumentsFor(arguments, u"/r/a b.smc"_s), expected);
}

void TestWindowSave::emulatorsFoundOnThePath()
{
    QTemporaryDir bin;
    const PathSetTo path(bin.path());
    for (const QString &name : {u"mednafen"_s, u"retroarch"_s, u"zsnes"_s}) {
        QVERIFY(writeAll(bin.filePath(name), "#!/bin/sh\n"));
        QVERIFY(QFile::setPermissions(bin.filePath(name), QFile::ExeOwner | QFile::ReadOwner));
    }
    QFile::setPermissions(bin.filePath(u"zsnes"_s), QFile::ReadOwner); // not executable
    QVERIFY(QDir(bin.path()).mkdir(u"cores"_s));
    QVERIFY(writeAll(bin.filePath(u"cores/snes9x_libretro.so"_s), "core"));
    const QList<Emulator> found = emulator::foundOnPath({bin.filePath(u"cores"_s)});
    QCOMPARE(found.size(), 2);
    QCOMPARE(found[0].name, u"mednafen"_s);
    QCOMPARE(found[0].arguments, u"%f"_s);
    QCOMPARE(found[1].program, bin.filePath(u"retroarch"_s));
    QCOMPARE(found[1].arguments, u"-L %1 %f"_s.arg(bin.filePath(u"cores/snes9x_libretro.so"_s)));
}

void TestWindowSave::restoresTheThirdOfTenSaves()
{
    QVERIFY(start(false));
    QVERIFY2(openMarioCircuit1(), "Open Course from ROM did not take the working ROM");
    QList<QByteArray> before;
    QStringList cells = document().map().texts();
    for (int k = 0; k < 10; ++k) {
        before << readAll(romPath());
        cells[cellIndex(50, 10 + k)] = u"3C"_s;
        paint(cells);
        saveByKey();
    }
    QCOMPARE(mFixture->messages.titles(), QStringList());
    // The third save's point is the eighth newest.
    mFixture->restorePoints.choose(7);
    win()->menus().action(u"actionRestorePoints"_s)->trigger();
    QCOMPARE(mFixture->messages.titles(), QStringList());
    const QList<RestorePointDialog::Row> rows = mFixture->restorePoints.shown().constLast();
    QCOMPARE(rows.size(), 10);
    for (const RestorePointDialog::Row &row : rows)
        QVERIFY2(row.usable && row.course == u"Mario Circuit 1"_s, qPrintable(row.problem));
    QVERIFY(readAll(romPath()) == before[2]);
    // Velmor made that change itself: the next save is no save over another program's change.
    saveByKey();
    QCOMPARE(mFixture->messages.titles(), QStringList());
    QCOMPARE(marioCircuit1In(readAll(romPath()), false), cells);

    // A damaged point is listed as damaged, and no restore goes through it.
    const RestorePoints points(romPath());
    const QString newest = points.list().points.front().path;
    QByteArray damaged = readAll(newest);
    damaged[damaged.size() / 2] = char(damaged.at(damaged.size() / 2) ^ 0x40);
    QVERIFY(writeAll(newest, damaged));
    const QByteArray now = readAll(romPath());
    mFixture->restorePoints.choose(3);
    win()->menus().action(u"actionRestorePoints"_s)->trigger();
    const RestorePointDialog::Row first = mFixture->restorePoints.shown().constLast().front();
    QVERIFY(!first.usable);
    QVERIFY2(first.problem.startsWith(u"damaged"_s), qPrintable(first.problem));
    QCOMPARE(mFixture->messages.titles(), QStringList {u"Restore Points"_s});
    QVERIFY(mFixture->messages.messages().front().text.contains(u"never applied"_s));
    QCOMPARE(readAll(romPath()), now);
}

void TestWindowSave::tooLargeOffersExpandRomAndMovesTheCourse()
{
    QVERIFY(start(true));
    QVERIFY2(openMarioCircuit1(), "Open Course from ROM did not take the working ROM");
    const QStringList cells = noise();
    paint(cells);
    const QString expanded = mFixture->folder.filePath(u"kart_8mbit.smc"_s);
    mFixture->messages.answer(MessageBoxes::Answer::Yes); // expand now
    mFixture->dialog.pick(romPath()); // the ROM to expand
    mFixture->messages.answer(MessageBoxes::Answer::Yes); // to 8 Mbit
    mFixture->dialog.pick(expanded);
    saveByKey();
    QCOMPARE(mFixture->messages.titles(),
        (QStringList{u"Course Not Saved"_s, u"Expand ROM"_s, u"ROM Expanded"_s}));
    QVERIFY2(mFixture->messages.messages().constFirst().text.contains(u"Expand ROM"_s),
        qPrintable(mFixture->messages.messages().constFirst().text));
    // The new file's name is proposed beside the ROM.
    QCOMPARE(mFixture->dialog.showings().constLast().settings.fileName,
        mFixture->folder.filePath(u"kart_velmor_8mbit.smc"_s));
    QCOMPARE(readAll(romPath()), mOriginal);
    const QByteArray saved = readAll(expanded);
    QCOMPARE(saved.size(), 0x100200);
    QCOMPARE(marioCircuit1ByPointer(saved), cells);
    QCOMPARE(document().romPath(), expanded);
    QVERIFY(!document().isModified());
    // File ▸ Expand ROM… runs the same steps; cancelled at its first dialog it writes nothing.
    QAction *expand = win()->menus().action(u"actionExpandRom"_s);
    QVERIFY(expand);
    QCOMPARE(expand->text(), u"E&xpand ROM…"_s);
    const int shown = int(mFixture->dialog.showings().size());
    expand->trigger();
    QCOMPARE(int(mFixture->dialog.showings().size()), shown + 1);
    QCOMPARE(mFixture->dialog.showings().constLast().settings.fileName, expanded);
    // Opened again, the course comes from where it lives now.
    mFixture->dialog.pick(expanded);
    win()->menus().action(u"actionOpenCourseFromRom"_s)->trigger();
    QCOMPARE(document().map().texts(), cells);
}

void TestWindowSave::japaneseRomIsRefusedByName()
{
    QVERIFY(start(true));
    test::GameRomOptions options;
    options.region = rom::Region::Japan;
    const QByteArray japanese = test::toQByteArray(test::gameRom(options).bytes);
    const QString path = mFixture->folder.filePath(u"japan.smc"_s);
    QVERIFY(writeAll(path, japanese));
    const QString said = u"This is the Japanese ROM of the game; Velmor writes only into the US ROM."_s;
    mFixture->dialog.pick(path);
    win()->menus().action(u"actionOpenCourseFromRom"_s)->trigger();
    QVERIFY2(mFixture->messages.messages().constLast().text.contains(said),
        qPrintable(mFixture->messages.messages().constLast().text));
    QVERIFY(document().romPath().isEmpty());

    QStringList cells = document().map().texts();
    cells[cellIndex(7, 7)] = u"3C"_s;
    paint(cells);
    mFixture->dialog.pick(path);
    mFixture->messages.answer(MessageBoxes::Answer::Yes); // write into the existing ROM
    saveByKey();
    QCOMPARE(mFixture->messages.titles().constLast(), u"Course Not Saved"_s);
    QVERIFY2(mFixture->messages.messages().constLast().text.contains(said),
        qPrintable(mFixture->messages.messages().constLast().text));
    QCOMPARE(readAll(path), japanese);
}

VELMOR_TEST_MAIN(TestWindowSave)
#include "test_window_save.moc"
