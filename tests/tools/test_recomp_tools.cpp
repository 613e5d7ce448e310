#include "rom/course_catalogue.h"
#include "tests/support/synthetic_rom.h"
#include "tests/support/tool_process.h"
#include "tests/support/test_main.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>

using namespace velmor;

namespace {

constexpr std::size_t CourseOffset = 0x68f2c;

using Run = test::ToolRun;
using test::runTool;

QString recompPath()
{
    return QStringLiteral(VELMOR_RECOMP_EXE);
}

QString decompPath()
{
    return QStringLiteral(VELMOR_DECOMP_EXE);
}

QString velmorRomPath()
{
    return QStringLiteral(VELMOR_ROM_EXE);
}

bool writeFile(const QString &path, const codec::Bytes &bytes)
{
    return test::writeBytes(path, bytes);
}

codec::Bytes readFile(const QString &path)
{
    return test::readBytes(path);
}

// A headered ROM of random filler with the fresh map's track at the course offset, stored as
// plain copies so that the slot has room.
codec::Bytes romFixture()
{
    codec::Bytes rom = test::syntheticRom(11, true);
    const codec::Bytes stream = test::looseStream(test::trackStream(codec::Bytes(16384, 0x01)));
    std::copy(stream.begin(), stream.end(), rom.begin() + std::ptrdiff_t(CourseOffset));
    return rom;
}

} // namespace

// The real recomp.exe and decomp.exe, run as processes: file names, exit statuses, one-line
// messages, and the ROM untouched whenever they refuse.
class TestRecompTools : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void fileNames();
    void help_data();
    void help();
    void commandLineErrors_data();
    void commandLineErrors();
    void insertThenExtract();
    void refusalsKeepTheRom_data();
    void refusalsKeepTheRom();
    void helpOnlyAsTheOnlyArgument();
    void outputThatIsTheRomIsRefused_data();
    void outputThatIsTheRomIsRefused();
    void folderIsCalledAFolder();
    void listsEveryCourse_data();
    void listsEveryCourse();
    void courseFillsItsOriginalSlot();
    void unusableFilesAreRefused_data();
    void unusableFilesAreRefused();
    void expandThenMoveACourse();
    void otherRomsAreRefusedByName_data();
    void otherRomsAreRefusedByName();
    void twoWritersBothLand_data();
    void twoWritersBothLand();

private:
    QTemporaryDir mDir;
    QString mRom;
    QString mTrack;
};

void TestRecompTools::initTestCase()
{
    QVERIFY(mDir.isValid());
    mRom = mDir.filePath(QStringLiteral("kart rom.smc"));
    mTrack = mDir.filePath(QStringLiteral("new track.bin"));
    QVERIFY(writeFile(mTrack, test::trackStream(test::courseLikeCells(3))));
}

void TestRecompTools::fileNames()
{
    QCOMPARE(QFileInfo(recompPath()).fileName(), QStringLiteral("recomp.exe"));
    QCOMPARE(QFileInfo(decompPath()).fileName(), QStringLiteral("decomp.exe"));
    QVERIFY(QFileInfo(recompPath()).isExecutable());
}

void TestRecompTools::help_data()
{
    QTest::addColumn<QString>("program");
    QTest::newRow("recomp") << recompPath();
    QTest::newRow("decomp") << decompPath();
}

void TestRecompTools::help()
{
    QFETCH(QString, program);
    const Run run = runTool(program, {QStringLiteral("--help")});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.out.startsWith(QStringLiteral("usage: ") + QFileInfo(program).fileName()));
    QVERIFY(run.out.contains(QStringLiteral("<hex offset> <format> <format2>")));
    QVERIFY(run.err.isEmpty());
}

