#include "course/import_track.h"
#include "course/rom_course.h"
#include "course/track_file.h"
#include "course/track_state.h"
#include "document/course_map.h"
#include "codec/codec.h"
#include "tests/course/import_fixture.h"
#include "tests/course/track_fixtures.h"
#include "tests/support/test_main.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace velmor;
using namespace velmor::test;

namespace {

constexpr qint64 HeaderedSize = 524800;
constexpr qint64 HeaderlessSize = 524288;
constexpr qint64 CopierHeader = 0x200;
// Past the 1000 tiles of the unfinished course.
constexpr int FarCell = 9000;

const QString MarioCircuit1 = QStringLiteral("68f2c - Mario Circuit 1");
const QString VanillaLake1 = QStringLiteral("3123c - Vanilla Lake 1");

QByteArray compress(const QByteArray &data)
{
    const auto *first = reinterpret_cast<const std::uint8_t *>(data.constData());
    const codec::Bytes packed = codec::compress(codec::ByteView(first, std::size_t(data.size())));
    return QByteArray(reinterpret_cast<const char *>(packed.data()), qsizetype(packed.size()));
}

// A course as insertion leaves it in a ROM: the track file, compressed once more.
QByteArray courseStream(const QStringList &texts)
{
    return compress(track::toBytes(track::encode(texts)).value());
}

// Tiles in lower case, so the test also sees the opening upper-case them.
QStringList randomMap(quint32 seed)
{
    QRandomGenerator random(seed);
    QStringList texts;
    for (int i = 0; i < CellCount; ++i)
        texts.append(QStringLiteral("%1").arg(random.bounded(256), 2, 16, QLatin1Char('0')));
    return texts;
}

// Runs of a few tiles, as painted courses have: small enough to leave room for a decoy.
QStringList patternedMap(quint32 seed)
{
    QRandomGenerator random(seed);
    const QStringList palette {QStringLiteral("0c"), QStringLiteral("4A"), QStringLiteral("e5")};
    QStringList texts;
    while (texts.size() < CellCount) {
        const QString tile = palette.at(random.bounded(int(palette.size())));
        for (int k = random.bounded(64, 900); k > 0 && texts.size() < CellCount; --k)
            texts.append(tile);
    }
    return texts;
}

QStringList upper(QStringList texts)
{
    for (QString &text : texts)
        text = text.toUpper();
    return texts;
}

QByteArray randomBytes(qint64 size, quint32 seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator random(seed);
    for (char &byte : bytes)
        byte = char(random.bounded(256));
    return bytes;
}

} // namespace

class TestImportRom : public QObject, private ImportFixture
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void romPaths_data();
    void romPaths();
    void opensCourse_data();
    void opensCourse();
    void innerStreamMayUseEveryCommand();
    void fewerTilesAreFilledAndTold();
    void refusalLeavesMapAlone_data();
    void refusalLeavesMapAlone();
};

void TestImportRom::init()
{
    setUpImport();
}

void TestImportRom::cleanup()
{
    verifyScriptsUsed();
}

void TestImportRom::romPaths_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("isRom");
    QTest::newRow("smc") << QStringLiteral("/roms/smk.smc") << true;
    QTest::newRow("SFC") << QStringLiteral("C:/Roms/SMK.SFC") << true;
    QTest::newRow("mixed case") << QStringLiteral("smk.Smc") << true;
    QTest::newRow("bin") << QStringLiteral("/roms/track.bin") << false;
    QTest::newRow("smc before bin") << QStringLiteral("/roms/smk.smc.bin") << false;
    QTest::newRow("folder named smc") << QStringLiteral("/roms.smc/track") << false;
}

void TestImportRom::romPaths()
{
    QFETCH(QString, path);
    QFETCH(bool, isRom);
    QCOMPARE(isRomPath(path), isRom);
}

void TestImportRom::opensCourse_data()
{
    QTest::addColumn<QString>("course");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<qint64>("romSize");
    QTest::addColumn<qint64>("streamAt");
    QTest::addColumn<QStringList>("painted");

    QTest::newRow("headered, random") << MarioCircuit1 << QStringLiteral("smk.smc") << HeaderedSize
                                      << qint64(0x68f2c) << randomMap(11);
    QTest::newRow("headerless, random") << MarioCircuit1 << QStringLiteral("smk.sfc")
                                        << HeaderlessSize << qint64(0x68f2c - CopierHeader)
                                        << randomMap(12);
    QTest::newRow("headered, patterned") << MarioCircuit1 << QStringLiteral("SMK.SMC")
                                         << HeaderedSize << qint64(0x68f2c) << patternedMap(13);
    QTest::newRow("Vanilla Lake 1, headered") << VanillaLake1 << QStringLiteral("smk.smc")
                                              << HeaderedSize << qint64(0x3123c)
                                              << patternedMap(14);
    QTest::newRow("Vanilla Lake 1, headerless") << VanillaLake1 << QStringLiteral("smk.smc")
                                                << HeaderlessSize << qint64(0x3103c)
                                                << randomMap(15);
}

