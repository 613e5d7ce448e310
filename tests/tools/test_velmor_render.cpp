#include "rom/rom_map.h"
#include "tests/graphics/expected_course.h"
#include "tests/support/test_main.h"
#include "tests/support/tool_process.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace velmor;
using namespace Qt::StringLiterals;
using rom::Theme;

namespace {

using Run = test::ToolRun;

// A course is drawn in well under a second, also under the sanitizers.
Run render(const QStringList &arguments)
{
    return test::runTool(QStringLiteral(VELMOR_RENDER_EXE), arguments, QString(), 20000);
}

bool writeFile(const QString &path, const codec::Bytes &bytes)
{
    return test::writeBytes(path, bytes);
}

const test::GameRom &graphicsRom(bool headered)
{
    static const test::GameRom built[2] = {
        test::gameRom({.seed = 21,
            .copierHeader = false,
            .banks = test::BankForm::UpperWherePossible,
            .themeGraphics = true}),
        test::gameRom({.seed = 21, .copierHeader = true, .themeGraphics = true}),
    };
    return built[headered ? 1 : 0];
}

// The first place where the picture differs from the expected one enlarged `scale` times.
QString differenceAtScale(const QImage &actual, const QImage &expected, int scale)
{
    if (actual.size() != expected.size() * scale)
        return u"the picture is %1 x %2"_s.arg(actual.width()).arg(actual.height());
    const QImage image = actual.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (line[x] != expected.pixel(x / scale, y / scale))
                return u"pixel (%1, %2)"_s.arg(x).arg(y);
        }
    }
    return QString();
}

bool oneLine(const QString &text)
{
    return text.count(QLatin1Char('\n')) == 1 && text.endsWith(QLatin1Char('\n'));
}

} // namespace

// The real velmor-render, run as a process over synthetic ROMs: its pictures pixel for pixel
// against what the ROM's bytes say, its exit statuses and its one-line messages.
class TestVelmorRender : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void help_data();
    void help();
    void commandLineErrors_data();
    void commandLineErrors();
    void drawsTheRomsCourse_data();
    void drawsTheRomsCourse();
    void drawsATrackFile();
    void drawsTheRace();
    void refusals_data();
    void refusals();

private:
    QString romPath(bool headered) const
    {
        return mDir.filePath(headered ? u"kart.smc"_s : u"kart.sfc"_s);
    }

    QTemporaryDir mDir;
};

void TestVelmorRender::initTestCase()
{
    QVERIFY(mDir.isValid());
    QVERIFY(writeFile(romPath(true), graphicsRom(true).bytes));
    QVERIFY(writeFile(romPath(false), graphicsRom(false).bytes));
}

void TestVelmorRender::help_data()
{
    QTest::addColumn<QString>("option");
    QTest::newRow("--help") << u"--help"_s;
    QTest::newRow("-h") << u"-h"_s;
}

void TestVelmorRender::help()
{
    QFETCH(QString, option);
    const Run run = render({option});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.out.startsWith(
        u"usage: velmor-render [--track FILE.bin] [--scale N] [--layers LIST] [--] ROM COURSE OUT.png\n"_s));
    QVERIFY(run.err.isEmpty());
}

void TestVelmorRender::commandLineErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    const QString rom = u"kart.smc"_s;
    QTest::newRow("nothing") << QStringList()
                             << u"expected ROM, COURSE and OUT.png, got 0 arguments"_s;
    QTest::newRow("two") << QStringList {rom, u"07"_s}
                         << u"expected ROM, COURSE and OUT.png, got 2 arguments"_s;
    QTest::newRow("help with more")
        << QStringList {u"--help"_s, rom} << u"--help is understood only as the only argument"_s;
    QTest::newRow("unknown option") << QStringList {u"--size"_s, u"2"_s, rom, u"07"_s, u"a.png"_s}
                                    << u"unknown option --size"_s;
    QTest::newRow("scale 0") << QStringList {u"--scale"_s, u"0"_s, rom, u"07"_s, u"a.png"_s}
                             << u"the scale \"0\" is not a whole number from 1 to 8"_s;
    QTest::newRow("scale 9") << QStringList {u"--scale=9"_s, rom, u"07"_s, u"a.png"_s}
                             << u"the scale \"9\""_s;
    QTest::newRow("scale twice") << QStringList {u"--scale=2"_s, u"--scale=2"_s, rom, u"07"_s,
        u"a.png"_s} << u"--scale is given twice"_s;
    QTest::newRow("track without file")
        << QStringList {rom, u"07"_s, u"a.png"_s, u"--track"_s} << u"--track needs a value"_s;
    QTest::newRow("no such layer") << QStringList {u"--layers=items,ghosts"_s, rom, u"07"_s, u"a.png"_s}
                                   << u"--layers: \"ghosts\" is no layer"_s;
    QTest::newRow("course 18") << QStringList {rom, u"18"_s, u"a.png"_s}
                               << u"there is no course 18; course IDs go from 00 to 17"_s;
    QTest::newRow("misspelt name") << QStringList {rom, u"Mario Circut 1"_s, u"a.png"_s}
                                   << u"\"Mario Circut 1\" names no course"_s;
}