void TestRecompTools::commandLineErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::newRow("no arguments") << QStringList() << QStringLiteral("expected 5 arguments, got 0");
    QTest::newRow("four arguments") << QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("68f2c"), QStringLiteral("4")}
                                    << QStringLiteral("expected 5 arguments, got 4");
    QTest::newRow("prefixed offset") << QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("0x68f2c"), QStringLiteral("4"), QStringLiteral("0")}
                                     << QStringLiteral("the offset \"0x68f2c\" is not a hexadecimal number");
    QTest::newRow("other format") << QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("68f2c"), QStringLiteral("5"), QStringLiteral("0")}
                                  << QStringLiteral("format 5 with format2 0 is not supported");
    QTest::newRow("other format2") << QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("68f2c"), QStringLiteral("4"), QStringLiteral("1")}
                                   << QStringLiteral("format 4 with format2 1 is not supported");
    QTest::newRow("offset with a line break") << QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("68f\n2c"), QStringLiteral("4"), QStringLiteral("0")}
                                              << QStringLiteral("the offset \"68f\\n2c\" is not a hexadecimal number");
}

void TestRecompTools::commandLineErrors()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    for (const QString &program : {recompPath(), decompPath()}) {
        const Run run = runTool(program, arguments);
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
        QCOMPARE(run.err.count(QLatin1Char('\n')), 1);
        QVERIFY(run.err.endsWith(QLatin1Char('\n')));
        QVERIFY(run.out.isEmpty());
    }
}

void TestRecompTools::insertThenExtract()
{
    QVERIFY(writeFile(mRom, romFixture()));
    const codec::Bytes before = readFile(mRom);
    const Run insert = runTool(recompPath(), {mTrack, mRom, QStringLiteral("68F2C"), QStringLiteral("4"), QStringLiteral("0")});
    QCOMPARE(insert.exitCode, 0);
    QVERIFY(insert.err.isEmpty());
    const std::size_t written = codec::compress(readFile(mTrack)).size();
    QVERIFY2(insert.out.startsWith(QStringLiteral("wrote %1 bytes at 0x68f2c (Mario Circuit 1's slot of ").arg(written)),
             qPrintable(insert.out));
    QCOMPARE(insert.out.count(QLatin1Char('\n')), 1);
    const codec::Bytes after = readFile(mRom);
    QCOMPARE(after.size(), before.size());
    QVERIFY(std::equal(after.begin(), after.begin() + std::ptrdiff_t(CourseOffset), before.begin()));
    QVERIFY(std::equal(after.begin() + std::ptrdiff_t(CourseOffset + written), after.end(),
                       before.begin() + std::ptrdiff_t(CourseOffset + written)));

    const QString out = mDir.filePath(QStringLiteral("back.bin"));
    const Run extract = runTool(decompPath(), {mRom, out, QStringLiteral("68f2c"), QStringLiteral("4"), QStringLiteral("0")});
    QCOMPARE(extract.exitCode, 0);
    QVERIFY(extract.out.startsWith(QStringLiteral("wrote %1 bytes to ").arg(readFile(mTrack).size())));
    QCOMPARE(readFile(out), readFile(mTrack));
}

void TestRecompTools::refusalsKeepTheRom_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("offset");
    QTest::addColumn<QString>("message");
    QTest::newRow("input missing") << QStringLiteral("missing.bin") << QStringLiteral("68f2c") << QStringLiteral("cannot read the input file");
    QTest::newRow("offset past end") << QString() << QStringLiteral("80200") << QStringLiteral("offset 0x80200 lies past the end of the ROM (524800 bytes)");
    QTest::newRow("inside a course") << QString() << QStringLiteral("68f2e") << QStringLiteral("offset 0x68f2e lies inside Mario Circuit 1's slot (0x68f2c to 0x6972a)");
    QTest::newRow("no stream") << QString() << QStringLiteral("1000") << QStringLiteral("no valid compressed stream at 0x1000");
    QTest::newRow("not a track") << QStringLiteral("junk.bin") << QStringLiteral("68f2c") << QStringLiteral("holds a course, but the input is not a valid track file");
}

