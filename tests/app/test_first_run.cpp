#include "app/load_sequence.h"
#include "app/startup_texts.h"
#include "platform/file_system.h"
#include "platform/services.h"
#include "tests/app/startup_test_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace velmor;
using Answer = MessageBoxes::Answer;

namespace {

// One start of the program in a folder of its own: the start-up directory holds the
// configuration file, tools/ the compressor, roms/ the user's ROM.
struct Start
{
    Start()
        : cwd(dir.path())
    {
        QDir(dir.path()).mkpath(QStringLiteral("tools"));
        QDir(dir.path()).mkpath(QStringLiteral("roms"));
    }

    QString path(const QString &relative) const { return dir.filePath(relative); }
    QString recomp() const { return path(QStringLiteral("tools/recomp.exe")); }
    QString rom(const QString &name) const { return path(QStringLiteral("roms/") + name); }
    QString romFolder() const { return path(QStringLiteral("roms/")); }
    QString configPath() const { return path(QStringLiteral("Velmor.cfg")); }

    void make(const QString &file, const QByteArray &bytes = "MZ")
    {
        QVERIFY(files.writeFile(file, bytes, nullptr));
    }

    // A synthetic ROM image: not a real game, just bytes that a copy must keep in order.
    static QByteArray romBytes()
    {
        QByteArray bytes;
        for (int i = 0; i < 3000; ++i)
            bytes.append(char(i * 7 + i / 256));
        return bytes;
    }

    const StartupState &run()
    {
        sequence = std::make_unique<LoadSequence>(services, dir.path());
        return sequence->run();
    }

    QByteArray read(const QString &file) const
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    bool exists(const QString &file) const { return QFileInfo::exists(file); }

    void verifyScriptUsedUp() const
    {
        QCOMPARE(dialog.unexpected(), 0);
        QCOMPARE(dialog.unanswered(), 0);
        QCOMPARE(messages.unexpected(), 0);
        QCOMPARE(messages.unanswered(), 0);
    }

    QTemporaryDir dir;
    test::CurrentDirectory cwd;
    test::ScriptedFileDialog dialog;
    test::FiniteMessageBoxes messages;
    QtFileSystem files;
    Services services{dialog, messages, files};
    std::unique_ptr<LoadSequence> sequence;
};

void verifyCompressorDialog(const FileDialog::Settings &settings, const QString &fileName)
{
    QCOMPARE(settings.title, QStringLiteral("Point to recomp.exe"));
    QCOMPARE(settings.fileName, fileName);
    QCOMPARE(settings.filter, QStringLiteral("EXE Files (*.exe)|*.exe"));
    QCOMPARE(settings.defaultExtension, QStringLiteral("exe"));
}

void verifyRomDialog(const FileDialog::Settings &settings)
{
    QCOMPARE(settings.title, QStringLiteral("Select your SMK ROM"));
    QCOMPARE(settings.fileName, QStringLiteral("Super Mario Kart ROM"));
    QCOMPARE(settings.filter, QStringLiteral("SNES Files (*.smc)|*.smc"));
    QCOMPARE(settings.defaultExtension, QStringLiteral("smc"));
}

const QString Welcome = QStringLiteral("First time running Velmor?");
const QString WrongFile = QStringLiteral("That's not RECOMP.EXE!");
const QString Q1 = QStringLiteral("I did not find RECOMP.EXE.");
const QString PickRom = QStringLiteral("Point to your ROM file.");
const QString Q2 = QStringLiteral("You did not pick your SMK ROM.");

} // namespace

class TestFirstRun : public QObject
{
    Q_OBJECT

private slots:
    void cancelAndGoOnWithoutCompressor()
    {
        Start start;
        start.dialog.cancel();
        start.messages.answer(Answer::Yes);
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
        start.dialog.cancel();
        start.messages.answer(Answer::Yes);
        start.run();
        QCOMPARE(start.messages.titles(), (QStringList{Welcome, Q1, Welcome, Q1}));
        start.verifyScriptUsedUp();
    }

    void cancelThenNoShowsTheDialogAgain()
    {
        Start start;
        start.dialog.cancel();
        start.messages.answer(Answer::No);
        start.dialog.cancel();
        start.messages.answer(Answer::Yes);
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
        start.dialog.cancel();
        start.messages.answer(Answer::Yes);
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
        const QList<QByteArray> lines{"changed", "C:\\tools\\recomp.exe", "labels",
                                      "C:\\roms\\", "are", "C:\\roms\\kart.smc", "ignored", "kart"};
        start.make(start.configPath(), lines.join(lineEnd) + lineEnd);
        const StartupState state = start.run();
        start.verifyScriptUsedUp();
        QVERIFY(start.messages.messages().isEmpty());
        QVERIFY(start.dialog.showings().isEmpty());
        QVERIFY(!state.firstRun);
        QVERIFY(state.insertionEnabled);
        QCOMPARE(state.config,
                 (Configuration{QStringLiteral("C:\\tools\\recomp.exe"), QStringLiteral("C:\\roms\\"),
                                QStringLiteral("C:\\roms\\kart.smc"), QStringLiteral("kart")}));
    }

    void shortConfigurationCountsAsNone()
    {
        Start start;
        start.make(start.configPath(), "Full Path to RECOMP.EXE\r\nC:\\recomp.exe\r\n");
        start.dialog.cancel();
        start.messages.answer(Answer::Yes);
        const StartupState state = start.run();
        start.verifyScriptUsedUp();
        QCOMPARE(start.messages.titles(), (QStringList{Welcome, Q1}));
        QVERIFY(state.firstRun);
        QVERIFY(!state.insertionEnabled);
    }

    void lowerCaseConfigurationMakesAFirstRunButEnablesInsertion()
    {
        Start start;
        start.make(start.path(QStringLiteral("velmor.cfg")), "a\r\nb\r\nc\r\nd\r\ne\r\nf\r\ng\r\nh\r\n");
        start.dialog.cancel();
        start.messages.answer(Answer::Yes);
        const StartupState state = start.run();
        start.verifyScriptUsedUp();
        QCOMPARE(start.messages.titles(), (QStringList{Welcome, Q1}));
        QVERIFY(state.firstRun);
        QVERIFY(state.insertionEnabled);
        QCOMPARE(state.config, Configuration{});
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
        Services services{dialog, start.messages, start.files};
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

QTEST_GUILESS_MAIN(TestFirstRun)
#include "test_first_run.moc"
