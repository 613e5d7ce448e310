#include "tests/support/synthetic_rom.h"
#include "tests/support/tool_process.h"
#include "tests/support/test_main.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace velmor;

namespace {

using Run = test::ToolRun;

// The real program in a folder of the test's choosing, every wait bounded.
Run velmorPatch(const QStringList &arguments, const QString &folder = QString())
{
    return test::runTool(QStringLiteral(VELMOR_PATCH_EXE), arguments, folder, 10000);
}

bool writeFile(const QString &path, const codec::Bytes &bytes)
{
    return test::writeBytes(path, bytes);
}

codec::Bytes readFile(const QString &path)
{
    return test::readBytes(path);
}

bool oneLine(const QString &text)
{
    return text.count(QLatin1Char('\n')) == 1 && text.endsWith(QLatin1Char('\n'));
}

} // namespace

// The real velmor-patch, run as a process: its command line, exit statuses and one-line
// messages, and the files it leaves.
class TestVelmorPatch : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void help();
    void commandLineErrors_data();
    void commandLineErrors();
    void createThenApply_data();
    void createThenApply();
    void refusals_data();
    void refusals();

private:
    QTemporaryDir mDir;
    QString mOriginal;
    QString mModified;
    codec::Bytes mModifiedBytes;
};

void TestVelmorPatch::initTestCase()
{
    QVERIFY(mDir.isValid());
    QVERIFY(QFileInfo(QStringLiteral(VELMOR_PATCH_EXE)).isExecutable());
    mOriginal = mDir.filePath(QStringLiteral("original.smc"));
    mModified = mDir.filePath(QStringLiteral("-h")); // a file name that looks like an option
    const codec::Bytes original = test::syntheticRom(21, true);
    mModifiedBytes = original;
    for (std::size_t i = 0x40000; i < 0x40400; ++i)
        mModifiedBytes[i] = std::uint8_t(i * 3);
    QVERIFY(writeFile(mOriginal, original));
    QVERIFY(writeFile(mModified, mModifiedBytes));
    // Patches for the refusals, made apart from the round trips that check them.
    for (const QString &name : {QStringLiteral("base.bps"), QStringLiteral("base.ips")}) {
        const Run run =
            velmorPatch({QStringLiteral("create"), mOriginal, mModified, mDir.filePath(name)});
        QVERIFY2(run.failure.isEmpty() && run.exitCode == 0, qPrintable(run.failure + run.err));
    }
}

void TestVelmorPatch::help()
{
    for (const QString &option : {QStringLiteral("--help"), QStringLiteral("-h")}) {
        const Run run = velmorPatch({option});
        QVERIFY2(run.failure.isEmpty(), qPrintable(run.failure));
        QCOMPARE(run.exitCode, 0);
        QVERIFY(
            run.out.startsWith(QStringLiteral("usage: velmor-patch create ORIGINAL MODIFIED ")));
        QVERIFY(run.out.contains(QStringLiteral("velmor-patch apply ROM PATCH OUT")));
        QVERIFY(run.out.contains(QStringLiteral("IPS has no checksums")));
        QVERIFY(run.err.isEmpty());
    }
}

void TestVelmorPatch::commandLineErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    const QString a = QStringLiteral("a");
    QTest::newRow("nothing") << QStringList() << QStringLiteral("no command given");
    QTest::newRow("unknown command") << QStringList {QStringLiteral("make"), a, a, a}
                                     << QStringLiteral("unknown command \"make\"");
    QTest::newRow("two files") << QStringList {QStringLiteral("create"), a, a}
                               << QStringLiteral("create takes 3 files, got 2");
    QTest::newRow("four files") << QStringList {QStringLiteral("apply"), a, a, a, a}
                                << QStringLiteral("apply takes 3 files, got 4");
    QTest::newRow("help with more") << QStringList {QStringLiteral("--help"),
        QStringLiteral("apply")} << QStringLiteral("unknown command \"--help\"");
    QTest::newRow("help after --") << QStringList {QStringLiteral("--"), QStringLiteral("-h")}
                                   << QStringLiteral("unknown command \"-h\"");
}

void TestVelmorPatch::commandLineErrors()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const Run run = velmorPatch(arguments);
    QVERIFY2(run.failure.isEmpty(), qPrintable(run.failure));
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.startsWith(QStringLiteral("velmor-patch: ") + message), qPrintable(run.err));
    QVERIFY(oneLine(run.err));
    QVERIFY(run.out.isEmpty());
}

void TestVelmorPatch::createThenApply_data()
{
    QTest::addColumn<QString>("patchName");
    QTest::newRow("BPS") << QStringLiteral("course.bps");
    QTest::newRow("IPS") << QStringLiteral("course.ips");
}