void TestRecompTools::refusalsKeepTheRom()
{
    QFETCH(QString, input);
    QFETCH(QString, offset);
    QFETCH(QString, message);
    codec::Bytes rom = romFixture();
    rom[CourseOffset + 2] = 0x80; // inside the first copy: a copy from an empty output
    rom[CourseOffset + 3] = 0x00;
    rom[CourseOffset + 4] = 0x00;
    rom[0x1000] = 0x80;
    rom[0x1001] = 0x00;
    rom[0x1002] = 0x00;
    QVERIFY(writeFile(mRom, rom));
    QVERIFY(writeFile(mDir.filePath(QStringLiteral("junk.bin")), {0x0f, 0x01}));
    const QString inputPath = input.isEmpty() ? mTrack : mDir.filePath(input);
    const Run run = runTool(recompPath(), {inputPath, mRom, offset, QStringLiteral("4"), QStringLiteral("0")});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.startsWith(QStringLiteral("recomp.exe: ")), qPrintable(run.err));
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
    QCOMPARE(run.err.count(QLatin1Char('\n')), 1);
    QVERIFY(run.out.isEmpty());
    QVERIFY(readFile(mRom) == rom);
}

void TestRecompTools::helpOnlyAsTheOnlyArgument()
{
    // Among five arguments "-h" is a file name like any other; "--" first lets a file be "-h".
    QVERIFY(writeFile(mRom, romFixture()));
    const QString dashH = mDir.filePath(QStringLiteral("-h"));
    QVERIFY(QFile::copy(mTrack, dashH));
    QDir::setCurrent(mDir.path());
    const Run among = runTool(recompPath(), {QStringLiteral("-h"), mRom, QStringLiteral("68f2c"),
                                             QStringLiteral("4"), QStringLiteral("0")});
    QCOMPARE(among.exitCode, 0);
    QVERIFY2(among.out.startsWith(QStringLiteral("wrote ")), qPrintable(among.out + among.err));

    const QString out = mDir.filePath(QStringLiteral("--help"));
    const Run ended = runTool(decompPath(), {QStringLiteral("--"), mRom, out,
                                             QStringLiteral("68f2c"), QStringLiteral("4"),
                                             QStringLiteral("0")});
    QCOMPARE(ended.exitCode, 0);
    QCOMPARE(readFile(out), readFile(mTrack));

    const Run helpAndMore = runTool(recompPath(), {QStringLiteral("--help"), QStringLiteral("x")});
    QCOMPARE(helpAndMore.exitCode, 2);
    QVERIFY(helpAndMore.out.isEmpty());
}

void TestRecompTools::outputThatIsTheRomIsRefused_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("same path") << QStringLiteral("same");
    QTest::newRow("symbolic link") << QStringLiteral("symlink");
    QTest::newRow("second hard link") << QStringLiteral("hardlink");
    QTest::newRow("other spelling of the path") << QStringLiteral("dotted");
}

void TestRecompTools::outputThatIsTheRomIsRefused()
{
    QFETCH(QString, how);
    QVERIFY(writeFile(mRom, romFixture()));
    const codec::Bytes before = readFile(mRom);
    QString output = mRom;
    const QString other = mDir.filePath(QStringLiteral("other name.smc"));
    QFile::remove(other);
    if (how == QStringLiteral("symlink")) {
        if (!QFile::link(mRom, other))
            QSKIP("this file system makes no symbolic links");
        output = other;
    } else if (how == QStringLiteral("hardlink")) {
        std::error_code failed;
        std::filesystem::create_hard_link(mRom.toStdString(), other.toStdString(), failed);
        if (failed)
            QSKIP("this file system makes no hard links");
        output = other;
    } else if (how == QStringLiteral("dotted")) {
        output = mDir.path() + QStringLiteral("/./") + QFileInfo(mRom).fileName();
    }
    const Run run = runTool(decompPath(), {mRom, output, QStringLiteral("68f2c"), QStringLiteral("4"),
                                           QStringLiteral("0")});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains(QStringLiteral("is the ROM file itself")), qPrintable(run.err));
    QVERIFY(readFile(mRom) == before);
    QFile::remove(other);
}

