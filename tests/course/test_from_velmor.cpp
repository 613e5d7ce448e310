#include "course/track_file.h"
#include "tests/course/insertion_rig.h"
#include "tests/support/test_main.h"

#include <QFile>

using namespace velmor;
using namespace velmor::test;

using Answer = MessageBoxes::Answer;
using Outcome = RomInsertion::Outcome;

namespace {

constexpr int Cells = 128 * 128;

QStringList freshMap()
{
    return QStringList(Cells, QStringLiteral("01"));
}

const QString MarioCircuit1Line = QStringLiteral("68f2c - Mario Circuit 1");
const QString RomTitle = QStringLiteral("Choose an SMK ROM, or make a NEW one.");

} // namespace

// "From Velmor": the shared export, then the ROM step.
class TestFromVelmor : public QObject
{
    Q_OBJECT

private slots:
    void exportsThenInserts();
    void unchangedMapInsertsTheLastExport();
    void unchangedMapWithoutTrackFileIsRefused_data();
    void unchangedMapWithoutTrackFileIsRefused();
    void courseIsCheckedAfterTheExport_data();
    void courseIsCheckedAfterTheExport();
    void cancelledExportEndsSilently();
};

void TestFromVelmor::exportsThenInserts()
{
    InsertionRig rig(PlainRomSize);
    RecordArgsEnv env(rig.argsFile);
    const QString track = rig.path(QStringLiteral("my course.bin"));
    const QString rom = rig.path(QStringLiteral("kart_velmor.smc"));
    rig.dialog.pick(track);
    rig.dialog.pick(rom);

    rig.insertion.exportAndInsert(freshMap(), MarioCircuit1Line);
    QCOMPARE(rig.outcome(), std::optional(Outcome::Imported));

    QCOMPARE(rig.messages.titles(),
        (QStringList {QStringLiteral("Successful Export"), QStringLiteral("Successful Import")}));
    QCOMPARE(rig.dialog.showings().size(), 2);
    QCOMPARE(rig.dialog.showings().at(1).settings.title, RomTitle);
    QCOMPARE(recordedArgs(rig.argsFile),
        std::optional(QStringList {
            track, rom, QStringLiteral("68d2c"), QStringLiteral("4"), QStringLiteral("0")}));
    // The file handed over is the map's track file.
    QCOMPARE(track::decode(readBytes(track)).texts, freshMap());
}

void TestFromVelmor::unchangedMapInsertsTheLastExport()
{
    InsertionRig rig;
    const QString exported = rig.path(QStringLiteral("exported.bin"));
    const QString rom = rig.path(QStringLiteral("out.smc"));
    {
        RecordArgsEnv env(rig.argsFile);
        rig.dialog.pick(exported);
        rig.dialog.pick(rom);
        rig.insertion.exportAndInsert(freshMap(), MarioCircuit1Line);
        QCOMPARE(rig.outcome(), std::optional(Outcome::Imported));
    }
    // A later "From File" chooses another track file and is cancelled at the ROM dialog.
    const QString other = rig.makeTrack(QStringLiteral("other.bin"));
    rig.dialog.pick(other);
    rig.dialog.cancel();
    rig.ended.clear();
    rig.insertion.insertFromFile(MarioCircuit1Line);
    QCOMPARE(rig.outcome(), std::optional(Outcome::Cancelled));
    QCOMPARE(rig.state.trackPath, other);

    // Same map again, "No changes?" answered No: straight to the ROM dialog, inserting the file
    // that holds this map.
    rig.ended.clear();
    const int shown = rig.dialog.showings().size();
    const QByteArray before = readBytes(exported);
    RecordArgsEnv env(rig.argsFile, 0);
    rig.messages.answer(Answer::No);
    rig.messages.answer(Answer::Yes); // overwrite out.smc
    rig.dialog.pick(rom);
    rig.insertion.exportAndInsert(freshMap(), QStringLiteral("3123c - Vanilla Lake 1"));
    QCOMPARE(rig.outcome(), std::optional(Outcome::Imported));

    QCOMPARE(rig.dialog.showings().size(), shown + 1);
    QCOMPARE(rig.dialog.showings().last().settings.title, RomTitle);
    QCOMPARE(recordedArgs(rig.argsFile)->value(0), exported);
    QCOMPARE(recordedArgs(rig.argsFile)->value(2), QStringLiteral("3123c"));
    QCOMPARE(readBytes(exported), before);
    QCOMPARE(rig.messages.titles().last(), QStringLiteral("Successful Import"));
    QCOMPARE(rig.messages.messages().last().text,
        QStringLiteral("Import of ") + exported.toUpper() + QStringLiteral(" into ") + rom.toUpper()
            + QStringLiteral(" successful."));
}

