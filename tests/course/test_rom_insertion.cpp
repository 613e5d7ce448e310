#include "tests/course/insertion_rig.h"
#include "tests/support/test_main.h"

#include <QDir>

using namespace velmor;
using namespace velmor::test;

using Answer = MessageBoxes::Answer;
using Outcome = RomInsertion::Outcome;

namespace {

// Inserts Mario Circuit 1 from "t.bin" into `rom`: the insertion must fail with one "Import
// Failed" message naming that ROM, handed back in `text` for the case's own facts.
void verifyInsertionFailed(InsertionRig &rig, const QString &rom, QString &text)
{
    rig.dialog.pick(rig.makeTrack(QStringLiteral("t.bin")));
    rig.dialog.pick(rom);

    rig.insertion.insertFromFile(QStringLiteral("68f2c - Mario Circuit 1"));
    QCOMPARE(rig.outcome(), std::optional(Outcome::Failed));
    QCOMPARE(rig.messages.titles(), QStringList {QStringLiteral("Import Failed")});
    text = rig.messages.messages().at(0).text;
    QVERIFY2(text.contains(rom.toUpper()), qPrintable(text));
}

} // namespace

// "From File" and the ROM step, with real files and the real fake tool.
class TestRomInsertion : public QObject
{
    Q_OBJECT

private slots:
    void handsTheToolItsArguments_data();
    void handsTheToolItsArguments();
    void successOnlyAfterTheToolEnds();
    void toolFailureIsReported_data();
    void toolFailureIsReported();
    void missingTrackAsksAgain();
    void cancelStaysSilent_data();
    void cancelStaysSilent();
    void overwriteNoAsksAgainYesKeepsTheRom();
    void failedCopyIsReported();
    void courseIsCheckedBeforeAnyDialog_data();
    void courseIsCheckedBeforeAnyDialog();
    void romWithoutPlaceForTheCourseIsRefused();
    void partOfACourseIsRefused_data();
    void partOfACourseIsRefused();
    void toolOffset_data();
    void toolOffset();
};

void TestRomInsertion::handsTheToolItsArguments_data()
{
    QTest::addColumn<qsizetype>("romSize");
    QTest::addColumn<QString>("course");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("offset");

    const QString plain = QStringLiteral("work");
    QTest::newRow("header, Mario Circuit 1")
        << HeaderedRomSize << QStringLiteral("68f2c - Mario Circuit 1") << plain
        << QStringLiteral("68f2c");
    QTest::newRow("no header, Mario Circuit 1")
        << PlainRomSize << QStringLiteral("68f2c - Mario Circuit 1") << plain
        << QStringLiteral("68d2c");
    QTest::newRow("no header, Vanilla Lake 1")
        << PlainRomSize << QStringLiteral("3123c - Vanilla Lake 1") << plain
        << QStringLiteral("3103c");
    QTest::newRow("typed upper case")
        << HeaderedRomSize << QStringLiteral("50E45") << plain << QStringLiteral("50e45");
    QTest::newRow("blanks") << HeaderedRomSize << QStringLiteral("6c168 - Vanilla Lake")
                            << QStringLiteral("my tracks and roms") << QStringLiteral("6c168");
    QTest::newRow("semicolons") << PlainRomSize << QStringLiteral("7ef3b - Battle Course 4")
                                << QStringLiteral("a;b & c") << QStringLiteral("7ed3b");
#ifndef Q_OS_WIN
    QTest::newRow("quotes") << HeaderedRomSize << QStringLiteral("21965 - Battle Course 2")
                            << QStringLiteral("say \"kart\" 'now'") << QStringLiteral("21965");
#endif
}

