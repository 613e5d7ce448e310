#include "course/course_file.h"
#include "course/restore_points.h"
#include "rom/course_catalogue.h"
#include "tests/support/synthetic_check.h"
#include "tests/support/synthetic_race.h"
#include "tests/support/test_main.h"
#include "tests/support/tool_process.h"

#include <QDir>
#include <QTemporaryDir>

#include <filesystem>
#include <functional>
#include <random>
#include <QTest>

using namespace velmor;
using namespace Qt::StringLiterals;

namespace {

using Run = test::ToolRun;

Run course(const QStringList &arguments)
{
    return test::runTool(QStringLiteral(VELMOR_COURSE_EXE), arguments, QString(), 20000);
}

const test::GameRom &raceRom()
{
    static const test::GameRom rom = test::gameRom({.seed = 8, .raceData = true});
    return rom;
}

QString idText(int id)
{
    return u"%1"_s.arg(id, 2, 16, QLatin1Char('0'));
}

Run runCourse(const QStringList &arguments)
{
    return course(arguments);
}

using CoursePlant = std::function<void(rom::CourseData &)>;

} // namespace

Q_DECLARE_METATYPE(CoursePlant)

// The real velmor-course, run as a process over synthetic ROMs that hold known race data for
// every course: what it prints and writes, its refusals and its exit statuses.
class TestVelmorCourse : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void help();
    void commandLineErrors_data();
    void commandLineErrors();
    void showJsonIsTheCourseFile_data();
    void showJsonIsTheCourseFile();
    void showSummarises_data();
    void showSummarises();
    void exportWritesTheSameFile();
    void refusals_data();
    void refusals();
    void importCarriesACourseOver();
    void checkFindsPlantedFaults_data();
    void checkFindsPlantedFaults();
    void checkCourseFile();
    void restoreListsAndRestores();

private:
    QString path(const QString &name) const { return mDir.filePath(name); }

    QTemporaryDir mDir;
};

void TestVelmorCourse::initTestCase()
{
    QVERIFY(mDir.isValid());
    QVERIFY(test::writeBytes(path(u"race.smc"_s), raceRom().bytes));
    // Random filler where the race would be: every race layer unreadable, the layout still there.
    QVERIFY(test::writeBytes(path(u"plain.smc"_s), test::gameRom({.seed = 8}).bytes));
}

void TestVelmorCourse::help()
{
    const Run run = course({u"--help"_s});
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.out.startsWith(u"usage: velmor-course show [--json] [--] ROM COURSE\n"
                                "       velmor-course export [--] ROM COURSE OUT.vcourse\n"_s),
             qPrintable(run.out));
    // A flag that changes what the operands are gets a usage line of each form.
    QVERIFY2(run.out.contains(u"       velmor-course check [--] ROM COURSE\n"
                              "       velmor-course check [--] FILE.vcourse --rom ROM\n"_s),
             qPrintable(run.out));
    QVERIFY(run.out.contains(u"Exit status: 0 done, 1 refused or failed, 2 wrong command line."_s));
}

void TestVelmorCourse::commandLineErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    const QString rom = u"race.smc"_s;
    QTest::newRow("nothing") << QStringList() << u"no command given"_s;
    QTest::newRow("unknown command") << QStringList {u"insert"_s, rom} << u"unknown command \"insert\""_s;
    QTest::newRow("--output without its value")
        << QStringList {u"import"_s, rom, u"07"_s, u"a.vcourse"_s, u"--output"_s}
        << u"--output needs a value"_s;
    QTest::newRow("show without the course")
        << QStringList {u"show"_s, rom} << u"show takes ROM, COURSE, got 1 argument"_s;
    QTest::newRow("export without the file")
        << QStringList {u"export"_s, rom, u"07"_s} << u"export takes ROM, COURSE, OUT.vcourse"_s;
    QTest::newRow("--json for export") << QStringList {u"export"_s, u"--json"_s, rom, u"07"_s, u"a"_s}
                                       << u"export takes no option --json"_s;
    QTest::newRow("--json twice") << QStringList {u"show"_s, u"--json"_s, u"--json"_s, rom, u"07"_s}
                                  << u"--json is given twice"_s;
    QTest::newRow("help with more") << QStringList {u"show"_s, u"--help"_s}
                                    << u"--help is understood only as the only argument"_s;
    QTest::newRow("check without the course")
        << QStringList {u"check"_s, rom} << u"check takes ROM, COURSE, got 1 argument"_s;
    QTest::newRow("check of no course") << QStringList {u"check"_s, rom, u"Luigi Circuit"_s}
                                        << u"\"Luigi Circuit\" names no course"_s;
    QTest::newRow("restore without what to do")
        << QStringList {u"restore"_s, rom} << u"restore needs --list or --to N after the ROM"_s;
    QTest::newRow("course 18") << QStringList {u"show"_s, rom, u"18"_s}
                               << u"there is no course 18; course IDs go from 00 to 17"_s;
}

