#include "rom/added_room.h"
#include "rom/checksum.h"
#include "rom/course_catalogue.h"
#include "rom/rom_identity.h"
#include "rom/course_tables.h"
#include "rom/hex_offset.h"
#include "rom/rom_image.h"
#include "rom/rom_map.h"
#include "rom/snes_address.h"
#include "tests/support/synthetic_rom.h"
#include "tests/support/test_main.h"

#include <QTest>

using namespace velmor;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(std::optional<velmor::rom::Region>)

Q_DECLARE_METATYPE(velmor::rom::Theme)

// The ROM's outside (sizes, header, offsets), its addresses, the catalogue, and its own tables as
// a user's ROM holds them, also after another tool changed them.
class TestRomFacts : public QObject
{
    Q_OBJECT

private slots:
    void headerForms_data();
    void headerForms();
    void addresses_data();
    void addresses();
    void pointerReadsStayInside();
    void catalogueLookUps();
    void tablesOfAGameShapedRom_data();
    void tablesOfAGameShapedRom();
    void changedTablesAreReported_data();
    void changedTablesAreReported();
    void tablesOutsideASmallRom();
    void courseTheme_data();
    void courseTheme();
    void courseFoundByTheRomsOwnPointer();
    void hexOffsets_data();
    void hexOffsets();
    void identity_data();
    void identity();
    void checksumOfAnyShape_data();
    void checksumOfAnyShape();
    void roomTableRoundTripsAndRefusesDamage();
};

void TestRomFacts::headerForms_data()
{
    QTest::addColumn<qlonglong>("size");
    QTest::addColumn<int>("form"); // -1 none, 0 headerless, 1 headered
    QTest::newRow("game") << 524288LL << 0;
    QTest::newRow("game with header") << 524800LL << 1;
    QTest::newRow("expanded") << 1048576LL << 0;
    QTest::newRow("one byte more") << 524289LL << -1;
    QTest::newRow("half a header") << 524544LL << -1;
    QTest::newRow("empty") << 0LL << -1;
    QTest::newRow("header alone") << 512LL << -1;
}

void TestRomFacts::headerForms()
{
    QFETCH(qlonglong, size);
    QFETCH(int, form);
    const auto found = rom::headerFormOf(std::size_t(size));
    QCOMPARE(found.has_value(), form >= 0);
    if (found)
        QCOMPARE(*found == rom::HeaderForm::Headered, form == 1);
    const codec::Bytes bytes(std::size_t(size), 0);
    std::string error;
    const auto image = rom::RomImage::open(bytes, &error);
    QCOMPARE(image.has_value(), form >= 0);
    if (!image) {
        QVERIFY2(error.find(std::to_string(size) + " bytes is no SNES ROM") != std::string::npos,
            error.c_str());
        return;
    }
    // Game offsets never count the header; file offsets do.
    QCOMPARE(image->fileOffset(0x68D2C), std::size_t(form == 1 ? 0x68F2C : 0x68D2C));
    QCOMPARE(image->gameOffset(image->fileOffset(0x1234)), std::optional<std::size_t>(0x1234));
    QCOMPARE(image->gameOffset(0x100).has_value(), form == 0);
    QCOMPARE(image->game().size(), std::size_t(size) - (form == 1 ? 0x200 : 0));
}

void TestRomFacts::addresses_data()
{
    QTest::addColumn<int>("bank");
    QTest::addColumn<int>("address");
    QTest::addColumn<qlonglong>("offset"); // -1: no ROM there
    QTest::newRow("$84:81C9, upper half") << 0x84 << 0x81C9 << 0x0481C9LL;
    QTest::newRow("$C6:0189, whole bank") << 0xC6 << 0x0189 << 0x060189LL;
    QTest::newRow("$C6:8189 is the same bank's upper half") << 0xC6 << 0x8189 << 0x068189LL;
    QTest::newRow("$86:0189, lower half of an upper-only bank") << 0x86 << 0x0189 << -1LL;
    QTest::newRow("$06:8189, a mirror") << 0x06 << 0x8189 << 0x068189LL;
    QTest::newRow("$46:0189, a whole-bank mirror") << 0x46 << 0x0189 << 0x060189LL;
    QTest::newRow("$7E:0000, work RAM") << 0x7E << 0x0000 << -1LL;
    QTest::newRow("$FF:FFFF, the last byte") << 0xFF << 0xFFFF << 0x3FFFFFLL;
}

