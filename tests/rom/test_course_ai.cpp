#include "rom/ai_repack.h"
#include "rom/race_map.h"
#include "rom/rom_map.h"
#include "rom/zone_grid.h"
#include "tests/support/synthetic_race.h"
#include "tests/support/test_main.h"

#include <QTest>

using namespace velmor;
using namespace Qt::StringLiterals;

namespace {

namespace map = rom::map;

const test::GameRom &raceRom()
{
    static const test::GameRom rom = test::gameRom({.seed = 9, .copierHeader = false, .raceData = true});
    return rom;
}

rom::AiSets setsOf(const codec::Bytes &bytes)
{
    return *rom::readAiSets(*rom::RomImage::open(bytes)).value;
}

// A rectangle and its target per step, so the set grows by a known number of bytes.
void grow(rom::CourseAi &ai, int zones)
{
    for (int k = 0; k < zones; ++k) {
        ai.zones.push_back({rom::ZoneShape::Rectangle, k % 60, 3, 2, 2});
        ai.targets.push_back({k % 120, 7, k % 4});
    }
}

// Everything but the AI block and the two pointer tables.
bool sameOutsideAi(const codec::Bytes &a, const codec::Bytes &b)
{
    const auto equal = [&](std::size_t from, std::size_t to) {
        return std::equal(a.begin() + std::ptrdiff_t(from), a.begin() + std::ptrdiff_t(to),
                          b.begin() + std::ptrdiff_t(from));
    };
    return a.size() == b.size() && equal(0, map::AiZonePointers)
        && equal(map::AiTargetPointers + 48, map::AiBlockStart) && equal(map::AiBlockEnd, a.size());
}

} // namespace

// The zone grid the game builds from a course's zones, and every course's AI repacked into the
// AI block: the other courses keep their values, shared sets stay shared, an over-full block or
// a set the game cannot use is refused with nothing changed.
class TestCourseAi : public QObject
{
    Q_OBJECT

private slots:
    void shapesCoverTheirCells_data();
    void shapesCoverTheirCells();
    void laterZonesWinAndTheGridClips();
    void repackKeepsEveryOtherCourse_data();
    void repackKeepsEveryOtherCourse();
    void unchangedRepackIsByteForByte();
    void sharedSetsSplitOnRequest();
    void badSetsAreRefused_data();
    void badSetsAreRefused();
};

void TestCourseAi::shapesCoverTheirCells_data()
{
    QTest::addColumn<int>("shape");
    QTest::addColumn<QStringList>("picture"); // cells x 2-6, y 2-6 of a zone at (4, 4), n = 3
    QTest::newRow("rectangle 3 x 2") << 0x00 << QStringList {u"....."_s, u"....."_s, u"..###"_s, u"..###"_s, u"....."_s};
    QTest::newRow("triangle right, down") << 0x02 << QStringList {u"....."_s, u"....."_s, u"..###"_s, u"..##."_s, u"..#.."_s};
    QTest::newRow("triangle left, down") << 0x04 << QStringList {u"....."_s, u"....."_s, u"###.."_s, u".##.."_s, u"..#.."_s};
    QTest::newRow("triangle left, up") << 0x06 << QStringList {u"..#.."_s, u".##.."_s, u"###.."_s, u"....."_s, u"....."_s};
    QTest::newRow("triangle right, up") << 0x08 << QStringList {u"..#.."_s, u"..##."_s, u"..###"_s, u"....."_s, u"....."_s};
    QTest::newRow("diagonal left") << 0x0A << QStringList {u"....."_s, u"....."_s, u"..#.."_s, u".##.."_s, u"###.."_s};
    QTest::newRow("diagonal right") << 0x0C << QStringList {u"....."_s, u"....."_s, u"..#.."_s, u"..##."_s, u"..###"_s};
}

void TestCourseAi::shapesCoverTheirCells()
{
    QFETCH(int, shape);
    QFETCH(QStringList, picture);
    const rom::Zone zone {rom::ZoneShape(shape), 4, 4, 3, 2, 3, 99};
    const rom::ZoneGrid grid(std::vector {zone});
    QStringList drawn;
    for (int y = 2; y <= 6; ++y) {
        QString row;
        for (int x = 2; x <= 6; ++x)
            row += grid.zoneAt(x, y) == 0 ? u'#' : u'.';
        drawn << row;
    }
    QCOMPARE(drawn, picture);
    QCOMPARE(rom::zoneCells(zone).size(), 6u);
}

void TestCourseAi::laterZonesWinAndTheGridClips()
{
    const std::vector<rom::Zone> zones {{rom::ZoneShape::Rectangle, 10, 10, 4, 4},
                                        {rom::ZoneShape::Rectangle, 12, 12, 4, 4},
                                        {rom::ZoneShape::Rectangle, 62, 0, 5, 1},
                                        {rom::ZoneShape::TriangleLeftUp, 1, 1, 0, 0, 4}};
    const rom::ZoneGrid grid(zones);
    QCOMPARE(grid.zoneAt(11, 11), 0);
    QCOMPARE(grid.zoneAt(12, 12), 1); // the later zone overwrites
    QCOMPARE(grid.zoneAtTile(27, 27), 1); // tiles are half a cell
    QCOMPARE(grid.zoneAt(20, 20), std::nullopt);
    QCOMPARE(grid.cells()[20 * map::ZoneGridSide + 20], map::NoZone);
    QCOMPARE(grid.zoneAt(64, 0), std::nullopt);
    // Cells past the grid's edge are left out, not wrapped into the next row.
    QCOMPARE(rom::zoneCells(zones[2]).size(), 2u);
    QCOMPARE(grid.zoneAt(0, 1), 3);
    QCOMPARE(rom::zoneCells(zones[3]).size(), 4u); // rows of 4 and 3 cut to 2 and 2, the rest above
}