void TestRomInsertion::handsTheToolItsArguments()
{
    QFETCH(qsizetype, romSize);
    QFETCH(QString, course);
    QFETCH(QString, folder);
    QFETCH(QString, offset);

    InsertionRig rig(romSize);
    QVERIFY(QDir(rig.dir.path()).mkpath(folder));
    const QString track = rig.makeTrack(folder + QStringLiteral("/my track.bin"));
    const QString rom = rig.path(folder + QStringLiteral("/new rom.smc"));
    RecordArgsEnv env(rig.argsFile);
    rig.dialog.pick(track);
    rig.dialog.pick(rom);

    rig.insertion.insertFromFile(course);
    QCOMPARE(rig.outcome(), std::optional(Outcome::Imported));

    const QStringList expected {track, rom, offset, QStringLiteral("4"), QStringLiteral("0")};
    QCOMPARE(recordedArgs(rig.argsFile), std::optional(expected));
    QCOMPARE(rig.state.trackPath, track);
    QCOMPARE(rig.state.targetRom, rom);
    // The new ROM is a copy of the user's ROM.
    QCOMPARE(readBytes(rom), syntheticRom(romSize));

    QCOMPARE(rig.dialog.showings().size(), 2);
    const auto &open = rig.dialog.showings().at(0);
    QCOMPARE(open.mode, FileDialog::Mode::Open);
    QCOMPARE(open.settings.title, QStringLiteral("Choose an Velmor Custom Makde Course."));
    QCOMPARE(open.settings.fileName, QStringLiteral("newtrack.bin"));
    QCOMPARE(open.settings.filter, QStringLiteral("BIN Files (*.bin)|*.bin"));
    QCOMPARE(open.settings.defaultExtension, QStringLiteral("bin"));
    const auto &save = rig.dialog.showings().at(1);
    QCOMPARE(save.mode, FileDialog::Mode::Save);
    QCOMPARE(save.settings.title, QStringLiteral("Choose an SMK ROM or make a NEW one."));
    QCOMPARE(save.settings.fileName, QStringLiteral("kart_velmor.smc"));
    QCOMPARE(save.settings.filter, QStringLiteral("SNES Files (*.smc)|*.smc"));
    QCOMPARE(save.settings.defaultExtension, QStringLiteral("smc"));
    QCOMPARE(save.settings.directory, rig.insertion.settings().romFolder);

    QCOMPARE(rig.messages.messages().size(), 1);
    QCOMPARE(rig.messages.messages().at(0).title, QStringLiteral("Successful Import"));
    QCOMPARE(rig.messages.messages().at(0).text,
        QStringLiteral("Import of ") + track.toUpper() + QStringLiteral(" into ") + rom.toUpper()
            + QStringLiteral(" successful."));
}

void TestRomInsertion::successOnlyAfterTheToolEnds()
{
    InsertionRig rig;
    const QString track = rig.makeTrack(QStringLiteral("t.bin"));
    RecordArgsEnv env(rig.argsFile, 0, {}, 400);
    rig.dialog.pick(track);
    rig.dialog.pick(rig.path(QStringLiteral("out.smc")));

    rig.insertion.insertFromFile(QStringLiteral("68f2c - Mario Circuit 1"));
    // The call came back while the tool still runs, and nothing claims success yet.
    QCOMPARE(rig.insertion.runningTools(), 1);
    QVERIFY(rig.messages.messages().isEmpty());
    QVERIFY(rig.ended.isEmpty());

    QCOMPARE(rig.outcome(), std::optional(Outcome::Imported));
    QCOMPARE(rig.insertion.runningTools(), 0);
    QCOMPARE(rig.messages.titles(), QStringList {QStringLiteral("Successful Import")});
}

void TestRomInsertion::toolFailureIsReported_data()
{
    QTest::addColumn<QString>("tool"); // empty: record_args
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<int>("sleepMs");
    QTest::addColumn<QStringList>("mentions");

    QTest::newRow("exit status and reason")
        << QString() << 2 << 0
        << QStringList {QStringLiteral("exit status 2"),
               QStringLiteral("course needs 4000 bytes, its slot holds 3907")};
    QTest::newRow("hung") << QString() << 0 << 60000
                          << QStringList {QStringLiteral("did not finish within")};
    QTest::newRow("missing tool") << QStringLiteral("missing/recomp.exe") << 0 << 0
                                  << QStringList {QStringLiteral("could not be started"),
                                         QStringLiteral("recomp.exe")};
#ifndef Q_OS_WIN
    QTest::newRow("windows tool, no wine") << QStringLiteral("RECOMP.EXE") << 0 << 0
                                           << QStringList {QStringLiteral("cannot be run here")};
#endif
}

