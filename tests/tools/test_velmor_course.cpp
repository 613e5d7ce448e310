#include "course/course_file.h"
#include "rom/course_catalogue.h"
#include "tests/support/synthetic_race.h"
#include "tests/support/test_main.h"
#include "tests/support/tool_process.h"

#include <QTemporaryDir>
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

} // namespace

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
    QVERIFY(run.out.contains(u"Exit status: 0 done, 1 refused or failed, 2 wrong command line."_s));
}

void TestVelmorCourse::commandLineErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    const QString rom = u"race.smc"_s;
    QTest::newRow("nothing") << QStringList() << u"no command given"_s;
    QTest::newRow("unknown command") << QStringList {u"import"_s, rom} << u"unknown command \"import\""_s;
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
}

void TestVelmorCourse::refusals()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const codec::Bytes romBefore = test::readBytes(path(u"race.smc"_s));
    const Run run = test::runTool(QStringLiteral(VELMOR_COURSE_EXE), arguments, mDir.path(), 20000);
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.startsWith(u"velmor-course: "_s) && run.err.contains(message), qPrintable(run.err));
    QVERIFY(run.out.isEmpty());
    QCOMPARE(test::readBytes(path(u"race.smc"_s)), romBefore);
    QVERIFY(!QFileInfo::exists(path(u"plain.vcourse"_s)));
}

VELMOR_GUILESS_TEST_MAIN(TestVelmorCourse)
#include "test_velmor_course.moc"