void TestFromVelmor::unchangedMapWithoutTrackFileIsRefused_data()
{
    QTest::addColumn<bool>("fileWasDeleted");
    QTest::newRow("nothing written in this run") << false;
    QTest::newRow("track file deleted since") << true;
}

void TestFromVelmor::unchangedMapWithoutTrackFileIsRefused()
{
    QFETCH(bool, fileWasDeleted);
    InsertionRig rig;
    RecordArgsEnv env(rig.argsFile);
    if (fileWasDeleted) {
        const QString exported = rig.path(QStringLiteral("gone.bin"));
        rig.dialog.pick(exported);
        rig.dialog.cancel(); // stop at the ROM dialog
        rig.insertion.exportAndInsert(freshMap(), MarioCircuit1Line);
        QCOMPARE(rig.outcome(), std::optional(Outcome::Cancelled));
        QVERIFY(QFile::remove(exported));
        rig.ended.clear();
    } else {
        // The last export's text is known but no file holds it.
        rig.state.lastExport = track::encode(freshMap());
    }
    const int shown = rig.dialog.showings().size();
    const int told = rig.messages.messages().size();
    rig.messages.answer(Answer::No);

    rig.insertion.exportAndInsert(freshMap(), MarioCircuit1Line);
    QCOMPARE(rig.outcome(), std::optional(Outcome::Refused));
    QCOMPARE(rig.dialog.showings().size(), shown);
    QCOMPARE(rig.messages.messages().size(), told + 2);
    QCOMPARE(rig.messages.titles().at(told), QStringLiteral("No changes?"));
    QCOMPARE(rig.messages.titles().at(told + 1), QStringLiteral("No Track File"));
    QVERIFY(!recordedArgs(rig.argsFile));
}

void TestFromVelmor::courseIsCheckedAfterTheExport_data()
{
    QTest::addColumn<QString>("course");
    QTest::newRow("header") << QStringLiteral("STAR CUP");
    QTest::newRow("short") << QStringLiteral("7");
}

void TestFromVelmor::courseIsCheckedAfterTheExport()
{
    QFETCH(QString, course);
    InsertionRig rig;
    RecordArgsEnv env(rig.argsFile);
    const QString track = rig.path(QStringLiteral("kept.bin"));
    rig.dialog.pick(track);

    rig.insertion.exportAndInsert(freshMap(), course);
    QCOMPARE(rig.outcome(), std::optional(Outcome::Refused));
    QCOMPARE(rig.messages.titles(),
        (QStringList {QStringLiteral("Successful Export"), QStringLiteral("No Course Selected")}));
    QCOMPARE(rig.dialog.showings().size(), 1); // no ROM dialog
    QVERIFY(QFile::exists(track));
    QVERIFY(!recordedArgs(rig.argsFile));
}

void TestFromVelmor::cancelledExportEndsSilently()
{
    InsertionRig rig;
    RecordArgsEnv env(rig.argsFile);
    rig.dialog.cancel();

    rig.insertion.exportAndInsert(freshMap(), MarioCircuit1Line);
    QCOMPARE(rig.outcome(), std::optional(Outcome::Cancelled));
    QVERIFY(rig.messages.messages().isEmpty());
    QCOMPARE(rig.dialog.showings().size(), 1);
    QVERIFY(!recordedArgs(rig.argsFile));
}

VELMOR_GUILESS_TEST_MAIN(TestFromVelmor)
#include "test_from_velmor.moc"