void TestImportRom::opensCourse()
{
    QFETCH(QString, course);
    QFETCH(QString, fileName);
    QFETCH(qint64, romSize);
    QFETCH(qint64, streamAt);
    QFETCH(QStringList, painted);

    QByteArray rom = randomBytes(romSize, quint32(streamAt));
    const QByteArray stream = courseStream(painted);
    // A different course where a reader that got the copier header backwards would look, when
    // it fits before the real one.
    const QByteArray decoy = courseStream(mapWith(QStringLiteral("21")));
    if (romSize == HeaderedSize && decoy.size() <= CopierHeader)
        rom.replace(streamAt - CopierHeader, decoy.size(), decoy);
    rom.replace(streamAt, stream.size(), stream);
    QCOMPARE(rom.size(), romSize);
    const QString path = writeFile(fileName, rom);
    mState.trackPath = mDir->filePath(QStringLiteral("earlier.bin"));
    paintSomething(FarCell);
    mDialog->pick(path);
    QSignalSpy changes(mMap.get(), &CourseMap::cellsChanged);

    QCOMPARE(importTrack(*mMap, mState, *mServices, course), ImportResult::Opened);

    verifyImportDialog();
    QVERIFY2(mMessages->messages().isEmpty(), qPrintable(mMessages->messages().value(0).text));
    QCOMPARE(changes.size(), 1);
    QCOMPARE(mMap->texts(), upper(painted));
    QCOMPARE(mMap->marks(), QList<Mark>(CellCount, Mark::Untouched));
    // A ROM is never proposed later as a track file to write.
    QCOMPARE(mState.trackPath, mDir->filePath(QStringLiteral("earlier.bin")));
}

void TestImportRom::innerStreamMayUseEveryCommand()
{
    // The game's own courses use every command in the inner stream too, not only the copies and
    // fills that a track file is written with.
    QByteArray inner = bytes({
        0x00, 0x11, // direct copy: 11
        0x23, 0x22, // byte fill: 22 22 22 22
        0x44, 0x33, 0x44, // word fill: 33 44 33 44 33
        0x63, 0xFE, // increasing fill: FE FF 00 01
        0x82, 0x01, 0x00, // absolute copy from 1: 22 22 22
        0xA1, 0x05, 0x00, // absolute inverted copy from 5: CC BB
        0xC2, 0x04, // relative copy from 4 back: 22 22 CC
        0xFC, 0x01, 0x03, // long relative inverted copy from 3 back: DD DD
    });
    const QByteArray head = bytes({0x11, 0x22, 0x22, 0x22, 0x22, 0x33, 0x44, 0x33, 0x44, 0x33, 0xFE,
        0xFF, 0x00, 0x01, 0x22, 0x22, 0x22, 0xCC, 0xBB, 0x22, 0x22, 0xCC, 0xDD, 0xDD});
    // The rest of the map in long byte fills of 5A: 15 of 1024 tiles and one of 1000.
    inner += repeated(bytes({0xE7, 0xFF, 0x5A}), 15) + bytes({0xE7, 0xE7, 0x5A, 0xFF});
    const QByteArray tiles = head + QByteArray(CellCount - head.size(), char(0x5A));

    QByteArray rom = randomBytes(HeaderedSize, 5);
    const QByteArray stream = compress(inner);
    rom.replace(0x68f2c, stream.size(), stream);
    const RomCourse course = readRomCourse(rom, 0x68f2c);
    QVERIFY2(course.ok(), qPrintable(course.error));
    QCOMPARE(course.tileCount, CellCount);
    QCOMPARE(course.streamOffset, qint64(0x68f2c));
    for (int i = 0; i < CellCount; ++i) {
        const QString expected = QString::number(quint8(tiles.at(i)), 16).rightJustified(2, u'0');
        if (course.texts.at(i) != expected.toUpper())
            QFAIL(qPrintable(QStringLiteral("cell %1: %2").arg(i).arg(course.texts.at(i))));
    }
}

void TestImportRom::fewerTilesAreFilledAndTold()
{
    QByteArray rom = randomBytes(HeaderlessSize, 8);
    // 1000 tiles of "5d" only: the track file of an unfinished course.
    const QByteArray trackFile = repeated(bytes({0x3F, 0x5d}), 31) + bytes({0x27, 0x5d, 0xFF});
    const QByteArray stream = compress(trackFile);
    rom.replace(0x3103c, stream.size(), stream);
    const QString path = writeFile(QStringLiteral("short.sfc"), rom);
    paintSomething(FarCell);
    mDialog->pick(path);

    QCOMPARE(importTrack(*mMap, mState, *mServices, VanillaLake1), ImportResult::Partial);

    QCOMPARE(mMap->text(999), QStringLiteral("5D"));
    QCOMPARE(mMap->text(1000), QStringLiteral("00"));
    QCOMPARE(mMap->text(FarCell), QStringLiteral("00"));
    QCOMPARE(mMap->mark(0), Mark::Untouched);
    QCOMPARE(mMessages->messages().size(), 1);
    const QString text = mMessages->messages().at(0).text;
    for (const QString &fact : {QStringLiteral(" 1000 "), VanillaLake1, path.toUpper()})
        QVERIFY2(text.contains(fact), qPrintable(text));
}