void TestRomInsertion::toolFailureIsReported()
{
    QFETCH(QString, tool);
    QFETCH(int, exitCode);
    QFETCH(int, sleepMs);
    QFETCH(QStringList, mentions);

    InsertionRig rig;
    Configuration settings = rig.insertion.settings();
    if (!tool.isEmpty()) {
        settings.recompPath = rig.path(tool);
        if (tool == QStringLiteral("RECOMP.EXE"))
            QVERIFY(writeBytes(settings.recompPath, QByteArray("MZ\x90\x00", 4)));
        rig.insertion.setSettings(settings);
    }
    rig.runner.setWineProgram(QString());
    rig.runner.setTimeout(300);
    RecordArgsEnv env(
        rig.argsFile, exitCode, "recomp: course needs 4000 bytes, its slot holds 3907\n", sleepMs);
    const QString rom = rig.path(QStringLiteral("fresh.smc"));
    QString text;
    verifyInsertionFailed(rig, rom, text);
    if (QTest::currentTestFailed())
        return;
    for (const QString &mention : mentions)
        QVERIFY2(text.contains(mention), qPrintable(text));
    // What was done stays done: the new ROM made for the import is still there.
    QCOMPARE(readBytes(rom), syntheticRom(HeaderedRomSize));
}

void TestRomInsertion::missingTrackAsksAgain()
{
    InsertionRig rig;
    RecordArgsEnv env(rig.argsFile);
    const QString typed = rig.path(QStringLiteral("typo.bin"));
    const QString track = rig.makeTrack(QStringLiteral("real.bin"));
    rig.dialog.pick(typed);
    rig.dialog.pick(typed);
    rig.dialog.pick(track);
    rig.dialog.pick(rig.path(QStringLiteral("out.smc")));

    rig.insertion.insertFromFile(QStringLiteral("68f2c - Mario Circuit 1"));
    QCOMPARE(rig.outcome(), std::optional(Outcome::Imported));

    const QStringList titles {
        QStringLiteral("Whoops."), QStringLiteral("Whoops."), QStringLiteral("Successful Import")};
    QCOMPARE(rig.messages.titles(), titles);
    QCOMPARE(rig.messages.messages().at(0).text,
        QStringLiteral("You didn't choose anything. Please pick a custom track to use."));
    QCOMPARE(rig.dialog.showings().size(), 4);
    for (int i = 0; i < 3; ++i) {
        // Shown afresh each time, and opening where the last pick was.
        QCOMPARE(rig.dialog.showings().at(i).settings.fileName, QStringLiteral("newtrack.bin"));
        QCOMPARE(rig.dialog.showings().at(i).mode, FileDialog::Mode::Open);
    }
    QCOMPARE(rig.dialog.showings().at(1).settings.directory, rig.dir.path());
    QCOMPARE(recordedArgs(rig.argsFile)->value(0), track);
}

void TestRomInsertion::cancelStaysSilent_data()
{
    QTest::addColumn<int>("cancelAt"); // which dialog is cancelled
    QTest::newRow("track dialog") << 0;
    QTest::newRow("ROM dialog") << 1;
}

void TestRomInsertion::cancelStaysSilent()
{
    QFETCH(int, cancelAt);
    InsertionRig rig;
    RecordArgsEnv env(rig.argsFile);
    const QString track = rig.makeTrack(QStringLiteral("t.bin"));
    if (cancelAt == 1)
        rig.dialog.pick(track);
    rig.dialog.cancel();

    rig.insertion.insertFromFile(QStringLiteral("68f2c - Mario Circuit 1"));
    QCOMPARE(rig.outcome(), std::optional(Outcome::Cancelled));
    QVERIFY(rig.messages.messages().isEmpty());
    QCOMPARE(rig.state.trackPath, cancelAt == 1 ? track : QString());
    QVERIFY(rig.state.targetRom.isEmpty());
    QVERIFY(!recordedArgs(rig.argsFile));
    QCOMPARE(rig.dialog.unexpected(), 0);
}

