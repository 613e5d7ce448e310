#include "course/export_track.h"
#include "course/track_file.h"
#include "course/track_state.h"
#include "platform/file_system.h"
#include "platform/services.h"
#include "tests/course/track_fixtures.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/test_main.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace velmor;
using namespace velmor::test;

using Answer = MessageBoxes::Answer;

class TestExportTrack : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void firstExportAsksNothingAndWrites();
    void unchangedMapAsks_data();
    void unchangedMapAsks();
    void cancelIsSilentAndNotAnExport();
    void overwriteNoShowsDialogAgainThenYes();
    void writeFailureIsReported_data();
    void writeFailureIsReported();
    void readOnlyFileIsReportedAndKept();
    void badCellIsRefused_data();
    void badCellIsRefused();
    void dialogOpensInFolderOfLastTrack();

private:
    ExportResult run(const QStringList &cells) { return exportTrack(cells, mState, *mServices); }
    QString path(const QString &name) const { return mDir->filePath(name); }
    static QByteArray contents(const QString &path);
    void verifyTrackDialog(const ScriptedFileDialog::Showing &showing);

    std::unique_ptr<QTemporaryDir> mDir;
    std::unique_ptr<ScriptedFileDialog> mDialog;
    std::unique_ptr<ScriptedMessageBoxes> mMessages;
    QtFileSystem mFiles;
    std::unique_ptr<Services> mServices;
    TrackState mState;
    QStringList mFresh = mapWith(QStringLiteral("01"));
};

void TestExportTrack::init()
{
    mDir = std::make_unique<QTemporaryDir>();
    QVERIFY(mDir->isValid());
    mDialog = std::make_unique<ScriptedFileDialog>();
    mMessages = std::make_unique<ScriptedMessageBoxes>();
    mServices.reset(new Services {*mDialog, *mMessages, mFiles});
    mState = TrackState();
}

void TestExportTrack::cleanup()
{
    // Every scripted answer was used, and nothing was asked that the case did not expect.
    QCOMPARE(mDialog->unanswered(), 0);
    QCOMPARE(mDialog->unexpected(), 0);
    QCOMPARE(mMessages->unanswered(), 0);
    QCOMPARE(mMessages->unexpected(), 0);
}

QByteArray TestExportTrack::contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestExportTrack::verifyTrackDialog(const ScriptedFileDialog::Showing &showing)
{
    QCOMPARE(showing.mode, FileDialog::Mode::Save);
    QCOMPARE(showing.settings.title, QStringLiteral("Name Your Course"));
    QCOMPARE(showing.settings.fileName, QStringLiteral("newtrack.bin"));
    QCOMPARE(showing.settings.filter, QStringLiteral("BIN Files (*.bin)|*.bin"));
    QCOMPARE(showing.settings.defaultExtension, QStringLiteral("bin"));
}

void TestExportTrack::firstExportAsksNothingAndWrites()
{
    const QString target = path(QStringLiteral("course.bin"));
    mDialog->pick(target);

    QCOMPARE(run(mFresh), ExportResult::Written);

    QCOMPARE(mDialog->showings().size(), 1);
    verifyTrackDialog(mDialog->showings().at(0));
    QCOMPARE(mDialog->showings().at(0).settings.directory, QString());
    QCOMPARE(contents(target), repeated(bytes({0x3F, 0x01}), 512) + bytes({0xFF}));
    QCOMPARE(mMessages->titles(), QStringList {QStringLiteral("Successful Export")});
    QCOMPARE(mMessages->messages().at(0).text,
        QStringLiteral("Track Exported to ") + target.toUpper() + QStringLiteral(" successfully!"));
    QCOMPARE(mState.lastExport, track::encode(mFresh));
    QCOMPARE(mState.lastExportPath, target);
    QCOMPARE(mState.trackPath, target);
}

void TestExportTrack::unchangedMapAsks_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("No ends quietly") << false;
    QTest::newRow("Yes saves again") << true;
}

