#include "course/course_image.h"
#include "course/track_file.h"
#include "platform/byte_span.h"
#include "rom/ai_repack.h"
#include "rom/course_layers.h"
#include "rom/race_map.h"
#include "rom/rom_map.h"
#include "tests/support/synthetic_race.h"
#include "tests/support/test_main.h"

#include <QTest>

#include <functional>
#include <random>

using namespace velmor;
using namespace Qt::StringLiterals;

namespace {

using Change = std::function<void(rom::CourseData &)>;
using Ai = SharingAnswers::Ai;

constexpr int MarioCircuit1 = 0x07;
constexpr int SharedStartBattle = 0x15; // shares its start record with 0x16 and 0x17
constexpr int SharedAiBattle = 0x14; // shares its AI with 0x15 and 0x17

// Built once: compressing 24 courses is the slow part.
QByteArray romBytes()
{
    static const QByteArray rom = toByteArray(test::gameRom({.seed = 5, .raceData = true}).bytes);
    return rom;
}

rom::CourseLayers layersOf(const QByteArray &file, int id)
{
    return rom::readCourseLayers(*rom::RomImage::open(byteView(file)), id);
}

// The layout as the game reads it, decoded here without the program's own readers.
codec::Bytes layoutIn(const QByteArray &file, int id)
{
    const auto bytes = toBytes(file);
    const codec::DecodeResult outer = codec::decode(
        codec::ByteView(bytes).subspan(rom::courseById(id)->layoutOffset + 0x200));
    codec::Bytes tiles;
    for (const QString &text : track::decode(toByteArray(outer.output)).texts)
        tiles.push_back(std::uint8_t(text.toInt(nullptr, 16)));
    return tiles;
}

rom::AiSets aiOf(const QByteArray &file)
{
    return *rom::readAiSets(*rom::RomImage::open(byteView(file))).value;
}

rom::CourseData courseOf(int id, const Change &change = {})
{
    rom::CourseData course = test::syntheticCourses()[std::size_t(id)];
    if (change)
        change(course);
    return course;
}

rom::CourseAi withExtraZone(rom::CourseAi ai)
{
    ai.zones.push_back({rom::ZoneShape::Rectangle, 1, 2, 3, 4});
    ai.targets.push_back({9, 10, 2});
    ai.spare.clear();
    return ai;
}

// Rectangles of 8 bytes a zone with its target.
rom::CourseAi zonesOf(int count)
{
    rom::CourseAi ai;
    ai.zones.assign(std::size_t(count), {rom::ZoneShape::Rectangle, 1, 1, 2, 2});
    ai.targets.assign(std::size_t(count), {1, 1, 1});
    return ai;
}

// Game offsets a block lies in: every byte a save changes must lie in one of its blocks.
struct Range
{
    std::size_t at;
    std::size_t size;
};
using Ranges = QList<Range>;

// The header's checksum pair changes with every write into the game's bytes.
bool outside(std::size_t offset, const Ranges &ranges)
{
    if (offset >= rom::header::Complement && offset < rom::header::End)
        return false;
    return std::none_of(ranges.begin(), ranges.end(), [offset](const Range &r) {
        return offset >= r.at && offset < r.at + r.size;
    });
}

} // namespace

Q_DECLARE_METATYPE(Change)
Q_DECLARE_METATYPE(Ranges)

// A course written into a ROM block by block: only what changed, read back, all or nothing.
class TestCourseSave : public QObject
{
    Q_OBJECT

private slots:
    void writesOnlyTheChangedBlocks_data();
    void writesOnlyTheChangedBlocks();
    void refusesAndChangesNothing_data();
    void refusesAndChangesNothing();
    void sharedAiKeptOrSplit_data();
    void sharedAiKeptOrSplit();
    void everyOtherCourseKeepsItsAi();
    void unreadableAiLeavesTheRestWritten();
};

