#include "rom/ai_tables.h"
#include "rom/course_layers.h"
#include "rom/item_kinds.h"
#include "rom/hex_offset.h"
#include "rom/race_map.h"
#include "rom/rom_map.h"
#include "tests/support/synthetic_race.h"
#include "tests/support/test_main.h"

#include <QTest>

using namespace velmor;
using namespace Qt::StringLiterals;

namespace {

namespace map = rom::map;

struct Span
{
    std::size_t at = 0;
    std::size_t size = 0;
};

// The bytes of each block the course's values come from, as the record formats place them.
std::vector<Span> blocksOf(const rom::CourseData &course)
{
    const auto id = std::size_t(course.id);
    const std::size_t slot = map::ItemSlots + map::ItemSlotSize * id;
    const std::size_t items = 3 * course.items.size();
    std::vector<Span> spans {{map::CourseThemes + id, 1}, {slot, items}, {slot + items + 1, 2},
        {test::startRecordOf(course.id) + 2, rom::isBattleCourse(course.id) ? 8u : 6u},
        {test::syntheticAiPlaces().zonesAt[id], course.ai.zoneBytes()},
        {test::syntheticAiPlaces().targetsAt[id], course.ai.targetBytes()}};
    if (course.lap)
        spans.push_back({map::LapLines + 6 * id, 6});
    if (course.objects) {
        const std::size_t record = map::ObjectSlots + 64 * id;
        spans.push_back({record, 0x20});
        spans.push_back({record + 0x20, 2 * std::min<std::size_t>(course.objects->match.size() + 1, 8)});
    }
    return spans;
}

// Built once per header form: compressing 24 courses is the slow part of a test.
const test::GameRom &raceRom(bool copierHeader = false)
{
    static const test::GameRom roms[] = {
        test::gameRom({.seed = 3, .copierHeader = false, .raceData = true}),
        test::gameRom({.seed = 3, .copierHeader = true, .raceData = true})};
    return roms[copierHeader ? 1 : 0];
}

rom::RomImage imageOf(const codec::Bytes &bytes)
{
    return *rom::RomImage::open(bytes);
}

void addCourseRows()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<bool>("headered");
    for (const rom::Course &course : rom::courses()) {
        for (const bool headered : {false, true})
            QTest::addRow("%s%s", course.name.data(), headered ? ", headered" : "")
                << course.id << headered;
    }
}

} // namespace

// Every race layer of every course read from a game-shaped ROM as the values the builder wrote,
// written back byte for byte, and every malformed record refused with its place.
class TestRaceData : public QObject
{
    Q_OBJECT

private slots:
    void everyLayerReads_data() { addCourseRows(); }
    void everyLayerReads();
    void blocksWriteBackByteForByte_data() { addCourseRows(); }
    void blocksWriteBackByteForByte();
    void malformedLayersAreRefused_data();
    void malformedLayersAreRefused();
    void writersRefuseBadValues_data();
    void writersRefuseBadValues();
    void patternTilesComeFromTheRomsTable_data();
    void patternTilesComeFromTheRomsTable();
};

void TestRaceData::everyLayerReads()
{
    QFETCH(int, id);
    QFETCH(bool, headered);
    const test::GameRom &built = raceRom(headered);
    const rom::CourseLayers layers = rom::readCourseLayers(imageOf(built.bytes), id);
    const std::vector<std::string> errors = layers.errors();
    QVERIFY2(errors.empty(), errors.empty() ? "" : errors.front().c_str());
    const rom::CourseData &expected = test::syntheticCourses()[std::size_t(id)];
    const std::optional<rom::CourseData> read = layers.course(test::courseCells(id));
    QVERIFY(read.has_value());
    QVERIFY(*read == expected);
    // The battle courses' shared sets are known as shared.
    const std::vector<int> aiSharers = id == 0x14 ? std::vector {0x15, 0x17}
        : id == 0x15                              ? std::vector {0x14, 0x17}
        : id == 0x17                              ? std::vector {0x14, 0x15}
                                                  : std::vector<int>();
    QCOMPARE(layers.aiSharers, aiSharers);
    QCOMPARE(layers.startSharers.size(), id >= 0x15 ? 2u : 0u);
}

