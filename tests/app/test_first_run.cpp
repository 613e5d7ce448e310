#include "app/load_sequence.h"
#include "app/startup_texts.h"
#include "tests/app/first_run_start.h"
#include "tests/support/synthetic_rom.h"
#include "tests/support/test_main.h"

#include <QDir>
#include <QTest>

using namespace velmor;
using namespace velmor::test;
using Answer = MessageBoxes::Answer;

Q_DECLARE_METATYPE(std::optional<velmor::rom::Region>)

class TestFirstRun : public QObject
{
    Q_OBJECT

private slots:
    void cancelAndGoOnWithoutCompressor()
    {
        Start start;
        start.goOnWithoutCompressor();
        const StartupState state = start.run();
        start.verifyScriptUsedUp();
        QCOMPARE(start.messages.titles(), (QStringList{Welcome, Q1}));
        QCOMPARE(start.messages.messages().at(1).text, startup::noCompressorText());
        QCOMPARE(start.messages.messages().at(1).buttons, MessageBoxes::Buttons::YesNo);
        QCOMPARE(start.dialog.showings().size(), 1);
        QCOMPARE(start.dialog.showings().at(0).mode, FileDialog::Mode::Open);
        verifyCompressorDialog(start.dialog.showings().at(0).settings, QStringLiteral("recomp.exe"));
        QVERIFY(state.firstRun);
        QVERIFY(!state.setupCompleted);
        QVERIFY(!state.insertionEnabled);
        QCOMPARE(state.config, Configuration{});
        QCOMPARE(QDir(start.dir.path()).entryList(QDir::Files), QStringList());

        // Nothing was recorded, so the next start asks again from the beginning.
        start.goOnWithoutCompressor();
        start.run();
        QCOMPARE(start.messages.titles(), (QStringList{Welcome, Q1, Welcome, Q1}));
        start.verifyScriptUsedUp();
    }

    void cancelThenNoShowsTheDialogAgain()
    {
        Start start;
        start.dialog.cancel();
        start.messages.answer(Answer::No);
        start.goOnWithoutCompressor();
        start.run();
        start.verifyScriptUsedUp();
        // No message between Q1 and the dialog; the second cancel asks Q1 again.
        QCOMPARE(start.messages.titles(), (QStringList{Welcome, Q1, Q1}));
        QCOMPARE(start.dialog.showings().size(), 2);
        verifyCompressorDialog(start.dialog.showings().at(1).settings, QStringLiteral("recomp.exe"));
    }