void TestRecompTools::folderIsCalledAFolder()
{
    QVERIFY(writeFile(mRom, romFixture()));
    const Run input = runTool(recompPath(), {mDir.path(), mRom, QStringLiteral("68f2c"),
                                             QStringLiteral("4"), QStringLiteral("0")});
    QCOMPARE(input.exitCode, 1);
    QVERIFY2(input.err.contains(QStringLiteral("it is a folder, not a file")), qPrintable(input.err));
    const Run output = runTool(decompPath(), {mRom, mDir.path(), QStringLiteral("68f2c"),
                                              QStringLiteral("4"), QStringLiteral("0")});
    QCOMPARE(output.exitCode, 1);
    QVERIFY2(output.err.contains(QStringLiteral("it is a folder")), qPrintable(output.err));
}

void TestRecompTools::listsEveryCourse_data()
{
    QTest::addColumn<bool>("header");
    QTest::newRow("copier header") << true;
    QTest::newRow("no header") << false;
}

void TestRecompTools::listsEveryCourse()
{
    QFETCH(bool, header);
    test::GameRom built = test::gameRom({12, header, test::BankForm::UpperWherePossible});
    // Another tool moved Vanilla Lake 1 (0x0c) and gave Koopa Beach 2 (0x06) another theme.
    built.writePointer(0x1EB5B + 3 * 0x0C, 0x1000, test::BankForm::Whole);
    built.bytes[built.fileOffset(0x1EC2F + 0x06)] = 0x00;
    QVERIFY(writeFile(mRom, built.bytes));

    const Run run = runTool(decompPath(), {QStringLiteral("--list"), mRom});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.err.isEmpty());
    const QStringList lines = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 1 + rom::CourseCount);
    QVERIFY(lines.first().startsWith(QStringLiteral("ID  OFFSET  COURSE")));
    for (const rom::Course &course : rom::courses()) {
        const QString line = lines.at(1 + course.id);
        QStringList fields = line.split(QStringLiteral("  "), Qt::SkipEmptyParts);
        QVERIFY2(fields.size() >= 8, qPrintable(line));
        QCOMPARE(fields.at(0), QStringLiteral("%1").arg(course.id, 2, 16, QLatin1Char('0')).toUpper());
        QCOMPARE(fields.at(1).trimmed(),
                 QStringLiteral("%1").arg(course.layoutOffset + 0x200, 5, 16, QLatin1Char('0')));
        QCOMPARE(fields.at(2).trimmed(), QString::fromLatin1(course.name));
        QCOMPARE(fields.at(3).trimmed(), QString::fromLatin1(rom::themeName(course.theme)));
        const bool moved = course.id == 0x0C;
        QCOMPARE(fields.at(4).trimmed() == QStringLiteral("slot"), !moved);
        fields.removeAt(4);
        QCOMPARE(fields.at(4).trimmed().toULongLong(),
                 qulonglong(built.streamLength[std::size_t(course.id)]));
        // A course the table no longer sends to its slot keeps only its stream's room.
        QCOMPARE(fields.at(5).trimmed().toULongLong(),
                 qulonglong(moved ? built.streamLength[std::size_t(course.id)] : course.slotLength));
        const QString table = fields.mid(6).join(QStringLiteral("  "));
        if (moved)
            QVERIFY2(table.startsWith(QStringLiteral("layout pointer $C0:1000 sends it to ")), qPrintable(table));
        else if (course.id == 0x06)
            QCOMPARE(table, QStringLiteral("theme Ghost Valley"));
        else
            QCOMPARE(table, QStringLiteral("agrees"));
    }

    QVERIFY(writeFile(mRom, codec::Bytes(1000, 0)));
    const Run notRom = runTool(decompPath(), {QStringLiteral("--list"), mRom});
    QCOMPARE(notRom.exitCode, 1);
    QVERIFY2(notRom.err.contains(QStringLiteral("1000 bytes is no SNES ROM")), qPrintable(notRom.err));
}

