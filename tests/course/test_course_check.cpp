#include "course/course_check_input.h"
#include "rom/course_check.h"
#include "rom/race_map.h"
#include "rom/rom_map.h"
#include "tests/support/synthetic_check.h"
#include "tests/support/synthetic_graphics.h"
#include "tests/support/synthetic_race.h"
#include "tests/support/test_main.h"

#include <QTest>

#include <functional>
#include <random>

using namespace velmor;
using test::CheckCourseId;

namespace {

struct Plant
{
    const char *name;
    std::function<void(rom::CourseData &)> course = {};
    std::function<void(test::GameRom &)> romBytes = {};
    std::function<void(rom::CheckInput &)> input = {};
    // A finding's line holds this, over these tiles.
    const char *line = "";
    rom::TileArea area = {};
};

QByteArray fileOf(const test::GameRom &rom)
{
    return test::toQByteArray(rom.bytes);
}

void corruptWord(test::GameRom &rom, std::size_t gameOffset, int word)
{
    rom.bytes[rom.fileOffset(gameOffset)] = std::uint8_t(word);
    rom.bytes[rom.fileOffset(gameOffset) + 1] = std::uint8_t(word >> 8);
}

const std::vector<Plant> &plants()
{
    static const std::vector<Plant> all {
        {"start on a wall", [](auto &c) { test::setTile(c, 20, 56, test::WallTile); }, {}, {},
         "error: start grid kart 3 at (160, 448) is on a wall tile 0x20", {20, 56, 1, 1}},
        {"42 items",
         [](auto &c) {
             c.items.clear();
             for (int k = 0; k < 42; ++k)
                 c.items.push_back({0, 1, 18 + (k % 14) * 6, 18 + (k / 14) * 4});
         },
         {}, {}, "error: 42 items; the game allows 41 (the first too many: item 41 at tile (96, 26))", {96, 26, 2, 2}},
        {"target in lava", [](auto &c) { test::setTile(c, 104, 56, test::LavaTile); }, {}, {},
         "error: AI target 5 at tile (104, 56) is on a lava tile 0x30", {104, 56, 1, 1}},
        {"open AI loop",
         [](auto &c) {
             c.ai.zones.pop_back();
             c.ai.targets.pop_back();
         },
         {}, {}, "error: the last AI zone, 14, is not next to zone 0: the AI loop is open",
         {16, 48, 16, 16}},
        {"road without a zone", [](auto &c) { c.ai.zones[15].h = 4; }, {}, {},
         "error: AI zones leave 32 drivable cells that karts reach from the start without a "
         "zone, from zone cell (8, 20) to (15, 23)",
         {16, 40, 16, 8}},
        {"zones out of race order", [](auto &c) { std::swap(c.ai.zones[2], c.ai.zones[9]); }, {},
         {}, "error: AI zone 1 is not next to zone 2, which follows it in the race",
         {40, 16, 24, 16}},
        {"over-full slot",
         [](auto &c) {
             std::mt19937 noise(7);
             for (std::uint8_t &tile : c.layout)
                 tile = tile == test::RoadTile ? std::uint8_t(1 + noise() % 15) : tile;
         },
         {}, {}, "; its slot holds 2,047 (", {}},
        {"targets fewer than zones", {}, {}, [](auto &in) { in.course.ai.targets.pop_back(); },
         "error: 15 AI targets for 16 zones", {}},
        {"lap line on a wall", [](auto &c) { test::setTile(c, 16, 48, test::WallTile); }, {}, {},
         "error: lap line at (128, 384) is on a wall tile 0x20", {16, 48, 1, 1}},
        {"lap line crossed nowhere", [](auto &c) { c.lap->y = 420; }, {}, {},
         "error: lap line at y 420 does not cross its flagged cells", {16, 48, 16, 2}},
        {"item off the road", [](auto &c) { c.items[2] = {0, 1, 40, 12}; }, {}, {},
         "warning: item 2 at tile (40, 12) lies on an out of course tile 0x00", {40, 12, 2, 2}},
        {"unused pattern", [](auto &c) { c.items[3].pattern = 60; }, {}, {},
         "warning: item 3 at tile (38, 22) uses pattern 60, which the game does not define",
         {38, 22, 2, 2}},
        {"object outside its zones", [](auto &c) { c.objects->groups[1][0] = {24, 24}; }, {}, {},
         "warning: object 0 of group 1 at tile (24, 24) stands in zone 0, outside zones 4\u20137",
         {24, 24, 1, 1}},
        {"theme without the tiles",
         [](auto &c) {
             c.theme = test::ShortTheme;
             test::setTile(c, 40, 12, test::UndefinedInShortTheme);
         },
         [](auto &r) {
             r.bytes[r.fileOffset(rom::map::CourseThemes + CheckCourseId)] =
                 std::uint8_t(test::ShortTheme);
         },
         {}, "warning: the layout uses tile 0x20 1 time, first at tile (40, 12), which the Rainbow Road "
         "theme does not define",
         {40, 12, 1, 1}},
        {"tile 0 not out of course", {}, {},
         [](rom::CheckInput &in) { in.behaviour->values[0] = 0x28; },
         "warning: tile 0x00 is pit, not out of course, in the Mario Circuit theme", {}},
        {"behaviour table unreadable", {},
         [](auto &r) { corruptWord(r, rom::map::TileBehaviourStarts + 2, 0x7FFF); }, {},
         "error: Mario Circuit: tile behaviour table at 0x1ed4d: the theme starts at byte 0x7fff, past "
         "the table's 1600 bytes",
         {}},
        {"AI tables unreadable", {}, [](auto &r) { corruptWord(r, rom::map::AiZonePointers + 14, 0); },
         {}, "error: Mario Circuit 1: ", {}},
    };
    return all;
}

std::vector<std::string> linesOf(const rom::CheckReport &report)
{
    std::vector<std::string> lines;
    for (const rom::Finding &f : report.findings)
        lines.push_back(f.line());
    return lines;
}

QByteArray joined(const std::vector<std::string> &lines)
{
    QByteArray text;
    for (const std::string &line : lines)
        text += QByteArray::fromStdString(line) + '\n';
    return text;
}

} // namespace