    void rejectsAnythingButRecompExe_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::newRow("mixed case") << QStringLiteral("Recomp.exe");
        QTest::newRow("capitals") << QStringLiteral("RECOMP.EXE");
        QTest::newRow("other tool") << QStringLiteral("compress.exe");
        QTest::newRow("missing") << QString();
    }

    void rejectsAnythingButRecompExe()
    {
        QFETCH(QString, stored);
        Start start;
        const QString picked = start.path(QStringLiteral("tools/")
                                          + (stored.isEmpty() ? QStringLiteral("gone.exe") : stored));
        if (!stored.isEmpty())
            start.make(picked);
        start.dialog.pick(picked);
        start.goOnWithoutCompressor();
        const StartupState state = start.run();
        start.verifyScriptUsedUp();
        QCOMPARE(start.messages.titles(), (QStringList{Welcome, WrongFile, Q1}));
        QCOMPARE(start.messages.messages().at(1).text, startup::wrongCompressorText());
        QCOMPARE(start.messages.messages().at(1).buttons, MessageBoxes::Buttons::Ok);
        // Shown again as it was left: the pick became the initial file name.
        QCOMPARE(start.dialog.showings().size(), 2);
        verifyCompressorDialog(start.dialog.showings().at(1).settings, picked);
        QCOMPARE(state.config.recompPath, picked);
        QVERIFY(!start.exists(start.configPath()));
    }

    void firstRunBacksUpCopiesAndRecords()
    {
        Start start;
        start.make(start.recomp());
        const QString rom = start.rom(QStringLiteral("kart.smc"));
        start.make(rom, Start::romBytes());
        // Files of the same names are replaced without asking.
        start.make(rom + QStringLiteral(".bak"), "old backup");
        start.make(start.rom(QStringLiteral("kart_velmor.smc")), "old working copy");
        start.dialog.pick(start.recomp());
        start.dialog.pick(rom);

        const StartupState state = start.run();
        start.verifyScriptUsedUp();
        QCOMPARE(start.messages.titles(), (QStringList{Welcome, PickRom,
                                                       QStringLiteral("KART.SMC was backed up.")}));
        QCOMPARE(start.messages.messages().at(1).text, startup::pickRomText());
        QCOMPARE(start.messages.messages().at(2).text,
                 QStringLiteral("Your KART.SMC was backed up to KART.SMC.BAK."));
        verifyRomDialog(start.dialog.showings().at(1).settings);

        QCOMPARE(start.read(rom + QStringLiteral(".bak")), Start::romBytes());
        QCOMPARE(start.read(start.rom(QStringLiteral("kart_velmor.smc"))), Start::romBytes());
        QCOMPARE(start.read(rom), Start::romBytes());
        const QByteArray expected = "Full Path to RECOMP.EXE\r\n" + start.recomp().toLocal8Bit()
            + "\r\nROM Folder\r\n" + start.romFolder().toLocal8Bit()
            + "\r\nOriginal ROM Path\r\n" + rom.toLocal8Bit()
            + "\r\nROM name with no Extension\r\nkart\r\n";
        QCOMPARE(start.read(start.configPath()), expected);

        QVERIFY(state.firstRun);
        QVERIFY(state.setupCompleted);
        QVERIFY(state.insertionEnabled);
        QCOMPARE(state.config, (Configuration{start.recomp(), start.romFolder(), rom,
                                              QStringLiteral("kart")}));
        QCOMPARE(state.romFileName, QStringLiteral("kart.smc"));
        QCOMPARE(state.targetRom, QStringLiteral("kart_velmor.smc"));

        // The next start reads the file back and shows nothing.
        start.run();
        QCOMPARE(start.messages.messages().size(), 3);
        QCOMPARE(start.dialog.showings().size(), 2);
        QVERIFY(!start.sequence->state().firstRun);
        QCOMPARE(start.sequence->state().config, state.config);
    }

    // Copied as any ROM, and named once after the backup message when it is not the US game.
    void aRomThatIsNotTheUsGameIsNamedOnce_data()
    {
        QTest::addColumn<std::optional<rom::Region>>("region");
        QTest::addColumn<QString>("said"); // empty: no note
        QTest::newRow("US") << std::optional(rom::Region::UnitedStates) << QString();
        QTest::newRow("Japan") << std::optional(rom::Region::Japan)
                               << QStringLiteral("KART.SMC is the Japanese ROM of the game.");
        QTest::newRow("Europe") << std::optional(rom::Region::Europe)
                                << QStringLiteral("KART.SMC is the European ROM of the game.");
        QTest::newRow("another game") << std::optional<rom::Region>()
                                      << QStringLiteral("KART.SMC is not this game");
    }

    void aRomThatIsNotTheUsGameIsNamedOnce()
    {
        QFETCH(std::optional<rom::Region>, region);
        QFETCH(QString, said);
        GameRomOptions options;
        options.region = region;
        const QByteArray bytes = toQByteArray(gameRom(options).bytes);
        Start start;
        start.make(start.recomp());
        const QString rom = start.rom(QStringLiteral("kart.smc"));
        start.make(rom, bytes);
        start.dialog.pick(start.recomp());
        start.dialog.pick(rom);
        const StartupState state = start.run();
        start.verifyScriptUsedUp();
        QStringList titles{Welcome, PickRom, QStringLiteral("KART.SMC was backed up.")};
        if (!said.isEmpty())
            titles.append(QStringLiteral("KART.SMC is not the US ROM"));
        QCOMPARE(start.messages.titles(), titles);
        if (!said.isEmpty()) {
            QVERIFY2(start.messages.messages().constLast().text.startsWith(said),
                qPrintable(start.messages.messages().constLast().text));
        }
        QVERIFY(state.setupCompleted);
        QCOMPARE(start.read(start.rom(QStringLiteral("kart_velmor.smc"))), bytes);
        start.run();
        QCOMPARE(start.messages.titles(), titles);
    }

    void baseNameLosesTheLastFourCharacters_data()
    {
        QTest::addColumn<QString>("romName");
        QTest::addColumn<QString>("baseName");
        QTest::newRow("sfc") << QStringLiteral("kart.sfc") << QStringLiteral("kart");
        QTest::newRow("no dot") << QStringLiteral("kartsmc1") << QStringLiteral("kart");
        QTest::newRow("short extension") << QStringLiteral("kart.s") << QStringLiteral("ka");
        QTest::newRow("four characters") << QStringLiteral(".smc") << QString();
    }

    void baseNameLosesTheLastFourCharacters()
    {
        QFETCH(QString, romName);
        QFETCH(QString, baseName);
        Start start;
        start.make(start.recomp());
        start.make(start.rom(romName), Start::romBytes());
        start.dialog.pick(start.recomp());
        start.dialog.pick(start.rom(romName));
        const StartupState state = start.run();
        start.verifyScriptUsedUp();
        QVERIFY(state.setupCompleted);
        QCOMPARE(state.config.romBaseName, baseName);
        QCOMPARE(start.read(start.rom(baseName + QStringLiteral("_velmor.smc"))),
                 Start::romBytes());
    }

    void shortRomNameKeepsTheBackupAndAsksQ2()
    {
        Start start;
        start.make(start.recomp());
        start.make(start.rom(QStringLiteral("ab")), Start::romBytes());
        start.dialog.pick(start.recomp());
        start.dialog.pick(start.rom(QStringLiteral("ab")));
        start.messages.answer(Answer::Yes);
        const StartupState state = start.run();
        start.verifyScriptUsedUp();
        QCOMPARE(start.messages.titles(),
                 (QStringList{Welcome, PickRom, QStringLiteral("AB was backed up."), Q2}));
        QCOMPARE(start.messages.messages().at(3).text, startup::noRomText());
        QCOMPARE(start.read(start.rom(QStringLiteral("ab.bak"))), Start::romBytes());
        QCOMPARE(QDir(start.romFolder()).entryList(QDir::Files),
                 (QStringList{QStringLiteral("ab"), QStringLiteral("ab.bak")}));
        QVERIFY(!start.exists(start.configPath()));
        QVERIFY(!state.setupCompleted);
        QVERIFY(!state.insertionEnabled);
        QCOMPARE(state.config.recompPath, start.recomp());
    }

    void noAtQ2GivesTheRomDialogItsSettingsAgain()
    {
        Start start;
        start.make(start.recomp());
        start.make(start.rom(QStringLiteral("ab")));
        start.make(start.rom(QStringLiteral("kart.smc")), Start::romBytes());
        start.dialog.pick(start.recomp());
        start.dialog.pick(start.rom(QStringLiteral("ab")));
        start.messages.answer(Answer::No);
        start.dialog.pick(start.rom(QStringLiteral("kart.smc")));
        const StartupState state = start.run();
        start.verifyScriptUsedUp();
        // The ROM message is not repeated; the completed pick of "ab" is not the initial name.
        QCOMPARE(start.messages.titles(),
                 (QStringList{Welcome, PickRom, QStringLiteral("AB was backed up."), Q2,
                              QStringLiteral("KART.SMC was backed up.")}));
        QCOMPARE(start.dialog.showings().size(), 3);
        verifyRomDialog(start.dialog.showings().at(2).settings);
        QVERIFY(state.setupCompleted);
        QVERIFY(state.insertionEnabled);
    }

    void romFailuresAskQ2AndKeepWhatWasMade_data()
    {
        QTest::addColumn<QString>("case_");
        QTest::addColumn<QStringList>("kept");
        QTest::newRow("cancel") << QStringLiteral("cancel") << QStringList{};
        QTest::newRow("ROM gone") << QStringLiteral("gone") << QStringList{};
        QTest::newRow("working ROM cannot be written")
            << QStringLiteral("target") << QStringList{QStringLiteral("kart.smc.bak")};
        QTest::newRow("configuration cannot be created")
            << QStringLiteral("config")
            << QStringList{QStringLiteral("kart.smc.bak"), QStringLiteral("kart_velmor.smc")};
    }

    void romFailuresAskQ2AndKeepWhatWasMade()
    {
        QFETCH(QString, case_);
        QFETCH(QStringList, kept);
        Start start;
        start.make(start.recomp());
        const QString rom = start.rom(QStringLiteral("kart.smc"));
        start.make(rom, Start::romBytes());
        start.dialog.pick(start.recomp());
        if (case_ == QStringLiteral("cancel"))
            start.dialog.cancel();
        else if (case_ == QStringLiteral("gone"))
            start.dialog.pick(start.rom(QStringLiteral("gone.smc")));
        else
            start.dialog.pick(rom);
        // A folder in the way cannot be replaced by a file, whoever runs the test.
        if (case_ == QStringLiteral("target"))
            QVERIFY(QDir(start.romFolder()).mkdir(QStringLiteral("kart_velmor.smc")));
        if (case_ == QStringLiteral("config"))
            QVERIFY(QDir(start.dir.path()).mkdir(QStringLiteral("Velmor.cfg")));
        start.messages.answer(Answer::Yes);

        const StartupState state = start.run();
        start.verifyScriptUsedUp();
        QCOMPARE(start.messages.titles().last(), Q2);
        QCOMPARE(QDir(start.romFolder()).entryList(QDir::Files),
                 QStringList{QStringLiteral("kart.smc")} + kept);
        QCOMPARE(start.read(rom), Start::romBytes());
        for (const QString &name : kept)
            QCOMPARE(start.read(start.rom(name)), Start::romBytes());
        QVERIFY(!QFileInfo(start.configPath()).isFile());
        QVERIFY(!state.insertionEnabled);
        QCOMPARE(state.config.recompPath, start.recomp());
        if (case_ != QStringLiteral("cancel"))
            QVERIFY(!start.sequence->errorString().isEmpty());
    }
};

VELMOR_GUILESS_TEST_MAIN(TestFirstRun)
#include "test_first_run.moc"