void TestRomFacts::addresses()
{
    QFETCH(int, bank);
    QFETCH(int, address);
    QFETCH(qlonglong, offset);
    const rom::SnesAddress pointer {std::uint8_t(bank), std::uint16_t(address)};
    const auto found = rom::gameOffsetOf(pointer);
    QCOMPARE(found.has_value(), offset >= 0);
    if (found)
        QCOMPARE(qlonglong(*found), offset);
}

void TestRomFacts::pointerReadsStayInside()
{
    const codec::Bytes game {0xC9, 0x81, 0x84, 0x00};
    const auto pointer = rom::readPointer(game, 0);
    QVERIFY(pointer);
    QCOMPARE(pointer->bank, std::uint8_t(0x84));
    QCOMPARE(pointer->address, std::uint16_t(0x81C9));
    QCOMPARE(rom::addressText(*pointer), "$84:81C9");
    QVERIFY(rom::readPointer(game, 1));
    QVERIFY(!rom::readPointer(game, 2));
    QVERIFY(!rom::readPointer(game, 4));
    QVERIFY(!rom::readPointer(game, std::size_t(-1)));
}

void TestRomFacts::catalogueLookUps()
{
    QCOMPARE(int(rom::courses().size()), 24);
    for (int id = 0; id < rom::CourseCount; ++id)
        QCOMPARE(rom::courseById(id)->id, id);
    QVERIFY(!rom::courseById(24));
    QVERIFY(!rom::courseById(-1));

    QCOMPARE(rom::courseNamed("mario circuit 1")->id, 0x07);
    QCOMPARE(rom::courseNamed("Bowser's Castle 2")->id, 0x03);
    QCOMPARE(rom::courseNamed("BOWSER CASTLE 2")->id, 0x03);
    QVERIFY(!rom::courseNamed("Mario Circuit"));
    QVERIFY(!rom::courseNamed("Vanilla Lake"));

    // Mario Circuit 1 takes 0x68D2C .. 0x6952A; Mario Circuit 4 starts elsewhere.
    QCOMPARE(rom::courseContaining(0x68D2C)->id, 0x07);
    QCOMPARE(rom::courseContaining(0x6952A)->id, 0x07);
    QVERIFY(rom::courseContaining(0x6952B) != rom::courseById(0x07));
    QCOMPARE(rom::courseStartingAt(0x68D2C)->id, 0x07);
    QVERIFY(!rom::courseStartingAt(0x68D2D));
    QVERIFY(!rom::courseContaining(0x1000));

    const std::vector<const rom::Course *> order = rom::coursesInCupOrder();
    QCOMPARE(order.size(), std::size_t(24));
    QCOMPARE(order.front()->name, "Mario Circuit 1");
    QCOMPARE(order[2]->name, "Ghost Valley 1");
    QCOMPARE(order[19]->name, "Rainbow Road");
    QCOMPARE(order[20]->name, "Battle Course 1");
    QCOMPARE(order.back()->name, "Battle Course 4");

    // No two original slots overlap: the room of one course is never another's.
    for (const rom::Course &a : rom::courses()) {
        for (const rom::Course &b : rom::courses()) {
            if (a.id != b.id)
                QVERIFY2(!a.contains(b.layoutOffset), a.name.data());
        }
    }
    QVERIFY(rom::isThemeCode(0x0E));
    QVERIFY(!rom::isThemeCode(0x0F));
    QVERIFY(!rom::isThemeCode(0x10));
    QVERIFY(!rom::isThemeCode(0x03));
}

void TestRomFacts::tablesOfAGameShapedRom_data()
{
    QTest::addColumn<bool>("header");
    QTest::addColumn<bool>("upperBanks");
    QTest::newRow("headered, $C0 banks") << true << false;
    QTest::newRow("headered, $80 banks where possible") << true << true;
    QTest::newRow("headerless, $C0 banks") << false << false;
    QTest::newRow("headerless, $80 banks where possible") << false << true;
}