void TestRecompTools::courseFillsItsOriginalSlot()
{
    // The small course there now would not hold the new one; the game's original room does.
    const test::GameRom built = test::gameRom({13, true, test::BankForm::Whole});
    QVERIFY(writeFile(mRom, built.bytes));
    const codec::Bytes track = readFile(mTrack);
    const std::size_t packed = codec::compress(track).size();
    QVERIFY(packed > built.streamLength[0x07]);
    const Run run = runTool(recompPath(), {mTrack, mRom, QStringLiteral("68f2c"), QStringLiteral("4"),
                                           QStringLiteral("0")});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out.trimmed(), QStringLiteral("wrote %1 bytes at 0x68f2c (Mario Circuit 1's slot of 2047 bytes, %2 free)")
                                    .arg(packed)
                                    .arg(2047 - packed));
}

void TestRecompTools::unusableFilesAreRefused_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("setUp");
    QTest::addColumn<QString>("message");
    const QString recomp = QStringLiteral("recomp");
    const QString decomp = QStringLiteral("decomp");
    QTest::newRow("track of only the end mark") << recomp << QStringLiteral("end mark")
        << QStringLiteral("the slot at 0x68f2c holds a course, but the input is no whole course: it describes 0 of 16,384 cells");
    QTest::newRow("track of 32 cells") << recomp << QStringLiteral("32 cells")
        << QStringLiteral("it describes 32 of 16,384 cells");
    QTest::newRow("ROM with a second hard link") << recomp << QStringLiteral("hard link")
        << QStringLiteral("cannot write the ROM file <rom>: it has 2 names (hard links)");
    QTest::newRow("sparse ROM of 4 GiB, recomp") << recomp << QStringLiteral("huge ROM")
        << QStringLiteral("cannot read the ROM file <rom>: it holds 4294967296 bytes, more than the 4194816 such a file may hold");
    QTest::newRow("sparse ROM of 4 GiB, decomp") << decomp << QStringLiteral("huge ROM")
        << QStringLiteral("it holds 4294967296 bytes, more than the 4194816");
    QTest::newRow("input of 1 GiB") << recomp << QStringLiteral("huge input")
        << QStringLiteral("cannot read the input file <other>: it holds 1073741824 bytes, more than the 65536");
    QTest::newRow("FIFO as the output") << decomp << QStringLiteral("FIFO output")
        << QStringLiteral("cannot write the output file <other>: it is a FIFO (a named pipe), not a regular file");
    QTest::newRow("FIFO as the ROM") << recomp << QStringLiteral("FIFO ROM")
        << QStringLiteral("cannot read the ROM file <rom>: it is a FIFO (a named pipe), not a file");
    QTest::newRow("folder where the lock goes") << recomp << QStringLiteral("folder lock")
        << QStringLiteral("cannot lock <rom>: a folder is where its lock file <rom>.lock goes");
    QTest::newRow("FIFO where the lock goes") << recomp << QStringLiteral("FIFO lock")
        << QStringLiteral("a FIFO (a named pipe) is where its lock file");
}