void TestCourseSave::writesOnlyTheChangedBlocks_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<Change>("change");
    QTest::addColumn<QStringList>("written");
    QTest::addColumn<Ranges>("ranges");
    const std::size_t id = MarioCircuit1;
    const Range ai {rom::map::AiBlockStart, rom::map::AiBlockSize},
        aiPointers {rom::map::AiZonePointers, 0x60};
    QTest::newRow("nothing") << int(id) << Change() << QStringList() << Ranges();
    QTest::newRow("theme and object kind")
        << int(id) << Change([](auto &c) { c.theme = rom::Theme::RainbowRoad; })
        << QStringList {u"theme"_s, u"object kind"_s}
        << Ranges {{rom::map::CourseThemes + id, 1}, {rom::map::ObjectKinds + id, 1}};
    QTest::newRow("items") << int(id) << Change([](auto &c) { c.items.push_back({0, 1, 40, 50}); })
                           << QStringList {u"items"_s}
                           << Ranges {{rom::map::ItemSlots + id * 128, 128}};
    QTest::newRow("objects") << int(id) << Change([](auto &c) { c.objects->groups[2][1] = {7, 8}; })
                             << QStringList {u"objects"_s}
                             << Ranges {{rom::map::ObjectSlots + id * 64, 64}};
    QTest::newRow("start") << int(id)
                           << Change([](auto &c) { std::get<rom::RaceStart>(c.start).x += 16; })
                           << QStringList {u"start grid"_s}
                           << Ranges {{test::startRecordOf(int(id)) + 2, 6}};
    QTest::newRow("lap") << int(id) << Change([](auto &c) { c.lap->y += 8; })
                         << QStringList {u"lap line"_s}
                         << Ranges {{rom::map::LapLines + id * 6, 6}};
    QTest::newRow("ai") << int(id) << Change([](auto &c) { c.ai = withExtraZone(c.ai); })
                        << QStringList {u"AI"_s} << Ranges {ai, aiPointers};
    QTest::newRow("layout") << int(id) << Change([](auto &c) { c.layout[5000] ^= 0x5A; })
                            << QStringList {u"layout"_s}
                            << Ranges {{rom::courseById(int(id))->layoutOffset,
                                        rom::courseById(int(id))->slotLength}};
    QTest::newRow("battle start, shared and answered yes")
        << SharedStartBattle
        << Change([](auto &c) { std::get<rom::BattleStart>(c.start).p2 = {300, 400}; })
        << QStringList {u"start grid"_s} << Ranges {{test::startRecordOf(SharedStartBattle) + 2, 8}};
}

void TestCourseSave::writesOnlyTheChangedBlocks()
{
    QFETCH(int, id);
    QFETCH(Change, change);
    QFETCH(QStringList, written);
    QFETCH(Ranges, ranges);
    const QByteArray before = romBytes();
    const rom::CourseData course = courseOf(id, change);
    QStringList asked;
    SharingAnswers answers = SharingAnswers::fixed(true, Ai::Cancel);
    answers.changeSharedStart = [&asked](const QString &, const QStringList &others) {
        asked = others;
        return true;
    };
    const CourseImage image = CourseImage::build(course, before, answers);
    QVERIFY2(image.ok, qPrintable(image.message));
    QCOMPARE(image.written, written);
    // An independent look: the values read back, and no byte changed outside the blocks.
    QCOMPARE(layersOf(image.rom, id).course(layoutIn(image.rom, id)), course);
    for (qsizetype k = 0; k < before.size(); ++k) {
        if (before[k] != image.rom[k])
            QVERIFY2(!outside(std::size_t(k) - 0x200, ranges), qPrintable(u"byte %1"_s.arg(k, 0, 16)));
    }
    if (id == SharedStartBattle) {
        QCOMPARE(asked, (QStringList {u"Battle Course 1"_s, u"Battle Course 2"_s}));
        QCOMPARE(layersOf(image.rom, 0x16).start.value, course.start);
    }
}

void TestCourseSave::refusesAndChangesNothing_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<Change>("change");
    QTest::addColumn<bool>("cancelled");
    QTest::addColumn<QString>("message");
    QTest::newRow("42 items") << MarioCircuit1 << Change([](auto &c) { c.items.resize(42); })
                              << false << u"items: 42 items; the game allows 41"_s;
    QTest::newRow("layout too large")
        << MarioCircuit1 << Change([](auto &c) {
               std::mt19937 random(7);
           // Noise in half the map: past its slot, within what the game's decoding may give.
           for (std::size_t k = 0; k < c.layout.size() / 2; ++k)
               c.layout[k] = std::uint8_t(random());
           })
        << false << u"the layout of Mario Circuit 1: needs "_s;
    QTest::newRow("AI over-full") << MarioCircuit1
                                  << Change([](auto &c) { c.ai = zonesOf(rom::map::MaxZones); })
                                  << false << u"the AI block: the AI of all courses takes"_s;
    QTest::newRow("shared start answered no")
        << SharedStartBattle << Change([](auto &c) { std::get<rom::BattleStart>(c.start).p1 = {8, 8}; })
        << true << u"the start record Battle Course 4 shares with Battle Course 1, Battle Course 2"_s;
    QTest::newRow("shared AI cancelled") << SharedAiBattle
                                         << Change([](auto &c) { c.ai = withExtraZone(c.ai); })
                                         << true << u"the AI Battle Course 3 shares with"_s;
}