void TestRomFacts::tablesOfAGameShapedRom()
{
    QFETCH(bool, header);
    QFETCH(bool, upperBanks);
    const test::GameRom built = test::gameRom(
        {3, header, upperBanks ? test::BankForm::UpperWherePossible : test::BankForm::Whole});
    const auto image = rom::RomImage::open(built.bytes);
    QVERIFY(image);
    const rom::CourseTables tables = rom::readCourseTables(*image);
    int upperForms = 0;
    for (const rom::CourseEntry &entry : tables) {
        QVERIFY2(entry.agreesWithCatalogue(), entry.problem.c_str());
        QCOMPARE(entry.layoutOffset, rom::courseById(entry.id)->layoutOffset);
        QCOMPARE(rom::courseIdPointingAt(tables, *entry.layoutOffset), entry.id);
        upperForms += entry.pointer->bank < 0xC0 ? 1 : 0;
    }
    QCOMPARE(upperForms > 0, upperBanks);
}

void TestRomFacts::changedTablesAreReported_data()
{
    QTest::addColumn<int>("course");
    QTest::addColumn<QByteArray>("pointer"); // 3 bytes, empty: unchanged
    QTest::addColumn<int>("theme"); // -1: unchanged
    QTest::addColumn<QString>("problem"); // empty: usable, but moved
    QTest::newRow("points past the end") << 7 << QByteArray("\x00\x00\xC9", 3) << -1
                                         << u"points past the end of this ROM (to 0x90200)"_s;
    QTest::newRow("points at work RAM") << 7 << QByteArray("\x00\x00\x7E", 3) << -1
                                        << u"the layout pointer $7E:0000 points at no ROM"_s;
    QTest::newRow("odd theme code")
        << 5 << QByteArray() << 0x03 << u"the theme code 0x3 is no theme"_s;
    QTest::newRow("theme code too big")
        << 5 << QByteArray() << 0x10 << u"the theme code 0x10 is no theme"_s;
    QTest::newRow("moved elsewhere") << 12 << QByteArray("\x00\x10\xC0", 3) << -1 << QString();
}

void TestRomFacts::changedTablesAreReported()
{
    QFETCH(int, course);
    QFETCH(QByteArray, pointer);
    QFETCH(int, theme);
    QFETCH(QString, problem);
    test::GameRom built = test::gameRom({4, true, test::BankForm::Whole});
    const std::size_t at =
        built.fileOffset(rom::map::CourseLayoutPointers + 3 * std::size_t(course));
    for (qsizetype i = 0; i < pointer.size(); ++i)
        built.bytes[at + std::size_t(i)] = std::uint8_t(pointer[i]);
    if (theme >= 0)
        built.bytes[built.fileOffset(rom::map::CourseThemes + std::size_t(course))] =
            std::uint8_t(theme);

    const rom::CourseTables tables = rom::readCourseTables(*rom::RomImage::open(built.bytes));
    const rom::CourseEntry &entry = tables[std::size_t(course)];
    QVERIFY(!entry.agreesWithCatalogue());
    QVERIFY2(QString::fromStdString(entry.problem).contains(problem), entry.problem.c_str());
    QCOMPARE(entry.usable(), problem.isEmpty());
    // The other courses are read as they are.
    QVERIFY(tables[std::size_t(course == 0 ? 1 : 0)].agreesWithCatalogue());
}

void TestRomFacts::tablesOutsideASmallRom()
{
    const codec::Bytes tiny(64 * 1024, 0);
    const rom::CourseTables tables = rom::readCourseTables(*rom::RomImage::open(tiny));
    for (const rom::CourseEntry &entry : tables) {
        QVERIFY(!entry.usable());
        QVERIFY2(
            entry.problem.find("outside this ROM") != std::string::npos, entry.problem.c_str());
    }
}

void TestRomFacts::courseTheme_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<rom::Theme>("theme");
    QTest::addColumn<QString>("problem");
    QTest::newRow("the ROM's own code") << 0x0C << rom::Theme::BowserCastle << QString();
    QTest::newRow("odd code")
        << 0x03 << rom::Theme::MarioCircuit
        << "the theme code 0x3 of Mario Circuit 1 (at 0x1ec36) is no theme (they are even and at "
           "most 0x0e); drawn in the original game's Mario Circuit theme";
    QTest::newRow("code past the last theme")
        << 0x10 << rom::Theme::MarioCircuit << "the theme code 0x10 of Mario Circuit 1";
}