void TestVelmorRender::commandLineErrors()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const Run run = render(arguments);
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.startsWith(u"velmor-render: "_s + message), qPrintable(run.err));
    QVERIFY2(run.err.contains(u"try --help"_s), qPrintable(run.err));
    QVERIFY(oneLine(run.err));
    QVERIFY(run.out.isEmpty());
}

void TestVelmorRender::drawsTheRomsCourse_data()
{
    QTest::addColumn<bool>("headered");
    QTest::addColumn<QString>("course");
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("scale");
    QTest::addColumn<QString>("summary");
    QTest::newRow("ID, headered") << true << u"07"_s << 0x07 << 1
                                  << u"Mario Circuit 1 (course 07) in the Mario Circuit theme"_s;
    QTest::newRow("name in lower case, headerless")
        << false << u"mario circuit 1"_s << 0x07 << 1 << u"Mario Circuit 1 (course 07)"_s;
    QTest::newRow("listed offset, headered")
        << true << u"6e3ae"_s << 0x0D << 1
        << u"Koopa Beach 1 (course 0D) in the Koopa Beach theme"_s;
    QTest::newRow("listed offset, headerless, scale 2")
        << false << u"68F2C"_s << 0x07 << 2 << u"(2048 x 2048 pixels)"_s;
    // The builder's block for course 05 is 3 x 10 cells of tile 15; Rainbow Road defines 00-0B.
    QTest::newRow("Rainbow Road's undefined tiles")
        << true << u"Rainbow Road"_s << 0x05 << 1
        << u"Rainbow Road (course 05) in the Rainbow Road theme; 30 cells show tiles the theme does not define, drawn as placeholders"_s;
    QTest::newRow("Bowser Castle's run-on stream")
        << false << u"11"_s << 0x11 << 1
        << u"Bowser Castle 1 (course 11) in the Bowser Castle theme"_s;
}

void TestVelmorRender::drawsTheRomsCourse()
{
    QFETCH(bool, headered);
    QFETCH(QString, course);
    QFETCH(int, id);
    QFETCH(int, scale);
    QFETCH(QString, summary);
    const QString out =
        mDir.filePath(u"course %1.png"_s.arg(QLatin1String(QTest::currentDataTag())));
    const Run run = render({u"--scale"_s, QString::number(scale), romPath(headered), course, out});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.err.isEmpty());
    QVERIFY2(run.out.startsWith(u"wrote %1 (%2 x %2 pixels): "_s.arg(out).arg(1024 * scale)),
        qPrintable(run.out));
    QVERIFY2(run.out.contains(summary), qPrintable(run.out));
    QVERIFY(oneLine(run.out));

    // What the builder put into the course's slot, drawn from the bytes it wrote.
    const Theme theme = rom::courseById(id)->theme;
    const QImage expected = test::expectedCourseImage(
        graphicsRom(headered), theme, tileTexts(test::courseCells(id)));
    const QString difference = differenceAtScale(QImage(out, "PNG"), expected, scale);
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