void TestRomInsertion::overwriteNoAsksAgainYesKeepsTheRom()
{
    InsertionRig rig;
    RecordArgsEnv env(rig.argsFile);
    // An existing ROM without header, different from the user's ROM.
    const QString rom = rig.path(QStringLiteral("kart_velmor.smc"));
    const QByteArray original = syntheticRom(PlainRomSize).replace('\x07', '\x08');
    QVERIFY(writeBytes(rom, original));
    rig.dialog.pick(rig.makeTrack(QStringLiteral("t.bin")));
    rig.dialog.pick(rom);
    rig.dialog.pick(rom);
    rig.messages.answer(Answer::No);
    rig.messages.answer(Answer::Yes);

    rig.insertion.insertFromFile(QStringLiteral("68f2c - Mario Circuit 1"));
    QCOMPARE(rig.outcome(), std::optional(Outcome::Imported));

    QCOMPARE(rig.dialog.showings().size(), 3);
    QCOMPARE(rig.dialog.showings().at(2).settings.fileName, QStringLiteral("kart_velmor.smc"));
    const auto &question = rig.messages.messages().at(0);
    QCOMPARE(question.text,
        QStringLiteral("Would you like to overwrite ") + rom.toUpper() + QStringLiteral("?"));
    QCOMPARE(question.title, QStringLiteral("Overwrite ") + rom.toUpper() + QStringLiteral("?"));
    QCOMPARE(question.buttons, MessageBoxes::Buttons::YesNo);
    QCOMPARE(rig.messages.titles().size(), 3);
    // Nothing was copied over the chosen ROM, and its own size set the offset.
    QCOMPARE(readBytes(rom), original);
    QCOMPARE(recordedArgs(rig.argsFile)->value(2), QStringLiteral("68d2c"));
}

void TestRomInsertion::failedCopyIsReported()
{
    InsertionRig rig(0); // the user's ROM is gone
    RecordArgsEnv env(rig.argsFile);
    const QString rom = rig.path(QStringLiteral("new.smc"));
    QString text;
    verifyInsertionFailed(rig, rom, text);
    if (QTest::currentTestFailed())
        return;
    QVERIFY2(text.contains(rig.insertion.settings().userRomPath.toUpper()), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("Cannot read")), qPrintable(text));
    QVERIFY(!QFile::exists(rom));
    QVERIFY(!recordedArgs(rig.argsFile));
}

void TestRomInsertion::courseIsCheckedBeforeAnyDialog_data()
{
    QTest::addColumn<QString>("course");
    QTest::addColumn<QString>("text");
    const QString noCourse = QStringLiteral("Whoops! No Course was selected. A course must be "
                                            "selected before you can import your course into the "
                                            "ROM.");
    QTest::newRow("header") << QStringLiteral("MUSHROOM CUP") << noCourse;
    QTest::newRow("empty") << QString() << noCourse;
    QTest::newRow("short") << QStringLiteral("68f2") << noCourse;
    QTest::newRow("typed") << QStringLiteral("Mario Circuit 1") << noCourse;
    // Five digits, but the common tiles lie there: a track written over them would wreck every
    // course's graphics.
    QTest::newRow("offset of no course")
        << QStringLiteral("40200 - Tiles")
        << QStringLiteral("\"40200 - Tiles\" names no course of the game: none of its 24 courses "
                          "starts at 0x40200 in a ROM with the copier header; choose a course line "
                          "in the course list.");
    QTest::newRow("one digit off") << QStringLiteral("68f2d - Mario Circuit 1")
                                   << QStringLiteral("\"68f2d - Mario Circuit 1\" names no course "
                                                     "of the game: none of its 24 courses starts "
                                                     "at 0x68f2d in a ROM with the copier header; "
                                                     "choose a course line in the course list.");
}

void TestRomInsertion::courseIsCheckedBeforeAnyDialog()
{
    QFETCH(QString, course);
    QFETCH(QString, text);
    InsertionRig rig;
    RecordArgsEnv env(rig.argsFile);

    rig.insertion.insertFromFile(course);
    QCOMPARE(rig.outcome(), std::optional(Outcome::Refused));
    QVERIFY(rig.dialog.showings().isEmpty());
    QCOMPARE(rig.messages.titles(), QStringList {QStringLiteral("No Course Selected")});
    QCOMPARE(rig.messages.messages().at(0).text, text);
}