void TestRomFacts::courseTheme()
{
    QFETCH(int, code);
    QFETCH(rom::Theme, theme);
    QFETCH(QString, problem);
    test::GameRom built = test::gameRom({.copierHeader = false});
    built.bytes[built.fileOffset(rom::map::CourseThemes + 0x07)] = std::uint8_t(code);
    const auto chosen = rom::courseTheme(*rom::RomImage::open(built.bytes), 0x07);
    QVERIFY(chosen);
    QCOMPARE(chosen->theme, theme);
    QVERIFY2(QString::fromStdString(chosen->problem).startsWith(problem), chosen->problem.c_str());
    QCOMPARE(chosen->problem.empty(), problem.isEmpty());
    QVERIFY(!rom::courseTheme(*rom::RomImage::open(built.bytes), 0x18));
}

void TestRomFacts::courseFoundByTheRomsOwnPointer()
{
    test::GameRom built = test::gameRom();
    QCOMPARE(rom::courseIdStartingAt(*rom::RomImage::open(built.bytes), 0x68D2C), std::optional<int>(0x07));
    // Another tool moved Mario Circuit 1: the ROM's pointer finds it at its new place.
    built.writePointer(rom::map::CourseLayoutPointers + 3 * 0x07, 0x70000, test::BankForm::Whole);
    QCOMPARE(rom::courseIdStartingAt(*rom::RomImage::open(built.bytes), 0x70000), std::optional<int>(0x07));
    QCOMPARE(rom::courseIdStartingAt(*rom::RomImage::open(built.bytes), 0x70001), std::nullopt);
}

void TestRomFacts::hexOffsets_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("digits");
    QTest::addColumn<qlonglong>("value"); // -1: refused
    QTest::newRow("lower case") << u"68f2c"_s << 8 << 0x68f2cLL;
    QTest::newRow("upper case") << u"5D6"_s << 8 << 0x5d6LL;
    QTest::newRow("zero") << u"0"_s << 8 << 0LL;
    QTest::newRow("eight digits") << u"ffffffff"_s << 8 << 0xffffffffLL;
    QTest::newRow("too long") << u"123456789"_s << 8 << -1LL;
    QTest::newRow("five of five") << u"7ef3b"_s << 5 << 0x7ef3bLL;
    QTest::newRow("six of five") << u"7ef3b0"_s << 5 << -1LL;
    QTest::newRow("prefix") << u"0x68f2c"_s << 8 << -1LL;
    QTest::newRow("empty") << QString() << 8 << -1LL;
    QTest::newRow("blank") << u" 68f2c"_s << 8 << -1LL;
    QTest::newRow("sign") << u"-1"_s << 8 << -1LL;
}

void TestRomFacts::hexOffsets()
{
    QFETCH(QString, text);
    QFETCH(int, digits);
    QFETCH(qlonglong, value);
    const auto parsed = rom::parseHexOffset(text.toStdString(), digits);
    QCOMPARE(parsed.has_value(), value >= 0);
    if (parsed) {
        QCOMPARE(qlonglong(*parsed), value);
        QCOMPARE(QString::fromStdString(rom::bareHex(*parsed)), text.toLower());
    }
    QCOMPARE(rom::hexText(0x68f2c), "0x68f2c");
    QCOMPARE(rom::bareHex(0x5d6, 5), "005d6");
}

void TestRomFacts::identity_data()
{
    QTest::addColumn<std::optional<rom::Region>>("region");
    QTest::addColumn<bool>("copierHeader");
    QTest::addColumn<bool>("touch"); // one byte changed after the header was written
    QTest::addColumn<QString>("described");
    QTest::addColumn<QString>("refusal");
    const QString onlyUs = u"Velmor writes only into the US ROM."_s;
    QTest::newRow("US") << std::optional(rom::Region::UnitedStates) << true << false
                        << u"the US ROM of the game, modified"_s << QString();
    QTest::newRow("US, headerless, changed") << std::optional(rom::Region::UnitedStates) << false
                                             << true << u"the US ROM of the game, modified"_s
                                             << QString();
    QTest::newRow("Japan") << std::optional(rom::Region::Japan) << true << false
                           << u"the Japanese ROM of the game"_s
                           << u"This is the Japanese ROM of the game; "_s + onlyUs;
    QTest::newRow("Europe") << std::optional(rom::Region::Europe) << false << false
                            << u"the European ROM of the game"_s
                            << u"This is the European ROM of the game; "_s + onlyUs;
    QTest::newRow("unknown region") << std::optional(rom::Region::Other) << true << false
                                    << u"a ROM of the game for an unknown region (destination 0x5)"_s
                                    << u"This is a ROM of the game for an unknown region (destination 0x5); "_s + onlyUs;
    QTest::newRow("not the game") << std::optional<rom::Region>() << true << false
                                  << u"not this game (its header names"_s
                                  << u"This file is not a ROM of Super Mario Kart"_s;
}