void TestRaceData::blocksWriteBackByteForByte()
{
    QFETCH(int, id);
    QFETCH(bool, headered);
    const test::GameRom &built = raceRom(headered);
    const rom::RomImage image = imageOf(built.bytes);
    const std::optional<rom::CourseData> course =
        rom::readCourseLayers(image, id).course(test::courseCells(id));
    QVERIFY(course.has_value());
    codec::Bytes copy = built.bytes;
    const rom::GameBytes game = rom::GameBytes(copy).subspan(image.headerSize());
    for (const Span &span : blocksOf(*course)) {
        for (std::size_t k = 0; k < span.size; ++k)
            game[span.at + k] ^= 0xFF;
    }
    QCOMPARE(rom::writeCourseBlocks(game, *course), std::string());
    const auto &places = test::syntheticAiPlaces();
    QCOMPARE(rom::writeCourseAi(game, id, course->ai, places.zonesAt[std::size_t(id)],
                                places.targetsAt[std::size_t(id)]),
             std::string());
    QVERIFY(copy == built.bytes);
}

void TestRaceData::malformedLayersAreRefused_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("patches"); // "game offset=hex bytes" ...
    QTest::addColumn<bool>("headered");
    QTest::addColumn<qlonglong>("size"); // the ROM cut to this size; 0 keeps it whole
    QTest::addColumn<QString>("message");

    const auto &ai = test::syntheticAiPlaces();
    const auto hex = [](std::size_t offset) { return rom::hexText(offset); };
    const auto put = [](std::size_t at, const QString &bytes) {
        return QString::number(at, 16) + u'=' + bytes + u' ';
    };
    const auto word = [](std::size_t value) {
        return QString::fromLatin1(QByteArray(1, char(value & 0xFF)).append(char(value >> 8)).toHex());
    };
    const std::size_t zones = ai.zonesAt[7];
    const std::size_t targets = ai.targetsAt[7];
    const std::size_t late = map::AiBlockEnd - 4;
    const QString zonePointer = put(map::AiZonePointers + 14, word(late - map::AiBankStart));
    const QString targetPointer = put(map::AiTargetPointers + 14, word(late - map::AiBankStart));
    const std::string mc1 = "Mario Circuit 1: ";

    QTest::newRow("zone list cut by the block's end")
        << 7 << zonePointer + put(late, u"00010101"_qs) << false << 0LL
        << QString::fromStdString(mc1 + "AI zones at " + hex(late) + ": no end mark within the AI block");
    QTest::newRow("128 zones") << 7 << put(zones, u"0001010101"_qs.repeated(128)) << false << 0LL
        << QString::fromStdString(mc1 + "AI zones at " + hex(zones) + ": more than 127 zones before the end mark");
    QTest::newRow("unknown shape, headered") << 7 << put(zones, u"03"_qs) << true << 0LL
        << QString::fromStdString(mc1 + "AI zones at " + hex(zones + 0x200) + ": zone 0 at " + hex(zones + 0x200)
            + ": shape 0x3 is none");
    QTest::newRow("zone past the grid") << 7 << put(zones, u"00460101"_qs) << false << 0LL
        << QString::fromStdString(mc1 + "AI zones at " + hex(zones) + ": zone 0 at " + hex(zones) + ": x 70 is not 0–63");
    QTest::newRow("targets cut by the block's end") << 7 << targetPointer << false << 0LL
        << QString::fromStdString(mc1 + "AI targets at " + hex(late) + ": the 11 targets of its zones run past the end "
            "of the AI block");
    QTest::newRow("target speed") << 7 << put(targets + 6, u"101005"_qs) << false << 0LL
        << QString::fromStdString(mc1 + "AI targets at " + hex(targets) + ": target 2 at " + hex(targets + 6)
            + ": speed 5 is not 0–3");
    QTest::newRow("target past the map") << 7 << put(targets, u"c8"_qs) << false << 0LL
        << QString::fromStdString(mc1 + "AI targets at " + hex(targets) + ": target 0 at " + hex(targets)
            + ": x 200 is not 0–127");
    QTest::newRow("zone pointer past the ROM") << 7 << put(map::AiZonePointers + 14, u"00f0"_qs)
        << false << 0x64000LL
        << QString::fromStdString(mc1 + "AI zone pointers at 0x1ffa9: $C6:F000 points past the end of this ROM");
    QTest::newRow("target pointer past the ROM") << 7 << put(map::AiTargetPointers + 14, u"00f0"_qs)
        << false << 0x64000LL
        << QString::fromStdString(mc1 + "AI target pointers at 0x1ffd9: $C6:F000 points past the end of this ROM");
    QTest::newRow("zone list cut by the bank's end")
        << 7 << put(map::AiZonePointers + 14, word(0xFFFC)) + put(0x6FFFC, u"00010101"_qs) << false << 0LL
        << QString::fromStdString(mc1 + "AI zones at 0x6fffc: no end mark within bank $C6");
    const std::size_t slot = map::ItemSlots + 7 * 128;
    QTest::newRow("item list without end") << 7 << put(slot, u"00"_qs.repeated(128)) << false
        << 0LL << QString::fromStdString(mc1 + "overlay items at " + hex(slot) + ": no end mark within 41 records");
    QTest::newRow("item past the map") << 7 << put(slot + 6, u"000040"_qs) << false << 0LL
        << QString::fromStdString(mc1 + "overlay items at " + hex(slot) + ": item 2 at " + hex(slot + 6)
            + ": tile index 0x4000 is past the 128 x 128 map");
    const std::size_t record = map::ObjectSlots + 7 * 64;
    QTest::newRow("object word with bit 14") << 7 << put(record + 10, u"0540"_qs) << false << 0LL
        << QString::fromStdString(mc1 + "object positions at " + hex(record) + ": group 1's word at " + hex(record + 10)
            + ": 0x4005 is past the 128 x 128 map");
    QTest::newRow("start pointer into no ROM") << 7 << put(map::StartPointers + 14, u"3412"_qs)
        << false << 0LL << QString::fromStdString(mc1 + "start pointer at 0x18a87: $81:1234 points at no ROM");
    const std::size_t start = test::startRecordOf(7) + 2;
    QTest::newRow("start past the course") << 7 << put(start, u"d007"_qs) << false << 0LL
        << QString::fromStdString(mc1 + "start grid at " + hex(start) + ": x: 2000 is not 0–1023");
    const std::size_t lap = map::LapLines + 42;
    QTest::newRow("lap cell past the grid") << 7 << put(lap + 2, u"8813"_qs) << false << 0LL
        << QString::fromStdString(mc1 + "lap line at " + hex(lap) + ": cell index 5000 is past the 64 x 64 zone grid");
    QTest::newRow("lap line below the course") << 7 << put(lap, u"0004"_qs) << false << 0LL
        << QString::fromStdString(mc1 + "lap line at " + hex(lap) + ": y: 1024 is not 0–1023");
    QTest::newRow("odd theme code") << 7 << put(map::CourseThemes + 7, u"03"_qs) << false << 0LL
        << QString::fromStdString(mc1 + "theme table at 0x1ec36: theme code 0x3 is no theme");
    QTest::newRow("theme code past 0x0e") << 7 << put(map::CourseThemes + 7, u"10"_qs) << false
        << 0LL << QString::fromStdString(mc1 + "theme table at 0x1ec36: theme code 0x10 is no theme");
}