void TestVelmorCourse::commandLineErrors()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const Run run = test::runTool(QStringLiteral(VELMOR_COURSE_EXE), arguments, mDir.path(), 20000);
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.startsWith(u"velmor-course: "_s + message), qPrintable(run.err));
    QVERIFY2(run.err.contains(u"try --help"_s), qPrintable(run.err));
    QVERIFY(run.out.isEmpty());
}

void TestVelmorCourse::showJsonIsTheCourseFile_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("given");
    for (int id = 0; id < rom::CourseCount; ++id)
        QTest::addRow("course %02x", id) << id << idText(id);
    QTest::newRow("by name") << 0x07 << u"MARIO CIRCUIT 1"_s;
    QTest::newRow("by listed offset") << 0x07 << u"68F2C"_s;
}

void TestVelmorCourse::showJsonIsTheCourseFile()
{
    QFETCH(int, id);
    QFETCH(QString, given);
    const rom::CourseData &expected = test::syntheticCourses()[std::size_t(id)];
    const Run run = course({u"show"_s, path(u"race.smc"_s), given, u"--json"_s});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QVERIFY(run.err.isEmpty());
    QCOMPARE(run.out.toUtf8(), *coursefile::write(expected));
    // Read back: the values the builder wrote, but for what a course file does not carry.
    const coursefile::ReadResult read = coursefile::read(run.out.toUtf8());
    QVERIFY2(read.ok(), qPrintable(read.error));
    rom::CourseData carried = expected;
    carried.ai.spare.clear();
    for (rom::Target &target : carried.ai.targets)
        target.unknownBit = false;
    QVERIFY(*read.course == carried);
}

void TestVelmorCourse::showSummarises_data()
{
    QTest::addColumn<QString>("given");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("a race course")
        << u"07"_s
        << QStringList {u"Mario Circuit 1 (course 07)"_s, u"theme: Mario Circuit (code 02)"_s,
                        u"objects: 4 groups of 4, "_s, u"start grid: race, first place at ("_s,
                        u"lap line: y "_s, u"AI: "_s};
    QTest::newRow("41 items") << idText(test::FullItemsCourse) << QStringList {u"items: 41 of 41 ("_s};
    QTest::newRow("no items") << idText(test::NoItemsCourse) << QStringList {u"items: 0 of 41\n"_s};
    QTest::newRow("a battle course's shared sets")
        << u"14"_s
        << QStringList {u"objects: none (battle courses have no object positions)"_s,
                        u"lap line: none (battle courses have none)"_s,
                        u"; the set is shared with Battle Course 4 (course 15), Battle Course 2 (course 17)"_s};
}

void TestVelmorCourse::showSummarises()
{
    QFETCH(QString, given);
    QFETCH(QStringList, lines);
    const Run run = course({u"show"_s, path(u"race.smc"_s), given});
    QCOMPARE(run.exitCode, 0);
    for (const QString &line : lines)
        QVERIFY2(run.out.contains(line), qPrintable(run.out));
    QVERIFY(!run.out.contains(u"unreadable"_s));
    // Without race data the summary says which layer could not be read, and where.
    const Run plain = course({u"show"_s, path(u"plain.smc"_s), given});
    QCOMPARE(plain.exitCode, 0);
    QVERIFY2(plain.out.contains(u"AI: unreadable: "_s) && plain.out.contains(u" at 0x"_s),
             qPrintable(plain.out));
}