void TestRomFacts::identity()
{
    QFETCH(std::optional<rom::Region>, region);
    QFETCH(bool, copierHeader);
    QFETCH(bool, touch);
    QFETCH(QString, described);
    QFETCH(QString, refusal);
    test::GameRomOptions options;
    options.region = region;
    options.copierHeader = copierHeader;
    codec::Bytes rom = test::gameRom(options).bytes;
    if (touch)
        rom[0x1000] ^= 0x55;
    const rom::RomIdentity identity = rom::identifyRom(rom);
    QVERIFY(identity.readable);
    QCOMPARE(identity.copierHeader, copierHeader);
    QVERIFY2(QString::fromStdString(identity.describe()).startsWith(described), identity.describe().c_str());
    QCOMPARE(identity.checksumTrue, region.has_value() && !touch);
    QVERIFY(!identity.isCleanUs());
    const QString refused = QString::fromStdString(rom::usWriteRefusal(identity));
    QVERIFY2(refusal.isEmpty() ? refused.isEmpty() : refused.startsWith(refusal), qPrintable(refused));
    QCOMPARE(QString::fromStdString(rom::regionRefusal(rom)).isEmpty(),
        !region || *region == rom::Region::UnitedStates);
}

void TestRomFacts::checksumOfAnyShape_data()
{
    QTest::addColumn<int>("size");
    QTest::newRow("4 Mbit") << 0x80000;
    QTest::newRow("3 Mbit: 2 Mbit and 1 Mbit twice") << 0x60000;
    QTest::newRow("5 Mbit: 4 Mbit and 1 Mbit four times") << 0xA0000;
}

void TestRomFacts::checksumOfAnyShape()
{
    QFETCH(int, size);
    std::mt19937 rng{unsigned(size)};
    codec::Bytes game = test::randomBytes(rng, std::size_t(size));
    // As emulators sum it, written out: the mirrored rest fills the power-of-two part again.
    std::size_t whole = 1;
    while (whole * 2 <= game.size())
        whole *= 2;
    unsigned expected = 0;
    for (std::size_t i = 0; i < whole; ++i)
        expected += (i >= 0xFFDC && i < 0xFFE0) ? (i < 0xFFDE ? 0 : 0xFF) : game[i];
    for (std::size_t i = 0; whole < game.size() && i < whole; ++i)
        expected += game[whole + i % (game.size() - whole)];
    QCOMPARE(rom::computeChecksum(game), std::uint16_t(expected));
    rom::fixChecksum(game, 0);
    const rom::ChecksumPair pair = rom::storedChecksum(game);
    QCOMPARE(pair.checksum, std::uint16_t(expected));
    QCOMPARE(pair.complement, std::uint16_t(expected ^ 0xFFFF));
    QCOMPARE(rom::computeChecksum(game), std::uint16_t(expected));
}

void TestRomFacts::roomTableRoundTripsAndRefusesDamage()
{
    const std::vector<rom::PlacedBlock> blocks{{0x07, 0x80100, 5047}, {0x17, 0x9FFF0, 16}};
    const codec::Bytes table = rom::encodeRoomTable(blocks);
    QCOMPARE(table.size(), rom::added::TableSize);
    QCOMPARE(rom::roomCrc32(codec::Bytes{'1', '2', '3', '4', '5', '6', '7', '8', '9'}), 0xCBF43926u);
    const auto back = rom::decodeRoomTable(table);
    QVERIFY(back);
    QCOMPARE(back->size(), blocks.size());
    for (std::size_t i = 0; i < blocks.size(); ++i)
        QCOMPARE(back->at(i), blocks[i]);
    for (const std::size_t at : {std::size_t(0), std::size_t(12), std::size_t(24)}) {
        codec::Bytes damaged = table;
        damaged[at] ^= 0x01;
        QVERIFY2(!rom::decodeRoomTable(damaged), qPrintable(QString::number(at)));
    }
}

VELMOR_GUILESS_TEST_MAIN(TestRomFacts)
#include "test_rom_facts.moc"