void TestRaceData::malformedLayersAreRefused()
{
    QFETCH(int, id);
    QFETCH(QString, patches);
    QFETCH(bool, headered);
    QFETCH(qlonglong, size);
    QFETCH(QString, message);
    test::GameRom built = raceRom(headered);
    for (const QString &patch : patches.split(u' ', Qt::SkipEmptyParts)) {
        const std::size_t at = built.fileOffset(patch.section(u'=', 0, 0).toULongLong(nullptr, 16));
        const QByteArray bytes = QByteArray::fromHex(patch.section(u'=', 1).toLatin1());
        std::copy(bytes.begin(), bytes.end(), built.bytes.begin() + std::ptrdiff_t(at));
    }
    if (size > 0)
        built.bytes.resize(std::size_t(size));
    const std::vector<std::string> errors =
        rom::readCourseLayers(imageOf(built.bytes), id).errors();
    // That layer refused, with its place; the others still read (a cut ROM loses some of them).
    QVERIFY(!errors.empty());
    QVERIFY2(QString::fromStdString(errors.front()).startsWith(message),
             qPrintable(message + u" | "_qs + QString::fromStdString(errors.front())));
    if (size == 0)
        QCOMPARE(errors.size(), 1u);
}

void TestRaceData::writersRefuseBadValues_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("message");
    QTest::newRow("42 items") << 7 << u"items"_qs << u"items: 42 items; the game allows 41"_qs;
    QTest::newRow("item column") << 7 << u"item col"_qs << u"items[0].col: 200 is not 0–127"_qs;
    QTest::newRow("nine match objects") << 7 << u"match"_qs
                                        << u"objects.match: 9 objects; the game allows 8"_qs;
    QTest::newRow("match end word") << 7 << u"match zero"_qs
                                    << u"objects.match[0]: [0, 0, 0] is the word that ends the list"_qs;
    QTest::newRow("battle start for a race") << 7 << u"battle start"_qs
                                             << u"start: a race course starts from a grid (x, y, w)"_qs;
    QTest::newRow("lap column") << 7 << u"lap col"_qs << u"lap.col: 70 is not 0–63"_qs;
    QTest::newRow("lap for a battle") << 0x16 << u"lap"_qs << u"lap: battle courses have no lap line"_qs;
    QTest::newRow("target speed") << 7 << u"speed"_qs << u"ai.targets[3].speed: 7 is not 0–3"_qs;
    QTest::newRow("a target short") << 7 << u"targets"_qs << u"ai.targets: 10 targets for 11 zones; the game reads one per zone"_qs;
}