void TestVelmorRender::drawsATrackFile()
{
    const QString track = mDir.filePath(u"my track.bin"_s);
    const codec::Bytes cells = test::courseLikeCells(4);
    QVERIFY(writeFile(track, test::trackStream(cells)));
    // After "--" a file name may start with "-".
    const QString out = mDir.filePath(u"-track.png"_s);
    const Run run =
        render({u"--track"_s, track, u"--"_s, romPath(false), u"Choco Island 2"_s, out});
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.out.contains(
                 u"the track file %1 in the Choco Island theme of Choco Island 2 (course 0A)"_s.arg(
                     track)),
        qPrintable(run.out));
    const QImage expected =
        test::expectedCourseImage(graphicsRom(false), Theme::ChocoIsland, tileTexts(cells));
    const QString difference = differenceAtScale(QImage(out, "PNG"), expected, 1);
    QVERIFY2(difference.isEmpty(), qPrintable(difference));

    // A theme code the ROM's table gets wrong: drawn in the game's own theme, and said so.
    test::GameRom retitled = graphicsRom(true);
    retitled.bytes[retitled.fileOffset(rom::map::CourseThemes + 0x0A)] = 0x13;
    const QString rom = mDir.filePath(u"retitled.smc"_s);
    QVERIFY(writeFile(rom, retitled.bytes));
    const Run warned = render({u"--track"_s, track, rom, u"0a"_s, out});
    QCOMPARE(warned.exitCode, 0);
    QVERIFY2(
        warned.out.contains(u"; the theme code 0x13 of Choco Island 2 (at 0x1ee39) is no theme"_s),
        qPrintable(warned.out));
    QVERIFY(oneLine(warned.out));
}

void TestVelmorRender::drawsTheRace()
{
    const QString rom = mDir.filePath(u"race.smc"_s);
    QVERIFY(writeFile(rom, test::gameRom({.seed = 21, .themeGraphics = true, .raceData = true}).bytes));
    const QString bare = mDir.filePath(u"bare.png"_s);
    const QString race = mDir.filePath(u"race.png"_s);
    QCOMPARE(render({rom, u"07"_s, bare}).exitCode, 0);
    // Asked in any order, drawn in the editor's; "all" is every one.
    const Run some = render({u"--layers"_s, u"start,zones"_s, rom, u"07"_s, race});
    QCOMPARE(some.exitCode, 0);
    QVERIFY2(some.out.endsWith(u"theme with the layers zones, start\n"_s), qPrintable(some.out));
    const Run all = render({u"--layers=all"_s, u"--scale=2"_s, rom, u"07"_s, race});
    QCOMPARE(all.exitCode, 0);
    QVERIFY2(all.out.contains(u"with the layers zones, targets, lap, items, objects, start"_s),
             qPrintable(all.out));
    const QImage drawn(race, "PNG");
    QCOMPARE(drawn.size(), QSize(2048, 2048));
    QVERIFY(differenceAtScale(drawn, QImage(bare, "PNG"), 2) != QString());

    // A layer the ROM does not hold readably is refused, not left out without a word.
    const Run refused = render({u"--layers=items"_s, romPath(true), u"07"_s, race});
    QCOMPARE(refused.exitCode, 1);
    QVERIFY2(refused.err.startsWith(u"velmor-render: cannot draw the layer items of Mario Circuit 1 "
                                    "(course 07): Mario Circuit 1: "_s),
             qPrintable(refused.err));
}