void TestExportTrack::unchangedMapAsks()
{
    QFETCH(bool, yes);
    const QString first = path(QStringLiteral("first.bin"));
    const QString second = path(QStringLiteral("second.bin"));
    mDialog->pick(first);
    QCOMPARE(run(mFresh), ExportResult::Written);

    // Painted and painted back: the content is what counts, not an edit flag.
    QStringList cells = mFresh;
    cells[77] = QStringLiteral("3A");
    cells[77] = QStringLiteral("01");
    mMessages->answer(yes ? Answer::Yes : Answer::No);
    if (yes)
        mDialog->pick(second);

    QCOMPARE(run(cells), yes ? ExportResult::Written : ExportResult::Declined);

    const auto &asked = mMessages->messages().at(1);
    QCOMPARE(asked.title, QStringLiteral("No changes?"));
    QCOMPARE(asked.text,
        QStringLiteral("You made no changes. Would you like to save the course anyway?"));
    QCOMPARE(asked.buttons, MessageBoxes::Buttons::YesNo);
    QCOMPARE(mDialog->showings().size(), yes ? 2 : 1);
    QCOMPARE(QFile::exists(second), yes);
    QCOMPARE(mState.lastExportPath, yes ? second : first);
}

void TestExportTrack::cancelIsSilentAndNotAnExport()
{
    mDialog->cancel();
    QCOMPARE(run(mFresh), ExportResult::Cancelled);
    QVERIFY(mMessages->messages().isEmpty());
    QVERIFY(QDir(mDir->path()).isEmpty());
    QCOMPARE(mState.lastExport, QString());

    // The map was never saved, so the next press must not claim that nothing changed.
    const QString target = path(QStringLiteral("later.bin"));
    mDialog->pick(target);
    QCOMPARE(run(mFresh), ExportResult::Written);
    QCOMPARE(mMessages->titles(), QStringList {QStringLiteral("Successful Export")});
    QVERIFY(QFile::exists(target));
}

void TestExportTrack::overwriteNoShowsDialogAgainThenYes()
{
    const QString existing = path(QStringLiteral("Old Track.bin"));
    QFile old(existing);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("old contents");
    old.close();

    mDialog->pick(existing);
    mMessages->answer(Answer::No);
    mDialog->pick(existing);
    mMessages->answer(Answer::Yes);

    QCOMPARE(run(mFresh), ExportResult::Written);

    // Both showings were given the full settings again, "newtrack.bin" included.
    QCOMPARE(mDialog->showings().size(), 2);
    verifyTrackDialog(mDialog->showings().at(0));
    verifyTrackDialog(mDialog->showings().at(1));
    const QString shown = existing.toUpper();
    QCOMPARE(mMessages->titles(),
        (QStringList {QStringLiteral("Overwrite ") + shown + QStringLiteral("?"),
            QStringLiteral("Overwrite ") + shown + QStringLiteral("?"),
            QStringLiteral("Successful Export")}));
    QCOMPARE(mMessages->messages().at(0).text,
        QStringLiteral("Would you like to overwrite ") + shown + QStringLiteral("?"));
    QCOMPARE(mMessages->messages().at(0).buttons, MessageBoxes::Buttons::YesNo);
    QCOMPARE(contents(existing), track::toBytes(track::encode(mFresh)).value());
}

void TestExportTrack::writeFailureIsReported_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("folder that is gone") << QStringLiteral("gone/track.bin");
    QTest::newRow("path is a folder") << QStringLiteral("folder.bin");
}