void TestVelmorCourse::exportWritesTheSameFile()
{
    const QString out = path(u"mc1.vcourse"_s);
    const Run run = course({u"export"_s, path(u"race.smc"_s), u"07"_s, out});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QVERIFY2(run.out.startsWith(u"wrote %1 ("_s.arg(out)) && run.out.contains(u"Mario Circuit 1 (course 07)"_s),
             qPrintable(run.out));
    QCOMPARE(test::readBytes(out), test::bytesOf(*coursefile::write(test::syntheticCourses()[0x07])));
}

void TestVelmorCourse::refusals_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::newRow("no ROM") << QStringList {u"show"_s, u"missing.smc"_s, u"07"_s}
                            << u"cannot read the ROM file"_s;
    QTest::newRow("no course at the offset") << QStringList {u"show"_s, u"race.smc"_s, u"68f2d"_s}
                                             << u"no course of this ROM starts at 0x68f2d"_s;
    QTest::newRow("json of an unreadable course")
        << QStringList {u"show"_s, u"--json"_s, u"plain.smc"_s, u"07"_s}
        << u"cannot take Mario Circuit 1 (course 07) whole: Mario Circuit 1: "_s;
    QTest::newRow("export over the ROM") << QStringList {u"export"_s, u"race.smc"_s, u"07"_s, u"race.smc"_s}
                                         << u"is the ROM file itself"_s;
    QTest::newRow("export of an unreadable course")
        << QStringList {u"export"_s, u"plain.smc"_s, u"07"_s, u"plain.vcourse"_s}
        << u"cannot take Mario Circuit 1 (course 07) whole"_s;
    QTest::newRow("import of a bad course file")
        << QStringList {u"import"_s, u"race.smc"_s, u"07"_s, u"bad.vcourse"_s}
        << u".col: 200 is not 0–127"_s;
    QTest::newRow("import of a battle course into a race course")
        << QStringList {u"import"_s, u"race.smc"_s, u"07"_s, u"battle.vcourse"_s}
        << u"Mario Circuit 1 is a race course: their blocks differ"_s;
    QTest::newRow("import changing a shared start record")
        << QStringList {u"import"_s, u"race.smc"_s, u"16"_s, u"battle.vcourse"_s}
        << u"stays as it is (--change-shared changes it for all of them"_s;
}

void TestVelmorCourse::refusals()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    rom::CourseData battle = test::syntheticCourses()[0x15];
    std::get<rom::BattleStart>(battle.start).p1 = {16, 16};
    rom::CourseData bad = test::syntheticCourses()[0x07];
    bad.items.push_back({3, 55, 126, 125});
    QByteArray badFile = *coursefile::write(bad);
    badFile.replace("\"size\": 3, \"col\": 126", "\"size\": 3, \"col\": 200");
    QVERIFY(test::writeBytes(path(u"bad.vcourse"_s), test::bytesOf(badFile)));
    QVERIFY(test::writeBytes(path(u"battle.vcourse"_s), test::bytesOf(*coursefile::write(battle))));
    const codec::Bytes romBefore = test::readBytes(path(u"race.smc"_s));
    const Run run = test::runTool(QStringLiteral(VELMOR_COURSE_EXE), arguments, mDir.path(), 20000);
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.startsWith(u"velmor-course: "_s) && run.err.contains(message), qPrintable(run.err));
    QVERIFY(run.out.isEmpty());
    QCOMPARE(test::readBytes(path(u"race.smc"_s)), romBefore);
    QVERIFY(!QFileInfo::exists(path(u"plain.vcourse"_s)));
}