void TestCourseSave::refusesAndChangesNothing()
{
    QFETCH(int, id);
    QFETCH(Change, change);
    QFETCH(bool, cancelled);
    QFETCH(QString, message);
    QByteArray before = romBytes();
    if (QByteArray(QTest::currentDataTag()) == "AI over-full") {
        // The other race courses take all the room but a few bytes first.
        rom::AiSets sets = aiOf(before);
        const auto total = [&sets] {
            std::size_t sum = 0;
            for (int k = 0; k < rom::CourseCount; ++k)
                sum += sets.setOf[std::size_t(k)] == k ? sets.ai[std::size_t(k)].size() : 0;
            return sum;
        };
        for (int other = 0; other < rom::map::FirstBattleCourse; ++other) {
            if (other == MarioCircuit1)
                continue;
            const std::size_t room = rom::map::AiBlockSize - (total() - sets.of(other).size());
            sets.setFor(other) = zonesOf(std::min<int>(127, int(room - 1) / 8));
        }
        auto bytes = toBytes(before);
        QCOMPARE(rom::repackAi(rom::GameBytes(bytes).subspan(0x200), sets), std::string());
        before = toByteArray(bytes);
    }
    const QByteArray kept = before;
    const CourseImage image =
        CourseImage::build(courseOf(id, change), before, SharingAnswers::fixed(false, Ai::Cancel));
    QVERIFY(!image.ok);
    QVERIFY(image.rom.isEmpty());
    QCOMPARE(image.outcome == CourseImage::Outcome::Cancelled, cancelled);
    QVERIFY2(image.message.contains(message), qPrintable(image.message));
    QCOMPARE(before, kept);
}

void TestCourseSave::sharedAiKeptOrSplit_data()
{
    QTest::addColumn<Ai>("answer");
    QTest::newRow("kept shared") << Ai::KeepShared;
    QTest::newRow("split") << Ai::Split;
}

void TestCourseSave::sharedAiKeptOrSplit()
{
    QFETCH(Ai, answer);
    const QByteArray before = romBytes();
    const rom::CourseData course = courseOf(SharedAiBattle, [](auto &c) { c.ai = withExtraZone(c.ai); });
    const CourseImage image = CourseImage::build(course, before, SharingAnswers::fixed(false, answer));
    QVERIFY2(image.ok, qPrintable(image.message));
    const rom::AiSets after = aiOf(image.rom), old = aiOf(before);
    QCOMPARE(after.of(SharedAiBattle), course.ai);
    for (const int other : {0x15, 0x17})
        QCOMPARE(after.of(other), answer == Ai::Split ? old.of(other) : course.ai);
    QCOMPARE(after.sharers(SharedAiBattle).empty(), answer == Ai::Split);
}

void TestCourseSave::everyOtherCourseKeepsItsAi()
{
    const QByteArray before = romBytes();
    const rom::AiSets old = aiOf(before);
    for (int id = 0; id < rom::CourseCount; ++id) {
        const rom::CourseData course = courseOf(id, [](auto &c) { c.ai = withExtraZone(c.ai); });
        const CourseImage image =
            CourseImage::build(course, before, SharingAnswers::fixed(false, Ai::Split));
        QVERIFY2(image.ok, qPrintable(image.message));
        const rom::AiSets after = aiOf(image.rom);
        QCOMPARE(after.of(id), course.ai);
        for (int other = 0; other < rom::CourseCount; ++other) {
            if (other != id)
                QVERIFY2(after.of(other) == old.of(other), qPrintable(u"%1 after %2"_s.arg(other).arg(id)));
        }
    }
}

void TestCourseSave::unreadableAiLeavesTheRestWritten()
{
    QByteArray before = romBytes();
    // Course 0's zones now run off the end of the bank without an end mark.
    const std::size_t last = rom::map::AiBankStart + rom::map::AiBankSize - 16;
    before.replace(qsizetype(last) + 0x200, 16, QByteArray(16, '\0'));
    before[qsizetype(rom::map::AiZonePointers) + 0x200] = char(0xF0);
    before[qsizetype(rom::map::AiZonePointers) + 0x201] = char(0xFF);
    const rom::CourseData course = courseOf(MarioCircuit1, [](auto &c) {
        c.items.clear();
        c.ai = withExtraZone(c.ai);
    });
    const CourseImage image = CourseImage::build(course, before, SharingAnswers::fixed(false, Ai::Cancel));
    QVERIFY2(image.ok, qPrintable(image.message));
    QCOMPARE(image.written, QStringList {u"items"_s});
    QVERIFY2(image.message.contains(u"the AI was not written"_s), qPrintable(image.message));
    QCOMPARE(layersOf(image.rom, MarioCircuit1).items.value, course.items);
}

VELMOR_GUILESS_TEST_MAIN(TestCourseSave)
#include "test_course_save.moc"