void TestRecompTools::unusableFilesAreRefused()
{
    QFETCH(QString, program);
    QFETCH(QString, setUp);
    QFETCH(QString, message);
    QTemporaryDir dir;
    QString rom = dir.filePath(QStringLiteral("rom.smc"));
    QString other = dir.filePath(QStringLiteral("other.bin"));
    const codec::Bytes romBytes = romFixture();
    QVERIFY(writeFile(rom, romBytes));
    codec::Bytes track = readFile(mTrack);
    if (setUp == QStringLiteral("end mark"))
        track = {0xff};
    else if (setUp == QStringLiteral("32 cells"))
        track = {0x3f, 0x01, 0xff};
    QVERIFY(writeFile(other, track));
    QString fifo;
    if (setUp.startsWith(QStringLiteral("FIFO"))) {
        fifo = setUp == QStringLiteral("FIFO lock") ? rom + QStringLiteral(".lock")
                                                    : dir.filePath(QStringLiteral("pipe"));
        if (!test::makeFifo(fifo))
            QSKIP("this system makes no FIFOs");
    }
    const QString linked = dir.filePath(QStringLiteral("linked.smc"));
    if (setUp == QStringLiteral("hard link")) {
        std::error_code failed;
        std::filesystem::create_hard_link(rom.toStdString(), linked.toStdString(), failed);
        if (failed)
            QSKIP("this file system makes no hard links");
    } else if (setUp == QStringLiteral("huge ROM")) {
        rom = dir.filePath(QStringLiteral("huge.smc"));
        QVERIFY(test::makeSparseFile(rom, qint64(4) << 30));
    } else if (setUp == QStringLiteral("huge input")) {
        other = dir.filePath(QStringLiteral("huge.bin"));
        QVERIFY(test::makeSparseFile(other, qint64(1) << 30));
    } else if (setUp == QStringLiteral("FIFO output")) {
        other = fifo;
    } else if (setUp == QStringLiteral("FIFO ROM")) {
        rom = fifo;
    } else if (setUp == QStringLiteral("folder lock")) {
        QVERIFY(QDir().mkpath(rom + QStringLiteral(".lock")));
    }
    const bool recomp = program == QStringLiteral("recomp");
    const QStringList arguments = recomp
        ? QStringList {other, setUp == QStringLiteral("hard link") ? linked : rom,
              QStringLiteral("68f2c"), QStringLiteral("4"), QStringLiteral("0")}
        : QStringList {rom, other, QStringLiteral("68f2c"), QStringLiteral("4"), QStringLiteral("0")};
    const Run run = runTool(recomp ? recompPath() : decompPath(), arguments);
    QVERIFY2(run.failure.isEmpty(), qPrintable(run.failure));
    QCOMPARE(run.exitCode, 1);
    const QString expected = QString(message)
        .replace(QStringLiteral("<rom>"), QDir::toNativeSeparators(arguments.at(recomp ? 1 : 0)))
        .replace(QStringLiteral("<other>"), QDir::toNativeSeparators(arguments.at(recomp ? 0 : 1)));
    QVERIFY2(run.err.startsWith(recomp ? QStringLiteral("recomp.exe: ") : QStringLiteral("decomp.exe: ")),
        qPrintable(run.err));
    QVERIFY2(run.err.contains(expected), qPrintable(run.err));
    QCOMPARE(run.err.count(QLatin1Char('\n')), 1);
    QVERIFY(run.out.isEmpty());
    QVERIFY(readFile(dir.filePath(QStringLiteral("rom.smc"))) == romBytes);
    if (setUp == QStringLiteral("hard link"))
        QVERIFY(readFile(linked) == romBytes);
    if (!fifo.isEmpty())
        QVERIFY2(test::isFifo(fifo), "the FIFO was replaced");
}