void TestVelmorCourse::importCarriesACourseOver()
{
    // A course changed in every block, put into one ROM as a new file, exported from there and
    // imported in place into another ROM: both then show the same course.
    rom::CourseData changed = test::syntheticCourses()[0x07];
    changed.theme = rom::Theme::ChocoIsland;
    changed.layout[1000] = 0x33;
    changed.items.pop_back();
    changed.objects->groups[0][0] = {5, 6};
    std::get<rom::RaceStart>(changed.start).y += 24;
    changed.lap->w += 1;
    changed.ai.zones.push_back({rom::ZoneShape::TriangleLeftUp, 10, 12, 0, 0, 3});
    changed.ai.targets.push_back({40, 50, 3});
    changed.ai.spare.clear();
    QVERIFY(test::writeBytes(path(u"changed.vcourse"_s), test::bytesOf(*coursefile::write(changed))));
    const QString other = path(u"other.smc"_s), first = path(u"first.smc"_s);
    QVERIFY(test::writeBytes(other, test::gameRom({.seed = 3, .raceData = true}).bytes));
    const codec::Bytes race = test::readBytes(path(u"race.smc"_s));

    Run run = course({u"import"_s, path(u"race.smc"_s), u"07"_s, path(u"changed.vcourse"_s),
                      u"--output"_s, first});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QVERIFY2(run.out.contains(u"wrote the layout ("_s) && run.out.contains(u"AI"_s), qPrintable(run.out));
    QCOMPARE(test::readBytes(path(u"race.smc"_s)), race);
    run = course({u"export"_s, first, u"07"_s, path(u"carried.vcourse"_s)});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    // One zone more moves the AI of the courses behind it; each reads back as it was.
    QStringList othersBefore;
    for (const QString &id : {u"00"_s, u"08"_s, u"13"_s, u"17"_s})
        othersBefore.append(course({u"show"_s, other, id, u"--json"_s}).out);
    run = course({u"import"_s, other, u"MARIO CIRCUIT 1"_s, path(u"carried.vcourse"_s)});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    const Run shown = course({u"show"_s, other, u"07"_s, u"--json"_s});
    QCOMPARE(shown.out, course({u"show"_s, first, u"07"_s, u"--json"_s}).out);
    QCOMPARE(shown.out.toUtf8(), *coursefile::write(changed));
    QStringList othersAfter;
    for (const QString &id : {u"00"_s, u"08"_s, u"13"_s, u"17"_s})
        othersAfter.append(course({u"show"_s, other, id, u"--json"_s}).out);
    QCOMPARE(othersAfter, othersBefore);
    // In place, a restore point of the ROM as it was is kept beside it.
    const QDir points(other + u".restore"_s);
    QVERIFY(points.exists());
    const qsizetype kept = points.entryList(QDir::Files).size();

    // A ROM with a second hard link is refused before its restore point is kept.
    std::error_code failed;
    std::filesystem::create_hard_link(other.toStdString(), path(u"other-link.smc"_s).toStdString(), failed);
    if (failed)
        QSKIP(qPrintable(u"this system makes no hard links: "_s + QString::fromStdString(failed.message())));
    const codec::Bytes linked = test::readBytes(other);
    changed.theme = rom::Theme::KoopaBeach;
    QVERIFY(test::writeBytes(path(u"changed.vcourse"_s), test::bytesOf(*coursefile::write(changed))));
    run = course({u"import"_s, other, u"07"_s, path(u"changed.vcourse"_s)});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains(u"hard link"_s), qPrintable(run.err));
    QCOMPARE(test::readBytes(other), linked);
    QCOMPARE(points.entryList(QDir::Files).size(), kept);
}


void TestVelmorCourse::checkFindsPlantedFaults_data()
{
    QTest::addColumn<CoursePlant>("plant");
    QTest::addColumn<QString>("line");
    QTest::newRow("clean") << CoursePlant([](rom::CourseData &) {}) << QString();
    QTest::newRow("start on a wall")
        << CoursePlant([](rom::CourseData &c) { test::setTile(c, 20, 56, test::WallTile); })
        << u"error: start grid kart 3 at (160, 448) is on a wall tile 0x20"_s;
    QTest::newRow("42 items") << CoursePlant([](rom::CourseData &c) {
        c.items.assign(42, {0, 1, 40, 20});
    }) << u"error: 42 items; the game allows 41 (the first too many: item 41 at tile (40, 20))"_s;
    QTest::newRow("target in lava")
        << CoursePlant([](rom::CourseData &c) { test::setTile(c, 104, 56, test::LavaTile); })
        << u"error: AI target 5 at tile (104, 56) is on a lava tile 0x30"_s;
    QTest::newRow("open AI loop") << CoursePlant([](rom::CourseData &c) {
        c.ai.zones.pop_back();
        c.ai.targets.pop_back();
    }) << u"error: the last AI zone, 14, is not next to zone 0: the AI loop is open"_s;
    QTest::newRow("over-full slot") << CoursePlant([](rom::CourseData &c) {
        std::mt19937 noise(7);
        for (std::uint8_t &tile : c.layout)
            tile = tile == test::RoadTile ? std::uint8_t(1 + noise() % 15) : tile;
    }) << u"; its slot holds 2,047 ("_s;
}

