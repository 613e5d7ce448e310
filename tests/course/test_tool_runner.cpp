#include "platform/tool_runner.h"
#include "tests/course/tool_fixture.h"
#include "tests/support/test_main.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace velmor;
using namespace velmor::test;

// Starts real processes: the fake tool record_args, a missing program, a file posing as a
// Windows program.
class TestToolRunner : public QObject
{
    Q_OBJECT

private slots:
    void argumentsArriveUnsplit_data();
    void argumentsArriveUnsplit();
    void exitStatusAndErrorOutput_data();
    void exitStatusAndErrorOutput();
    void hungToolIsStopped();
    void missingProgramIsReported_data();
    void missingProgramIsReported();
    void windowsProgramWithoutWine();
    void windowsProgramGoesThroughWine();
    void resultNeverArrivesInsideStart();

private:
    ToolResult runToEnd(ToolRunner &runner, const QString &program, const QStringList &arguments);
};

ToolResult TestToolRunner::runToEnd(
    ToolRunner &runner, const QString &program, const QStringList &arguments)
{
    ToolRun *run = runner.start(program, arguments);
    QSignalSpy spy(run, &ToolRun::finished);
    if (!spy.wait(15000)) {
        QTest::qFail("the tool did not report its end within 15 s", __FILE__, __LINE__);
        return {};
    }
    return spy.takeFirst().at(0).value<ToolResult>();
}

void TestToolRunner::argumentsArriveUnsplit_data()
{
    QTest::addColumn<QStringList>("arguments");

    QTest::newRow("plain") << QStringList {QStringLiteral("a.bin"), QStringLiteral("b.smc")};
    QTest::newRow("blanks") << QStringList {
        QStringLiteral("/my tracks/new track.bin"), QStringLiteral("  two  blanks ")};
    QTest::newRow("quotes") << QStringList {
        QStringLiteral("say \"hi\".bin"), QStringLiteral("it's")};
    QTest::newRow("shell characters") << QStringList {QStringLiteral("a; rm -rf x"),
        QStringLiteral("$(echo no)"), QStringLiteral("`x` | y > z & w")};
    QTest::newRow("empty argument") << QStringList {QString(), QStringLiteral("4")};
    QTest::newRow("non-ascii") << QStringList {QStringLiteral("pistes/cours\u00e9.bin")};
}

void TestToolRunner::argumentsArriveUnsplit()
{
    QFETCH(QStringList, arguments);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString out = dir.filePath(QStringLiteral("args.json"));
    RecordArgsEnv env(out);

    ToolRunner runner;
    const ToolResult result = runToEnd(runner, recordArgsProgram(), arguments);
    QVERIFY2(result.succeeded(), qPrintable(result.describe()));
    QCOMPARE(recordedArgs(out), std::optional<QStringList>(arguments));
}

void TestToolRunner::exitStatusAndErrorOutput_data()
{
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("complaint");

    QTest::newRow("success") << 0 << QByteArray();
    QTest::newRow("success with chatter") << 0 << QByteArray("note: took a while\n");
    QTest::newRow("failure") << 1 << QByteArray("Course does not fit its slot\n");
    QTest::newRow("failure, silent") << 3 << QByteArray();
    QTest::newRow("high status") << 200 << QByteArray("bad offset");
}

void TestToolRunner::exitStatusAndErrorOutput()
{
    QFETCH(int, exitCode);
    QFETCH(QByteArray, complaint);
    QTemporaryDir dir;
    RecordArgsEnv env(dir.filePath(QStringLiteral("args.json")), exitCode, complaint);

    ToolRunner runner;
    const ToolResult result = runToEnd(runner, recordArgsProgram(), {});
    QCOMPARE(result.outcome, ToolResult::Outcome::Finished);
    QCOMPARE(result.exitCode, exitCode);
    QCOMPARE(result.succeeded(), exitCode == 0);
    QCOMPARE(result.errorOutput, QString::fromLatin1(complaint).trimmed());
    if (exitCode != 0) {
        QVERIFY2(
            result.describe().contains(QString::number(exitCode)), qPrintable(result.describe()));
        QVERIFY(result.describe().contains(result.errorOutput));
    }
}