void TestRecompTools::expandThenMoveACourse()
{
    QVERIFY(writeFile(mRom, test::gameRom({14, true, test::BankForm::Whole}).bytes));
    const codec::Bytes before = readFile(mRom);
    const Run info = runTool(velmorRomPath(), {QStringLiteral("info"), mRom});
    QCOMPARE(info.exitCode, 0);
    QVERIFY2(info.out.contains(QStringLiteral("identity: the US ROM of the game, modified")), qPrintable(info.out));
    QVERIFY2(info.out.contains(QStringLiteral(": true")), qPrintable(info.out));
    QVERIFY2(info.out.contains(QStringLiteral("added banks: none")), qPrintable(info.out));

    const QString big = mDir.filePath(QStringLiteral("big.smc"));
    const Run expand = runTool(velmorRomPath(), {QStringLiteral("expand"), mRom, QStringLiteral("--output"), big,
                                                 QStringLiteral("--to"), QStringLiteral("8")});
    QCOMPARE(expand.exitCode, 0);
    QVERIFY2(expand.out.contains(QStringLiteral("expanded from 4 Mbit to 8 Mbit")), qPrintable(expand.out));
    QVERIFY(readFile(mRom) == before);
    QCOMPARE(readFile(big).size(), std::size_t(0x100200));

    // A course far larger than its slot: refused by the 4 Mbit ROM, moved in the 8 Mbit one.
    std::mt19937 rng(5);
    codec::Bytes cells = test::randomBytes(rng, 6000);
    cells.resize(16384, 0x01);
    const QString large = mDir.filePath(QStringLiteral("large.bin"));
    QVERIFY(writeFile(large, test::trackStream(cells)));
    const QStringList format{QStringLiteral("68f2c"), QStringLiteral("4"), QStringLiteral("0")};
    const Run small = runTool(recompPath(), QStringList{large, mRom} + format);
    QCOMPARE(small.exitCode, 1);
    QVERIFY2(small.err.contains(QStringLiteral("Expand ROM")), qPrintable(small.err));
    QVERIFY(readFile(mRom) == before);
    const Run moved = runTool(recompPath(), QStringList{large, big} + format);
    QCOMPARE(moved.exitCode, 0);
    QVERIFY2(moved.out.contains(QStringLiteral("in the added banks ($C8:0100)")), qPrintable(moved.out));
    const Run listed = runTool(velmorRomPath(), {QStringLiteral("info"), big});
    QVERIFY2(listed.out.contains(QStringLiteral("added banks: 1 course(s) placed")), qPrintable(listed.out));
    QVERIFY2(listed.out.contains(QStringLiteral("07  Mario Circuit 1")), qPrintable(listed.out));
    QVERIFY2(listed.out.contains(QStringLiteral(": true")), qPrintable(listed.out));
    // The course reads back at its listed offset as it lives now, where decomp.exe --list says.
    const Run list = runTool(decompPath(), {QStringLiteral("--list"), big});
    QVERIFY2(list.out.contains(QStringLiteral("0x80300")), qPrintable(list.out));
    // decomp.exe at the course's own offset reads it where it lives, not its stale old slot.
    const QString back = mDir.filePath(QStringLiteral("back.bin"));
    const Run read = runTool(decompPath(), QStringList{big, back} + format);
    QCOMPARE(read.exitCode, 0);
    QVERIFY2(read.out.contains(QStringLiteral("Mario Circuit 1 lives at 0x80300 now")), qPrintable(read.out));
    QVERIFY(readFile(back) == test::trackStream(cells));
}

void TestRecompTools::otherRomsAreRefusedByName_data()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QStringList>("arguments"); // @ROM for the ROM, @OUT for an output
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    const QString japanese = QStringLiteral("This is the Japanese ROM of the game; Velmor writes only into the US ROM.");
    const QStringList format{QStringLiteral("68f2c"), QStringLiteral("4"), QStringLiteral("0")};
    QTest::newRow("recomp") << recompPath() << (QStringList{QStringLiteral("@TRACK"), QStringLiteral("@ROM")} + format) << 1 << japanese;
    QTest::newRow("decomp") << decompPath() << (QStringList{QStringLiteral("@ROM"), QStringLiteral("@OUT")} + format) << 1 << japanese;
    QTest::newRow("list") << decompPath() << QStringList{QStringLiteral("--list"), QStringLiteral("@ROM")} << 1 << japanese;
    QTest::newRow("expand") << velmorRomPath() << QStringList{QStringLiteral("expand"), QStringLiteral("@ROM"), QStringLiteral("--to"), QStringLiteral("16"), QStringLiteral("--output"), QStringLiteral("@OUT")} << 1 << japanese;
    QTest::newRow("size") << velmorRomPath() << QStringList{QStringLiteral("expand"), QStringLiteral("@ROM"), QStringLiteral("--to"), QStringLiteral("12"), QStringLiteral("--output"), QStringLiteral("@OUT")} << 2 << QStringLiteral("--to takes 8, 16 or 32");
    QTest::newRow("command") << velmorRomPath() << QStringList{QStringLiteral("grow"), QStringLiteral("@ROM")} << 2 << QStringLiteral("unknown command");
    // The US game whose header's size byte disagrees with the file: its tables are not trusted.
    QTest::newRow("recomp, header size lies") << recompPath() << (QStringList{QStringLiteral("@TRACK"), QStringLiteral("@ROM")} + format) << 1
                                              << QStringLiteral("The ROM's header claims 4 Mbit (size byte 0x9) but the file holds 8 Mbit");
}