void TestVelmorPatch::createThenApply()
{
    QFETCH(QString, patchName);
    // Relative names, run from the folder: "--" lets the modified ROM be called "-h".
    const Run create =
        velmorPatch({QStringLiteral("--"), QStringLiteral("create"), QStringLiteral("original.smc"),
                        QStringLiteral("-h"), patchName},
            mDir.path());
    QVERIFY2(create.failure.isEmpty(), qPrintable(create.failure));
    QCOMPARE(create.exitCode, 0);
    QVERIFY2(create.out.startsWith(QStringLiteral("wrote the ")), qPrintable(create.out));
    QVERIFY(oneLine(create.out));
    QVERIFY2(create.err.isEmpty(), qPrintable(create.err));
    QVERIFY(QFileInfo(mDir.filePath(patchName)).size() < 1200);

    const QString out = mDir.filePath(QStringLiteral("patched.smc"));
    QFile::remove(out);
    const Run apply =
        velmorPatch({QStringLiteral("apply"), mOriginal, mDir.filePath(patchName), out});
    QVERIFY2(apply.failure.isEmpty(), qPrintable(apply.failure));
    QCOMPARE(apply.exitCode, 0);
    QVERIFY2(apply.out.contains(QStringLiteral("with the copier header")), qPrintable(apply.out));
    QVERIFY(oneLine(apply.out));
    QVERIFY(apply.err.isEmpty());
    QVERIFY(readFile(out) == mModifiedBytes);
}

void TestVelmorPatch::refusals_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    const QString other = QStringLiteral("other.smc");
    QTest::newRow("another ROM") << QStringList {QStringLiteral("apply"), other,
        QStringLiteral("course.bps"), QStringLiteral("out.smc")}
                                 << QStringLiteral("this patch was made for another ROM");
    QTest::newRow("output is the ROM")
        << QStringList {QStringLiteral("apply"), other, QStringLiteral("course.ips"), other}
        << QStringLiteral("is the ROM file itself");
    QTest::newRow("no patch extension") << QStringList {QStringLiteral("create"), other,
        QStringLiteral("original.smc"), QStringLiteral("x.smc")}
                                        << QStringLiteral("must end in .bps or .ips");
    QTest::newRow("output is a FIFO") << QStringList {QStringLiteral("apply"), other,
        QStringLiteral("course.ips"), QStringLiteral("pipe.smc")}
        << QStringLiteral("cannot write the output file pipe.smc: it is a FIFO (a named pipe), "
                          "not a regular file");
    QTest::newRow("sparse ROM of 4 GiB") << QStringList {QStringLiteral("apply"),
        QStringLiteral("huge.smc"), QStringLiteral("course.bps"), QStringLiteral("out.smc")}
        << QStringLiteral("cannot read the ROM file huge.smc: it holds 4294967296 bytes, more "
                          "than the 4194816 such a file may hold");
}

void TestVelmorPatch::refusals()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const codec::Bytes other = test::syntheticRom(22, false);
    QVERIFY(writeFile(dir.filePath(QStringLiteral("other.smc")), other));
    for (const QString &name : {QStringLiteral("original.smc"), QStringLiteral("course.bps"),
             QStringLiteral("course.ips")}) {
        QVERIFY(QFile::copy(mDir.filePath(name), dir.filePath(name)));
    }
    // Made only where a row names them.
    const QString fifo = dir.filePath(QStringLiteral("pipe.smc"));
    if (arguments.contains(QStringLiteral("pipe.smc")) && !test::makeFifo(fifo))
        QSKIP("this system makes no FIFOs");
    if (arguments.contains(QStringLiteral("huge.smc")))
        QVERIFY(test::makeSparseFile(dir.filePath(QStringLiteral("huge.smc")), qint64(4) << 30));
    const QStringList before = QDir(dir.path()).entryList(QDir::Files);
    const Run run = velmorPatch(arguments, dir.path());
    QVERIFY2(run.failure.isEmpty(), qPrintable(run.failure));
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.startsWith(QStringLiteral("velmor-patch: ")), qPrintable(run.err));
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
    QVERIFY(oneLine(run.err));
    QVERIFY(run.out.isEmpty());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), before);
    QVERIFY(readFile(dir.filePath(QStringLiteral("other.smc"))) == other);
    if (arguments.contains(QStringLiteral("pipe.smc")))
        QVERIFY2(test::isFifo(fifo), "the FIFO was replaced");
}

VELMOR_GUILESS_TEST_MAIN(TestVelmorPatch)
#include "test_velmor_patch.moc"
