#include "app/client_window.h"
#include "app/main_window.h"
#include "app/splash.h"
#include "app/window_menus.h"
#include "codec/codec.h"
#include "course/restore_points.h"
#include "course/track_file.h"
#include "document/course_document.h"
#include "document/map_history.h"
#include "rom/course_catalogue.h"
#include "rom/rom_map.h"
#include "tests/app/window_fixture.h"
#include "tests/support/synthetic_rom.h"
#include "tests/support/test_main.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QRandomGenerator>
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
    void tooLargeOffersExpandRomAndMovesTheCourse();
    void japaneseRomIsRefusedByName();

private:
    bool start(bool headered);
    bool openMarioCircuit1();
    void paint(const QStringList &cells);
    void saveByKey();
    MainWindow *win() const { return mFixture->window.get(); }
    CourseDocument &document() const { return win()->client()->document(); }
    QString romPath() const { return mFixture->folder.filePath(u"kart_velmor.smc"_s); }

    std::unique_ptr<test::MainWindowFixture> mFixture;
    QByteArray mOriginal;
};

bool TestWindowSave::start(bool headered)
{
    mOriginal = test::toQByteArray(test::gameRom({.seed = 7, .copierHeader = headered}).bytes);
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
    saveByKey();
    QCOMPARE(mFixture->messages.titles(), QStringList {u"Course Not Saved"_s});
    QVERIFY2(mFixture->messages.messages().constLast().text.contains(said),
        qPrintable(mFixture->messages.messages().constLast().text));
    QVERIFY(document().isModified());
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