void TestRomInsertion::partOfACourseIsRefused_data()
{
    QTest::addColumn<QByteArray>("track");
    QTest::addColumn<QString>("cells");
    QTest::newRow("only the end mark") << QByteArray("\xff", 1) << QStringLiteral("0 of 16,384");
    QTest::newRow("32 cells") << QByteArray("\x3f\x01\xff", 3) << QStringLiteral("32 of 16,384");
}

void TestRomInsertion::partOfACourseIsRefused()
{
    QFETCH(QByteArray, track);
    QFETCH(QString, cells);
    InsertionRig rig;
    RecordArgsEnv env(rig.argsFile);
    const QString part = rig.path(QStringLiteral("part.bin"));
    QVERIFY(writeBytes(part, track));
    rig.dialog.pick(part);

    rig.insertion.insertFromFile(QStringLiteral("68f2c - Mario Circuit 1"));
    QCOMPARE(rig.outcome(), std::optional(Outcome::Refused));
    // Refused before the ROM is asked for, so the compressor never ran.
    QCOMPARE(rig.dialog.showings().size(), 1);
    QVERIFY(!QFile::exists(rig.argsFile));
    QCOMPARE(rig.messages.titles(), QStringList {QStringLiteral("Import Failed")});
    const QString text = rig.messages.messages().at(0).text;
    QVERIFY2(text.contains(QStringLiteral("is no whole course: it describes %1 cells").arg(cells)),
        qPrintable(text));
}

void TestRomInsertion::romWithoutPlaceForTheCourseIsRefused()
{
    InsertionRig rig;
    RecordArgsEnv env(rig.argsFile);
    const QString rom = rig.path(QStringLiteral("odd.smc"));
    QVERIFY(writeBytes(rom, syntheticRom(1000)));
    rig.dialog.pick(rig.makeTrack(QStringLiteral("t.bin")));
    rig.dialog.pick(rom);
    rig.messages.answer(Answer::Yes);

    rig.insertion.insertFromFile(QStringLiteral("68f2c - Mario Circuit 1"));
    QCOMPARE(rig.outcome(), std::optional(Outcome::Refused));
    QCOMPARE(rig.messages.titles().last(), QStringLiteral("Import Failed"));
    QVERIFY(rig.messages.messages().last().text.contains(rom.toUpper()));
    QVERIFY(!recordedArgs(rig.argsFile));
    QCOMPARE(readBytes(rom), syntheticRom(1000));
}

void TestRomInsertion::toolOffset_data()
{
    QTest::addColumn<qint64>("course");
    QTest::addColumn<qint64>("romSize");
    QTest::addColumn<qint64>("expected"); // -1: refused

    QTest::newRow("header") << qint64(0x68f2c) << qint64(524800) << qint64(0x68f2c);
    QTest::newRow("no header") << qint64(0x68f2c) << qint64(524288) << qint64(0x68d2c);
    QTest::newRow("Mario Circuit 2, no header")
        << qint64(0x50e45) << qint64(524288) << qint64(0x50c45);
    QTest::newRow("before the start") << qint64(0x100) << qint64(524288) << qint64(-1);
    QTest::newRow("first byte, no header") << qint64(0x200) << qint64(524288) << qint64(0);
    QTest::newRow("past the end") << qint64(0x7ef3b) << qint64(262656) << qint64(-1);
    QTest::newRow("last byte") << qint64(1535) << qint64(1536) << qint64(1535);
    QTest::newRow("no ROM size") << qint64(0x68f2c) << qint64(524289) << qint64(-1);
    QTest::newRow("empty file") << qint64(0x68f2c) << qint64(0) << qint64(-1);
}

void TestRomInsertion::toolOffset()
{
    QFETCH(qint64, course);
    QFETCH(qint64, romSize);
    QFETCH(qint64, expected);
    const std::optional<qint64> offset = RomInsertion::toolOffset(course, romSize);
    QCOMPARE(offset.value_or(-1), expected);
}

VELMOR_GUILESS_TEST_MAIN(TestRomInsertion)
#include "test_rom_insertion.moc"