void TestImportRom::refusalLeavesMapAlone_data()
{
    QTest::addColumn<QString>("course");
    QTest::addColumn<qint64>("romSize"); // 0: the file is gone
    QTest::addColumn<QByteArray>("stream"); // written at Mario Circuit 1's headered offset
    QTest::addColumn<QStringList>("facts"); // what the message must say

    const QByteArray fine = courseStream(mapWith(QStringLiteral("07")));
    QTest::newRow("cup header") << QStringLiteral("MUSHROOM CUP") << HeaderedSize << fine
                                << QStringList {QStringLiteral("\"MUSHROOM CUP\" is no course")};
    QTest::newRow("typed text") << QStringLiteral("68f2") << HeaderedSize << fine
                                << QStringList {QStringLiteral("\"68f2\" is no course")};
    QTest::newRow("offset of no course") << QStringLiteral("68f2d") << HeaderedSize << fine
                                         << QStringList {QStringLiteral("\"68f2d\" names no course of the game")};
    QTest::newRow("past the end, headered")
        << QStringLiteral("7ef3b - Battle Course 4") << qint64(0x40200) << QByteArray()
        << QStringList {QStringLiteral("offset 0x7ef3b"), QStringLiteral("262656 bytes")};
    QTest::newRow("past the end, headerless")
        << QStringLiteral("7ef3b - Battle Course 4") << qint64(0x40000) << QByteArray()
        << QStringList {QStringLiteral("offset 0x7ed3b"), QStringLiteral("262144 bytes")};
    QTest::newRow("no ROM size") << MarioCircuit1 << HeaderedSize + 1 << fine
                                 << QStringList {QStringLiteral("524801 bytes is no SNES ROM")};
    QTest::newRow("copy before the start")
        << MarioCircuit1 << HeaderedSize << bytes({0x20, 0x01, 0xC0, 0x09})
        << QStringList {QStringLiteral("no valid compressed stream at offset 0x68f2c"),
               QStringLiteral("relative copy"), QStringLiteral("at offset 0x68f2e")};
    // Byte fills of "01" up to the last byte of a ROM that ends 0x2d4 bytes after the course.
    QTest::newRow("runs off the end")
        << MarioCircuit1 << qint64(0x69200) << repeated(bytes({0x20, 0x01}), 0x2d4 / 2)
        << QStringList {QStringLiteral("0xFF end marker"), QStringLiteral("at offset 0x69200")};
    QTest::newRow("track copies before its start")
        << MarioCircuit1 << HeaderedSize << compress(bytes({0x20, 0x05, 0xC0, 0x09, 0xFF}))
        << QStringList {QStringLiteral("holds no track"), QStringLiteral("relative copy"),
               QStringLiteral("at byte 0x2 of its 5 decoded bytes")};
    QTest::newRow("track without end marker")
        << MarioCircuit1 << HeaderedSize << compress(bytes({0x3F, 0x01}))
        << QStringList {QStringLiteral("holds no track"), QStringLiteral("end marker")};
    QTest::newRow("empty track") << MarioCircuit1 << HeaderedSize << bytes({0xFF})
                                 << QStringList {QStringLiteral("of its 0 decoded bytes")};
    QTest::newRow("too many tiles")
        << MarioCircuit1 << HeaderedSize
        << compress(repeated(bytes({0x3F, 0x02}), 513) + bytes({0xFF}))
        << QStringList {QStringLiteral("describes 16416 tiles"), QStringLiteral("16384 cells")};
    QTest::newRow("ROM gone") << MarioCircuit1 << qint64(0) << QByteArray() << QStringList();
}

void TestImportRom::refusalLeavesMapAlone()
{
    QFETCH(QString, course);
    QFETCH(qint64, romSize);
    QFETCH(QByteArray, stream);
    QFETCH(QStringList, facts);

    QString path = mDir->filePath(QStringLiteral("smk.smc"));
    if (romSize > 0) {
        QByteArray rom = randomBytes(romSize, 3);
        if (!stream.isEmpty())
            rom.replace(0x68f2c, stream.size(), stream);
        QCOMPARE(rom.size(), romSize);
        writeFile(QStringLiteral("smk.smc"), rom);
    }
    QString text;
    verifyImportRefused(path, course, FarCell, text);
    if (QTest::currentTestFailed())
        return;
    QVERIFY2(text.contains(QStringLiteral("left as it was")), qPrintable(text));
    for (const QString &fact : facts)
        QVERIFY2(text.contains(fact), qPrintable(QStringLiteral("[%1] %2").arg(fact, text)));
}

VELMOR_GUILESS_TEST_MAIN(TestImportRom)
#include "test_import_rom.moc"