void TestVelmorRender::refusals_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    const QStringList withTrack {u"--track"_s, u"TRACK"_s, u"ROM"_s, u"07"_s, u"out.png"_s};
    QTest::newRow("no ROM") << QString() << QStringList {u"missing.smc"_s, u"07"_s, u"out.png"_s}
                            << u"cannot read the ROM file"_s;
    QTest::newRow("not a ROM size") << u"short"_s << QStringList {u"ROM"_s, u"07"_s, u"out.png"_s}
                                    << u"a file of 1000 bytes is no SNES ROM"_s;
    QTest::newRow("no course at the offset")
        << QString() << QStringList {u"ROM"_s, u"68f2d"_s, u"out.png"_s}
        << u"no course of this ROM starts at 0x68f2d"_s;
    QTest::newRow("output is the ROM")
        << QString() << QStringList {u"ROM"_s, u"07"_s, u"ROM"_s} << u"is the ROM file itself"_s;
    QTest::newRow("output folder missing")
        << QString() << QStringList {u"ROM"_s, u"07"_s, u"no/out.png"_s}
        << u"cannot write the image"_s;
    QTest::newRow("not a track file")
        << u"junk track"_s
        << withTrack
        << u"is no valid track"_s;
    QTest::newRow("output is a FIFO")
        << u"fifo"_s << QStringList {u"ROM"_s, u"07"_s, u"pipe.png"_s}
        << u"it is a FIFO (a named pipe), not a regular file"_s;
    QTest::newRow("sparse ROM of 4 GiB")
        << u"huge ROM"_s << QStringList {u"HUGE"_s, u"07"_s, u"out.png"_s}
        << u"it holds 4294967296 bytes, more than the 4194816 such a file may hold"_s;
    QTest::newRow("track of 32 cells")
        << u"part track"_s
        << withTrack
        << u"is no whole course: it describes 32 of 16,384 cells"_s;
    QTest::newRow("track of 1 GiB")
        << u"huge track"_s
        << withTrack
        << u"it holds 1073741824 bytes, more than the 65536 such a file may hold"_s;
    QTest::newRow("broken tile pointer")
        << u"pointer"_s << QStringList {u"ROM"_s, u"07"_s, u"out.png"_s}
        << u"cannot draw Mario Circuit 1 (course 07) in the Mario Circuit theme: the Mario Circuit tile pointer $C8:0000 at 0x1eda6 points past the end of this ROM (to 0x80200)"_s;
    QTest::newRow("Japanese ROM, with a track too")
        << u"japanese"_s << withTrack
        << u"This is the Japanese ROM of the game; Velmor writes only into the US ROM."_s;
    QTest::newRow("broken course stream")
        << u"course"_s << QStringList {u"ROM"_s, u"Mario Circuit 1"_s, u"out.png"_s}
        << u"cannot read Mario Circuit 1 (course 07) from the ROM: there is no valid compressed stream at offset 0x68f2c"_s;
}

void TestVelmorRender::refusals()
{
    QFETCH(QString, change);
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    QTemporaryDir dir;
    test::GameRom built = graphicsRom(true);
    if (change == u"short"_s)
        built.bytes.resize(1000);
    else if (change == u"pointer"_s)
        built.writePointer(rom::map::ThemeTilePointers + 3, 0x80000, test::BankForm::Whole);
    else if (change == u"course"_s)
        std::fill_n(built.bytes.begin() + std::ptrdiff_t(built.fileOffset(0x68D2C)), 4, 0x80);
    else if (change == u"japanese"_s)
        built.bytes[built.fileOffset(rom::header::Destination)] = rom::header::DestinationJapan;
    QVERIFY(writeFile(dir.filePath(u"ROM"_s), built.bytes));
    const QString track = dir.filePath(u"TRACK"_s);
    QVERIFY(writeFile(track, test::fromHex(change == u"part track"_s ? "3f01ff" : "0001")));
    if (change == u"huge track"_s)
        QVERIFY(test::makeSparseFile(track, qint64(1) << 30));
    else if (change == u"huge ROM"_s)
        QVERIFY(test::makeSparseFile(dir.filePath(u"HUGE"_s), qint64(4) << 30));
    const QString fifo = dir.filePath(u"pipe.png"_s);
    if (change == u"fifo"_s && !test::makeFifo(fifo))
        QSKIP("this system makes no FIFOs");
    // An earlier picture stays as it was.
    QVERIFY(writeFile(dir.filePath(u"out.png"_s), test::fromHex("0102")));
    // File arguments name files of the test's folder.
    for (QString &argument : arguments) {
        if (QStringList {u"ROM"_s, u"HUGE"_s, u"TRACK"_s, u"out.png"_s, u"no/out.png"_s,
                u"pipe.png"_s}
                .contains(argument))
            argument = dir.filePath(argument);
    }
    const Run run = render(arguments);
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.startsWith(u"velmor-render: "_s), qPrintable(run.err));
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
    QVERIFY(oneLine(run.err));
    QVERIFY(run.out.isEmpty());
    QFile old(dir.filePath(u"out.png"_s));
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("\x01\x02", 2));
    QCOMPARE(QFileInfo(dir.filePath(u"ROM"_s)).size(), qint64(built.bytes.size()));
    if (change == u"fifo"_s)
        QVERIFY2(test::isFifo(fifo), "the FIFO was replaced");
}

VELMOR_GUILESS_TEST_MAIN(TestVelmorRender)
#include "test_velmor_render.moc"