void TestCourseAi::repackKeepsEveryOtherCourse_data()
{
    QTest::addColumn<int>("changed");
    for (const rom::Course &course : rom::courses())
        QTest::newRow(course.name.data()) << course.id;
}

void TestCourseAi::repackKeepsEveryOtherCourse()
{
    QFETCH(int, changed);
    codec::Bytes bytes = raceRom().bytes;
    rom::AiSets sets = setsOf(bytes);
    const rom::AiPointers before = *rom::readAiPointers(*rom::RomImage::open(bytes)).value;
    grow(sets.setFor(changed), 3);
    QCOMPARE(rom::repackAi(bytes, sets), std::string());

    const auto image = rom::RomImage::open(bytes);
    const rom::AiPointers after = *rom::readAiPointers(*image).value;
    const std::size_t grown = 3 * (5 + 3);
    const std::size_t changedAt = before.zonesAt(changed);
    for (int id = 0; id < rom::CourseCount; ++id) {
        const rom::LayerRead<rom::CourseAi> read = rom::readCourseAi(*image, id);
        QVERIFY2(read.ok(), read.error.c_str());
        rom::CourseAi expected = test::syntheticCourses()[std::size_t(id)].ai;
        if (sets.setOf[std::size_t(id)] == sets.setOf[std::size_t(changed)])
            grow(expected, 3);
        QVERIFY2(*read.value == expected, rom::courseLabel(id).c_str());
        // The lists behind the grown set moved by its growth, those before it stayed.
        const std::size_t shift = before.zonesAt(id) > changedAt ? grown : 0;
        QCOMPARE(after.zonesAt(id), before.zonesAt(id) + shift);
        QCOMPARE(after.sharers(id), before.sharers(id));
    }
    QVERIFY(sameOutsideAi(bytes, raceRom().bytes));
}

void TestCourseAi::unchangedRepackIsByteForByte()
{
    codec::Bytes bytes = raceRom().bytes;
    QCOMPARE(rom::repackAi(bytes, setsOf(bytes)), std::string());
    QVERIFY(bytes == raceRom().bytes);
}

void TestCourseAi::sharedSetsSplitOnRequest()
{
    codec::Bytes bytes = raceRom().bytes;
    rom::AiSets sets = setsOf(bytes);
    QCOMPARE(sets.sharers(0x15), (std::vector {0x14, 0x17}));
    sets.split(0x15);
    grow(sets.setFor(0x15), 1);
    QCOMPARE(rom::repackAi(bytes, sets), std::string());
    const rom::AiSets read = setsOf(bytes);
    QCOMPARE(read.sharers(0x14), std::vector {0x17});
    QCOMPARE(read.sharers(0x15), std::vector<int>());
    QCOMPARE(read.of(0x15).zones.size(), test::syntheticCourses()[0x15].ai.zones.size() + 1);
    QVERIFY(read.of(0x17) == test::syntheticCourses()[0x17].ai);
    // Splitting the owner leaves it its set and gives the others theirs.
    rom::AiSets owner = setsOf(raceRom().bytes);
    owner.split(0x14);
    QCOMPARE(owner.sharers(0x15), std::vector {0x17});
    QVERIFY(owner.of(0x15) == owner.of(0x14));
}

void TestCourseAi::badSetsAreRefused_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("message");
    QTest::newRow("over-full") << u"full"_s
        << u"the AI of all courses takes 7142 bytes, 740 more than the 6402 bytes of the AI block; "
           u"the largest: Battle Course 3 (shared with Battle Course 4, Battle Course 2) (1005 "
           u"bytes), Vanilla Lake 2 (998 bytes), Donut Plains 2 (996 bytes)"_s;
    QTest::newRow("128 zones") << u"zones"_s
        << u"Mario Circuit 1: AI: zones: 128 zones; the game allows 127"_s;
    QTest::newRow("a target short") << u"targets"_s
        << u"Mario Circuit 1: AI: targets: 10 targets for 11 zones; the game reads one per zone"_s;
    QTest::newRow("a sharer's sharer") << u"chain"_s
        << u"Mario Circuit 1: AI: uses the set of a course that does not use its own"_s;
}

void TestCourseAi::badSetsAreRefused()
{
    QFETCH(QString, change);
    QFETCH(QString, message);
    codec::Bytes bytes = raceRom().bytes;
    rom::AiSets sets = setsOf(bytes);
    if (change == u"full") {
        // The shared battle set the largest, then five others a zone smaller each.
        int zones = map::MaxZones;
        for (const int id : {0x17, 0x02, 0x04, 0x05, 0x06, 0x07})
            grow(sets.setFor(id), zones-- - int(sets.of(id).zones.size()));
    } else if (change == u"zones") {
        grow(sets.setFor(7), 128 - 11);
    } else if (change == u"targets") {
        sets.setFor(7).targets.pop_back();
    } else {
        sets.setOf[7] = 0x15;
    }
    QCOMPARE(QString::fromStdString(rom::repackAi(bytes, sets)), message);
    QVERIFY(bytes == raceRom().bytes);
}

VELMOR_GUILESS_TEST_MAIN(TestCourseAi)
#include "test_course_ai.moc"