// The course check on a synthetic course that races, and on it with one fault planted at a time:
// in the course's values, in the ROM's bytes, or in the tables gathered from them.
class TestCourseCheck : public QObject
{
    Q_OBJECT

private slots:
    void cleanCourseHasNoFindings();
    void plantedFault_data();
    void plantedFault();
    void unreadableTableComesFirstAndTheRestIsChecked();
    void summaryCounts();
};

void TestCourseCheck::cleanCourseHasNoFindings()
{
    const test::GameRom rom = test::checkRom();
    const rom::CheckInput input = romCheckInput(fileOf(rom), CheckCourseId);
    // What the ROM holds is the clean course: the builder's bytes read back as written.
    rom::CourseData expected = test::cleanCheckCourse();
    QCOMPARE(input.course, expected);
    QVERIFY(input.behaviour && input.definedTiles && input.objectZones && input.slot);
    const rom::CheckReport report = rom::checkCourse(input);
    QVERIFY2(report.findings.empty(), joined(linesOf(report)).constData());
    // The same course as values (the editor's or a course file's) against the same ROM.
    QVERIFY(rom::checkCourse(courseCheckInput(fileOf(rom), expected)).findings.empty());
}

void TestCourseCheck::plantedFault_data()
{
    QTest::addColumn<int>("plant");
    for (std::size_t k = 0; k < plants().size(); ++k)
        QTest::newRow(plants()[k].name) << int(k);
}

void TestCourseCheck::plantedFault()
{
    QFETCH(int, plant);
    const Plant &p = plants()[std::size_t(plant)];
    rom::CourseData course = test::cleanCheckCourse();
    if (p.course)
        p.course(course);
    test::GameRom rom = test::checkRom(course);
    if (p.romBytes)
        p.romBytes(rom);
    rom::CheckInput input = romCheckInput(fileOf(rom), CheckCourseId);
    if (p.input)
        p.input(input);
    const rom::CheckReport report = rom::checkCourse(input);
    const std::vector<std::string> lines = linesOf(report);
    const auto found = std::find_if(lines.begin(), lines.end(), [&](const std::string &line) {
        return line.find(p.line) != std::string::npos;
    });
    QVERIFY2(found != lines.end(), (p.line + ("\nnot among:\n" + joined(lines))).constData());
    QCOMPARE(report.findings[std::size_t(found - lines.begin())].area, p.area);
    const bool error = std::string_view(p.line).find("warning: ") != 0;
    QCOMPARE(report.errors() > 0, error);
}

void TestCourseCheck::unreadableTableComesFirstAndTheRestIsChecked()
{
    rom::CourseData course = test::cleanCheckCourse();
    test::setTile(course, 20, 56, test::WallTile);
    test::GameRom rom = test::checkRom(course);
    // The lap line's cell index past the zone grid: that layer cannot be read.
    corruptWord(rom, rom::map::LapLines + rom::map::LapRecordSize * CheckCourseId + 2, 0xFFFF);
    const rom::CheckReport report = rom::checkCourse(romCheckInput(fileOf(rom), CheckCourseId));
    const std::vector<std::string> lines = linesOf(report);
    QVERIFY2(lines.size() == 2, joined(lines).constData());
    QVERIFY2(lines[0].starts_with("error: Mario Circuit 1: lap line at "), lines[0].c_str());
    QCOMPARE(lines[1], "error: start grid kart 3 at (160, 448) is on a wall tile 0x20");

    // A file that is no ROM at all: that, and nothing else can be checked against its tables.
    const rom::CheckReport none = rom::checkCourse(courseCheckInput(QByteArray(100, 'x'), course));
    QCOMPARE(none.errors(), 1);
    QVERIFY(none.findings[0].line().starts_with("error: the ROM: "));
}

void TestCourseCheck::summaryCounts()
{
    rom::CheckReport report;
    QCOMPARE(report.summary(), "0 errors, 0 warnings");
    report.findings = {{rom::Severity::Error, "a", {}}, {rom::Severity::Warning, "b", {}},
                       {rom::Severity::Error, "c", {}}, {rom::Severity::Warning, "d", {}},
                       {rom::Severity::Warning, "e", {}}};
    QCOMPARE(report.summary(), "2 errors, 3 warnings");
    report.findings.resize(2);
    QCOMPARE(report.summary(), "1 error, 1 warning");
}

VELMOR_GUILESS_TEST_MAIN(TestCourseCheck)
#include "test_course_check.moc"