void TestRaceData::writersRefuseBadValues()
{
    QFETCH(int, id);
    QFETCH(QString, change);
    QFETCH(QString, message);
    const test::GameRom &built = raceRom();
    rom::CourseData course = test::syntheticCourses()[std::size_t(id)];
    if (change == u"items")
        course.items.resize(42);
    else if (change == u"item col")
        course.items[0].col = 200;
    else if (change == u"match")
        course.objects->match.resize(9, {1, 1, 0});
    else if (change == u"match zero")
        course.objects->match[0] = {};
    else if (change == u"battle start")
        course.start = rom::BattleStart {};
    else if (change == u"lap col")
        course.lap->col = 70;
    else if (change == u"lap")
        course.lap = rom::LapLine {};
    else if (change == u"speed")
        course.ai.targets[3].speed = 7;
    else if (change == u"targets")
        course.ai.targets.pop_back();
    // The AI has its own writer; the blocks' writer checks every value and writes nothing then.
    QCOMPARE(QString::fromStdString(rom::courseDataProblem(course)), message);
    codec::Bytes copy = built.bytes;
    const std::string error = change == u"speed" || change == u"targets"
        ? rom::writeCourseAi(copy, id, course.ai, map::AiBlockStart, map::AiBlockStart + 0x200)
        : rom::writeCourseBlocks(copy, course);
    QVERIFY2(QString::fromStdString(error).endsWith(message.section(u'.', 0, 0) == u"ai"
        ? message.mid(3) : message), error.c_str());
    QVERIFY(copy == built.bytes);
}

void TestRaceData::patternTilesComeFromTheRomsTable_data()
{
    QTest::addColumn<int>("pattern");
    QTest::addColumn<int>("pointer"); // the word in the pattern's table entry
    QTest::addColumn<bool>("read");
    QTest::newRow("a coin group, 5 x 5") << 30 << 0xF300 << true;
    QTest::newRow("an item box, 2 x 2") << 1 << 0xF2AD << true;
    QTest::newRow("pointer before the data") << 30 << 0xF240 << false;
    QTest::newRow("rows past the data's end") << 30 << 0xF370 << false;
    QTest::newRow("a pattern the game has not") << 60 << 0xF300 << false;
}

void TestRaceData::patternTilesComeFromTheRomsTable()
{
    QFETCH(int, pattern);
    QFETCH(int, pointer);
    QFETCH(bool, read);
    test::GameRom built = raceRom();
    const std::size_t entry = built.fileOffset(map::ItemPatternPointers + 2 * std::size_t(pattern));
    built.bytes[entry] = std::uint8_t(pointer & 0xFF);
    built.bytes[entry + 1] = std::uint8_t(pointer >> 8);
    // Rows of FE with the corners clear, as a coin group's ring.
    const std::size_t data = built.fileOffset(map::ItemPatternBank | std::size_t(pointer));
    for (std::size_t k = 0; k < 25 && data + k < built.bytes.size(); ++k)
        built.bytes[data + k] = k == 0 || k == 4 || k == 20 || k == 24 ? 0xFF : 0xFE;
    const std::optional<std::vector<int>> tiles = rom::readPatternTiles(imageOf(built.bytes), pattern);
    QCOMPARE(tiles.has_value(), read);
    if (!read)
        return;
    const std::size_t count = pattern == 30 ? 25 : 4;
    QCOMPARE(tiles->size(), count);
    QCOMPARE(tiles->front(), -1);
    QCOMPARE(tiles->at(1), 0xFE);
    QCOMPARE(tiles->back(), count == 25 ? -1 : 0xFE);
    // The course's layers carry them for the palette.
    QVERIFY(rom::readCourseLayers(imageOf(built.bytes), 7).patterns[std::size_t(pattern)] == tiles);
}

VELMOR_GUILESS_TEST_MAIN(TestRaceData)
#include "test_race_data.moc"