void TestVelmorCourse::checkFindsPlantedFaults()
{
    QFETCH(CoursePlant, plant);
    QFETCH(QString, line);
    rom::CourseData planted = test::cleanCheckCourse();
    plant(planted);
    const QString rom = path(u"check.smc"_s);
    QVERIFY(test::writeBytes(rom, test::checkRom(planted).bytes));
    const Run run = runCourse({u"check"_s, rom, u"Mario Circuit 1"_s});
    QVERIFY2(run.err.isEmpty(), qPrintable(run.err));
    if (line.isEmpty()) {
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QString());
        return;
    }
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.out.split(u'\n').filter(line).size() == 1, qPrintable(run.out));
}

void TestVelmorCourse::checkCourseFile()
{
    const QString rom = path(u"check.smc"_s);
    QVERIFY(test::writeBytes(rom, test::checkRom().bytes));
    rom::CourseData course = test::cleanCheckCourse();
    const QString file = path(u"ring.vcourse"_s);
    QVERIFY(test::writeBytes(file, test::bytesOf(*coursefile::write(course))));
    Run run = runCourse({u"check"_s, file, u"--rom"_s, rom});
    QVERIFY2(run.exitCode == 0 && run.out.isEmpty(), qPrintable(run.out + run.err));

    // The file's own course, not the ROM's, against the ROM's tables: either order of the two.
    test::setTile(course, 104, 56, test::LavaTile);
    QVERIFY(test::writeBytes(file, test::bytesOf(*coursefile::write(course))));
    for (const QStringList &arguments : {QStringList {u"check"_s, file, u"--rom"_s, rom},
                                         QStringList {u"check"_s, u"--rom"_s, rom, file}}) {
        run = runCourse(arguments);
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.out, u"error: AI target 5 at tile (104, 56) is on a lava tile 0x30\n"_s);
    }
    run = runCourse({u"check"_s, path(u"none.vcourse"_s), u"--rom"_s, rom});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.startsWith(u"velmor-course: cannot read the course file "_s), qPrintable(run.err));

    // Another region's ROM keeps its tables elsewhere: nothing is judged by what the US offsets
    // hold there, in either form.
    test::GameRomOptions japanese {.seed = 8, .raceData = true};
    japanese.region = rom::Region::Japan;
    const QString japan = path(u"japan.smc"_s);
    QVERIFY(test::writeBytes(japan, test::gameRom(japanese).bytes));
    for (const QStringList &arguments : {QStringList {u"check"_s, japan, u"07"_s},
                                         QStringList {u"check"_s, file, u"--rom"_s, japan}}) {
        run = runCourse(arguments);
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.out.startsWith(u"error: the ROM: This is the Japanese ROM of the game"_s),
                 qPrintable(run.out + run.err));
        QVERIFY2(!run.out.contains(u"AI target"_s), qPrintable(run.out));
    }
}

void TestVelmorCourse::restoreListsAndRestores()
{
    // Two saves, each keeping its point as Save Course into ROM does.
    const QString rom = path(u"restore.smc"_s);
    QByteArray states[3] = {QByteArray(4096, 'a'), QByteArray(4096, 'b'), QByteArray(4096, 'c')};
    const QDateTime first = QDateTime::fromString(u"2025-03-14T15:30:00Z"_s, Qt::ISODate);
    for (int k = 1; k <= 2; ++k) {
        QVERIFY(RestorePoints(rom).keep(states[k - 1], states[k], u"Course %1"_s.arg(k),
            first.addSecs(60 * k)).ok);
    }
    QVERIFY(test::writeBytes(rom, test::bytesOf(states[2])));
    Run run = course({u"restore"_s, rom, u"--list"_s});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out.count(u'\n'), 2);
    QVERIFY2(run.out.startsWith(u" 1  2025-03-14 15:32:00 UTC  Course 2  "_s), qPrintable(run.out));
    run = course({u"restore"_s, rom, u"--to"_s, u"2"_s});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QVERIFY(test::readBytes(rom) == test::bytesOf(states[0]));
    QCOMPARE(RestorePoints(rom).list().points.front().course, u"Restore"_s);
}

VELMOR_GUILESS_TEST_MAIN(TestVelmorCourse)
#include "test_velmor_course.moc"