void TestToolRunner::hungToolIsStopped()
{
    QTemporaryDir dir;
    RecordArgsEnv env(dir.filePath(QStringLiteral("args.json")), 0, {}, 60000);

    ToolRunner runner;
    QCOMPARE(runner.timeout(), DefaultToolTimeoutMs);
    runner.setTimeout(300);
    const ToolResult result = runToEnd(runner, recordArgsProgram(), {});
    QCOMPARE(result.outcome, ToolResult::Outcome::TimedOut);
    QVERIFY(!result.succeeded());
    QVERIFY2(result.describe().contains(QStringLiteral("did not finish within")),
        qPrintable(result.describe()));
}

void TestToolRunner::missingProgramIsReported_data()
{
    QTest::addColumn<bool>("empty");
    QTest::newRow("missing file") << false;
    QTest::newRow("no program") << true;
}

void TestToolRunner::missingProgramIsReported()
{
    QFETCH(bool, empty);
    QTemporaryDir dir;
    const QString program = empty ? QString() : dir.filePath(QStringLiteral("no such tool.exe"));

    ToolRunner runner;
    const ToolResult result = runToEnd(runner, program, {QStringLiteral("x")});
    QCOMPARE(result.outcome, ToolResult::Outcome::NotStarted);
    QVERIFY(!result.succeeded());
    QVERIFY(!result.reason.isEmpty());
    QVERIFY2(result.describe().contains(QStringLiteral("could not be started")),
        qPrintable(result.describe()));
}

void TestToolRunner::windowsProgramWithoutWine()
{
#ifdef Q_OS_WIN
    QSKIP("Windows programs run natively here");
#else
    QTemporaryDir dir;
    const QString exe = dir.filePath(QStringLiteral("RECOMP.EXE"));
    QVERIFY(writeBytes(exe, QByteArray("MZ\x90\x00 not really a program", 24)));
    QVERIFY(ToolRunner::isWindowsExecutable(exe));

    ToolRunner runner;
    runner.setWineProgram(QString());
    const ToolResult result = runToEnd(runner, exe, {QStringLiteral("a")});
    QCOMPARE(result.outcome, ToolResult::Outcome::CannotRunHere);
    QVERIFY2(result.describe().contains(QStringLiteral("cannot be run here")),
        qPrintable(result.describe()));
#endif
}

void TestToolRunner::windowsProgramGoesThroughWine()
{
#ifdef Q_OS_WIN
    QSKIP("Windows programs run natively here");
#else
    QTemporaryDir dir;
    const QString exe = dir.filePath(QStringLiteral("tools dir/RECOMP.EXE"));
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("tools dir")));
    QVERIFY(writeBytes(exe, QByteArray("MZ")));
    const QString out = dir.filePath(QStringLiteral("args.json"));
    RecordArgsEnv env(out);

    // record_args stands in for wine: it shows what wine would be handed.
    ToolRunner runner;
    runner.setWineProgram(recordArgsProgram());
    const QStringList arguments {QStringLiteral("a b.bin"), QStringLiteral("68f2c")};
    const ToolResult result = runToEnd(runner, exe, arguments);
    QVERIFY2(result.succeeded(), qPrintable(result.describe()));
    QCOMPARE(recordedArgs(out), std::optional<QStringList>(QStringList {exe} + arguments));

    // A file that merely ends up small is no Windows program.
    const QString other = dir.filePath(QStringLiteral("M"));
    QVERIFY(writeBytes(other, QByteArray("M")));
    QVERIFY(!ToolRunner::isWindowsExecutable(other));
    QVERIFY(!ToolRunner::isWindowsExecutable(dir.filePath(QStringLiteral("missing"))));
#endif
}

void TestToolRunner::resultNeverArrivesInsideStart()
{
    ToolRunner runner;
    runner.setWineProgram(QString());
    int delivered = 0;
    ToolRun *run = runner.start(QString(), {});
    connect(run, &ToolRun::finished, this, [&delivered] { ++delivered; });
    QCOMPARE(delivered, 0);
    QTRY_COMPARE(delivered, 1);
}

VELMOR_GUILESS_TEST_MAIN(TestToolRunner)
#include "test_tool_runner.moc"