void TestExportTrack::writeFailureIsReported()
{
    QFETCH(QString, name);
    QVERIFY(QDir(mDir->path()).mkdir(QStringLiteral("folder.bin")));
    const QString target = path(name);
    mDialog->pick(target);

    QCOMPARE(run(mFresh), ExportResult::Failed);

    QCOMPARE(mMessages->titles(), QStringList {QStringLiteral("Export Failed")});
    const QString text = mMessages->messages().at(0).text;
    QVERIFY2(text.contains(target.toUpper()), qPrintable(text));
    // The reason from the file system follows the path.
    QVERIFY2(text.section(QLatin1Char('\n'), 2).contains(QLatin1Char(':')), qPrintable(text));
    QVERIFY(!QFileInfo(target).isFile());
    QCOMPARE(mState.lastExport, QString());
    QCOMPARE(mState.lastExportPath, QString());
    QCOMPARE(mState.trackPath, target);

    // A failed export is not the last export: the next press asks no "No changes?".
    const QString good = path(QStringLiteral("good.bin"));
    mDialog->pick(good);
    QCOMPARE(run(mFresh), ExportResult::Written);
    QCOMPARE(mMessages->titles().constLast(), QStringLiteral("Successful Export"));
}

void TestExportTrack::readOnlyFileIsReportedAndKept()
{
    const QString target = path(QStringLiteral("locked.bin"));
    QFile file(target);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("keep me");
    file.close();
    QVERIFY(file.setPermissions(QFileDevice::ReadOwner | QFileDevice::ReadUser));
    if (QFileInfo(target).isWritable())
        QSKIP("This account may write read-only files (administrator)");

    mDialog->pick(target);
    mMessages->answer(Answer::Yes);
    QCOMPARE(run(mFresh), ExportResult::Failed);

    QCOMPARE(mMessages->titles().constLast(), QStringLiteral("Export Failed"));
    QVERIFY(mMessages->messages().constLast().text.contains(target.toUpper()));
    QCOMPARE(contents(target), QByteArray("keep me"));
    QCOMPARE(mState.lastExport, QString());
}

void TestExportTrack::badCellIsRefused_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("where");

    QTest::newRow("one digit") << 130 << QStringLiteral("a") << QStringLiteral("row 2, column 3");
    QTest::newRow("not hexadecimal")
        << 0 << QStringLiteral("G1") << QStringLiteral("row 1, column 1");
    QTest::newRow("empty palette")
        << CellCount - 1 << QString() << QStringLiteral("row 128, column 128");
}

void TestExportTrack::badCellIsRefused()
{
    QFETCH(int, index);
    QFETCH(QString, text);
    QFETCH(QString, where);

    // Even after an earlier export, a bad map is refused before anything is asked.
    mDialog->pick(path(QStringLiteral("earlier.bin")));
    QCOMPARE(run(mFresh), ExportResult::Written);
    const QString before = mState.lastExport;

    QStringList cells = mFresh;
    cells[index] = text;
    QCOMPARE(run(cells), ExportResult::Refused);

    QCOMPARE(mDialog->showings().size(), 1);
    QCOMPARE(mMessages->titles().constLast(), QStringLiteral("Cannot Export"));
    const QString message = mMessages->messages().constLast().text;
    QVERIFY2(message.contains(where), qPrintable(message));
    if (!text.isEmpty())
        QVERIFY2(message.contains(QLatin1Char('"') + text + QLatin1Char('"')), qPrintable(message));
    QCOMPARE(mState.lastExport, before);
    QCOMPARE(
        QDir(mDir->path()).entryList(QDir::Files), QStringList {QStringLiteral("earlier.bin")});
}

void TestExportTrack::dialogOpensInFolderOfLastTrack()
{
    QVERIFY(QDir(mDir->path()).mkdir(QStringLiteral("tracks")));
    mDialog->pick(path(QStringLiteral("tracks/one.bin")));
    QCOMPARE(run(mFresh), ExportResult::Written);

    QStringList cells = mFresh;
    cells[1] = QStringLiteral("02");
    mDialog->cancel();
    QCOMPARE(run(cells), ExportResult::Cancelled);
    QCOMPARE(mDialog->showings().at(1).settings.directory, path(QStringLiteral("tracks")));
}

VELMOR_GUILESS_TEST_MAIN(TestExportTrack)
#include "test_export_track.moc"
