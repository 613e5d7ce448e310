#include "app/load_sequence.h"
#include "app/startup_texts.h"
#include "tests/app/first_run_start.h"
#include "tests/support/test_main.h"

#include <QDir>
#include <QTest>

using namespace velmor;
using namespace velmor::test;
using Answer = MessageBoxes::Answer;

// Later starts: a configuration file from an earlier set-up is read without a question, and one
// that cannot be used makes the start a first run again.
class TestLaterStart : public QObject
{
    Q_OBJECT

private slots:
    void laterStartReadsValuesSilently_data()
    {
        QTest::addColumn<QByteArray>("lineEnd");
        QTest::newRow("CR LF") << QByteArray("\r\n");
        QTest::newRow("lone LF") << QByteArray("\n");
        QTest::newRow("lone CR") << QByteArray("\r");
    }

    void laterStartReadsValuesSilently()
    {
        QFETCH(QByteArray, lineEnd);
        Start start;
        const QList<QByteArray> lines {"changed", "C:\\tools\\recomp.exe", "labels", "C:\\roms\\",
            "are", "C:\\roms\\kart.smc", "ignored", "kart"};
        start.make(start.configPath(), lines.join(lineEnd) + lineEnd);
        const StartupState state = start.run();
        start.verifyScriptUsedUp();
        QVERIFY(start.messages.messages().isEmpty());
        QVERIFY(start.dialog.showings().isEmpty());
        QVERIFY(!state.firstRun);
        QVERIFY(state.insertionEnabled);
        QCOMPARE(state.config,
            (Configuration {QStringLiteral("C:\\tools\\recomp.exe"), QStringLiteral("C:\\roms\\"),
                QStringLiteral("C:\\roms\\kart.smc"), QStringLiteral("kart")}));
    }

    void shortConfigurationCountsAsNone()
    {
        Start start;
        start.make(start.configPath(), "Full Path to RECOMP.EXE\r\nC:\\recomp.exe\r\n");
        start.goOnWithoutCompressor();
        const StartupState state = start.run();
        start.verifyScriptUsedUp();
        QCOMPARE(start.messages.titles(), (QStringList {Welcome, Q1}));
        QVERIFY(state.firstRun);
        QVERIFY(!state.insertionEnabled);
    }

    void lowerCaseConfigurationMakesAFirstRunButEnablesInsertion()
    {
        Start start;
        start.make(
            start.path(QStringLiteral("velmor.cfg")), "a\r\nb\r\nc\r\nd\r\ne\r\nf\r\ng\r\nh\r\n");
        start.goOnWithoutCompressor();
        const StartupState state = start.run();
        start.verifyScriptUsedUp();
        QCOMPARE(start.messages.titles(), (QStringList {Welcome, Q1}));
        QVERIFY(state.firstRun);
        QVERIFY(state.insertionEnabled);
        QCOMPARE(state.config, Configuration {});
    }

    void dialogsCannotMoveTheConfigurationFile()
    {
        // A dialog that changes the current directory, as some platform dialogs do.
        class WanderingDialog : public test::ScriptedFileDialog
        {
        public:
            QString elsewhere;

        protected:
            std::optional<QString> run(Mode mode, const Settings &settings) override
            {
                QDir::setCurrent(elsewhere);
                return ScriptedFileDialog::run(mode, settings);
            }
        };
        Start start;
        WanderingDialog dialog;
        dialog.elsewhere = start.romFolder();
        Services services {dialog, start.messages, start.files};
        start.make(start.recomp());
        start.make(start.rom(QStringLiteral("kart.smc")));
        dialog.pick(start.recomp());
        dialog.pick(start.rom(QStringLiteral("kart.smc")));
        LoadSequence sequence(services, start.dir.path());
        QVERIFY(sequence.run().setupCompleted);
        QVERIFY(QFileInfo(start.configPath()).isFile());
        QVERIFY(!start.exists(start.rom(QStringLiteral("Velmor.cfg"))));
        QCOMPARE(QDir::current(), QDir(start.dir.path()));
    }
};

VELMOR_GUILESS_TEST_MAIN(TestLaterStart)
#include "test_later_start.moc"