void TestRecompTools::otherRomsAreRefusedByName()
{
    QFETCH(QString, tool);
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    const bool lying = QByteArray(QTest::currentDataTag()).contains("header size lies");
    test::GameRomOptions options;
    options.region = lying ? rom::Region::UnitedStates : rom::Region::Japan;
    codec::Bytes rom = test::gameRom(options).bytes;
    if (lying)
        rom.resize(rom.size() + 0x80000, 0xFF);
    QVERIFY(writeFile(mRom, rom));
    const QString out = mDir.filePath(QStringLiteral("out.bin"));
    QFile::remove(out);
    arguments.replaceInStrings(QStringLiteral("@TRACK"), mTrack);
    arguments.replaceInStrings(QStringLiteral("@ROM"), mRom);
    arguments.replaceInStrings(QStringLiteral("@OUT"), out);
    const Run run = runTool(tool, arguments);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
    QVERIFY(readFile(mRom) == rom);
    QVERIFY(!QFile::exists(out));
}

void TestRecompTools::twoWritersBothLand_data()
{
    QTest::addColumn<bool>("throughLink");
    QTest::addColumn<int>("rounds");
    QTest::newRow("same name") << false << 10;
    QTest::newRow("symbolic link in another folder") << true << 20;
}

void TestRecompTools::twoWritersBothLand()
{
    QFETCH(bool, throughLink);
    QFETCH(int, rounds);
    // Two compressors on one ROM at once, at two courses: each must see the other's change, also
    // when one of them names the ROM through a link.
    const QString first = mDir.filePath(QStringLiteral("first.bin"));
    const QString second = mDir.filePath(QStringLiteral("second.bin"));
    QVERIFY(writeFile(first, test::trackStream(test::courseLikeCells(21))));
    QVERIFY(writeFile(second, test::trackStream(test::courseLikeCells(22))));
    QString secondRom = mRom;
    if (throughLink) {
        QVERIFY(QDir(mDir.path()).mkpath(QStringLiteral("sub")));
        secondRom = mDir.filePath(QStringLiteral("sub/link.smc"));
        QFile::remove(secondRom);
        if (!QFile::link(QStringLiteral("../") + QFileInfo(mRom).fileName(), secondRom))
            QSKIP("this file system makes no symbolic links");
    }
    const std::size_t mc1 = 0x68f2c;
    const std::size_t mc2 = 0x50e45;
    for (int round = 0; round < rounds; ++round) {
        QVERIFY(writeFile(mRom, test::gameRom({unsigned(20 + round), true, test::BankForm::Whole}).bytes));
        QProcess a;
        QProcess b;
        a.start(recompPath(), {first, mRom, QStringLiteral("68f2c"), QStringLiteral("4"), QStringLiteral("0")});
        b.start(recompPath(), {second, secondRom, QStringLiteral("50e45"), QStringLiteral("4"), QStringLiteral("0")});
        QVERIFY2(a.waitForFinished(15000) && b.waitForFinished(15000),
                 "the two compressors did not end within 15 s");
        QVERIFY2(a.exitCode() == 0, a.readAllStandardError().constData());
        QVERIFY2(b.exitCode() == 0, b.readAllStandardError().constData());
        const codec::Bytes rom = readFile(mRom);
        QVERIFY2(codec::decode(codec::ByteView(rom).subspan(mc1)).output == readFile(first),
                 qPrintable(QStringLiteral("round %1: the first writer's course was lost").arg(round)));
        QVERIFY2(codec::decode(codec::ByteView(rom).subspan(mc2)).output == readFile(second),
                 qPrintable(QStringLiteral("round %1: the second writer's course was lost").arg(round)));
    }
    QVERIFY(!QFile::exists(mRom + QStringLiteral(".lock")));
    QVERIFY(!QFile::exists(secondRom + QStringLiteral(".lock")));
    if (throughLink) {
        QVERIFY2(QFileInfo(secondRom).isSymbolicLink(), "the link was replaced by a file");
        QFile::remove(secondRom);
    }
}

VELMOR_GUILESS_TEST_MAIN(TestRecompTools)
#include "test_recomp_tools.moc"
