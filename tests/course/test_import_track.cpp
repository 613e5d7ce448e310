#include "course/course_table.h"
#include "course/import_track.h"
#include "course/track_file.h"
#include "course/track_state.h"
#include "editor/course_map.h"
#include "platform/file_system.h"
#include "platform/services.h"
#include "tests/course/track_fixtures.h"
#include "tests/support/scripted_ui.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace velmor;
using namespace velmor::test;

class TestImportTrack : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void fullTrackReplacesMap();
    void fewerTilesAreFilledAndTold();
    void badFileLeavesMapAlone_data();
    void badFileLeavesMapAlone();
    void cancelIsSilent();

private:
    QString writeTrack(const QString &name, const QByteArray &bytes);
    void paintSomething();

    std::unique_ptr<QTemporaryDir> mDir;
    std::unique_ptr<ScriptedFileDialog> mDialog;
    std::unique_ptr<ScriptedMessageBoxes> mMessages;
    QtFileSystem mFiles;
    std::unique_ptr<Services> mServices;
    std::unique_ptr<CourseMap> mMap;
    TrackState mState;
    // Track files open whatever course the list shows.
    const QString mCourse = CourseTable::initialText();
};

void TestImportTrack::init()
{
    mDir = std::make_unique<QTemporaryDir>();
    QVERIFY(mDir->isValid());
    mDialog = std::make_unique<ScriptedFileDialog>();
    mMessages = std::make_unique<ScriptedMessageBoxes>();
    mServices.reset(new Services {*mDialog, *mMessages, mFiles});
    mMap = std::make_unique<CourseMap>();
    mState = TrackState();
}

void TestImportTrack::cleanup()
{
    QCOMPARE(mDialog->unanswered(), 0);
    QCOMPARE(mDialog->unexpected(), 0);
    QCOMPARE(mMessages->unexpected(), 0);
}

QString TestImportTrack::writeTrack(const QString &name, const QByteArray &bytes)
{
    const QString path = mDir->filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write the fixture");
    return path;
}

void TestImportTrack::paintSomething()
{
    mMap->setCell(0, QStringLiteral("3c"), Mark::Painted);
    mMap->setCell(300, QStringLiteral("AB"), Mark::Erased);
}

void TestImportTrack::fullTrackReplacesMap()
{
    QStringList cells = mapWith(QStringLiteral("0a"));
    for (int i = 0; i < CellCount; i += 7)
        cells[i] = QString::number(i % 256, 16).rightJustified(2, QLatin1Char('0'));
    const QString path =
        writeTrack(QStringLiteral("full.bin"), track::toBytes(track::encode(cells)).value());
    paintSomething();
    mDialog->pick(path);
    QSignalSpy changes(mMap.get(), &CourseMap::cellsChanged);

    QCOMPARE(importTrack(*mMap, mState, *mServices, mCourse), ImportResult::Opened);

    const auto &showing = mDialog->showings().at(0);
    QCOMPARE(showing.mode, FileDialog::Mode::Open);
    QCOMPARE(showing.settings.title, QStringLiteral("Import Course From File"));
    QCOMPARE(showing.settings.filter,
        QStringLiteral("BIN Files (*.bin)|*.bin|SNES Files (*.smc *.sfc)|*.smc;*.sfc"));
    QVERIFY(mMessages->messages().isEmpty());
    QCOMPARE(changes.size(), 1);
    for (int i = 0; i < CellCount; ++i) {
        if (mMap->text(i) != cells.at(i).toUpper() || mMap->mark(i) != Mark::Untouched)
            QFAIL(qPrintable(QStringLiteral("cell %1").arg(i)));
    }
    QCOMPARE(mState.trackPath, path);
}

void TestImportTrack::fewerTilesAreFilledAndTold()
{
    const QString path =
        writeTrack(QStringLiteral("short.bin"), bytes({0x3F, 0x05, 0x01, 0x1b, 0x2c, 0xFF}));
    paintSomething();
    mDialog->pick(path);

    QCOMPARE(importTrack(*mMap, mState, *mServices, mCourse), ImportResult::Partial);

    QCOMPARE(mMap->text(31), QStringLiteral("05"));
    QCOMPARE(mMap->text(32), QStringLiteral("1B"));
    QCOMPARE(mMap->text(33), QStringLiteral("2C"));
    QCOMPARE(mMap->text(34), QStringLiteral("00"));
    QCOMPARE(mMap->text(300), QStringLiteral("00"));
    QCOMPARE(mMap->mark(0), Mark::Untouched);
    QCOMPARE(mMessages->messages().size(), 1);
    const QString text = mMessages->messages().at(0).text;
    QVERIFY2(text.contains(QStringLiteral(" 34 ")), qPrintable(text));
    QVERIFY2(text.contains(path.toUpper()), qPrintable(text));
}

void TestImportTrack::badFileLeavesMapAlone_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("offset"); // as the message names it; empty: not a stream fault

    QTest::newRow("more tiles") << repeated(bytes({0x3F, 0x01}), 513) + bytes({0xFF})
                                << QStringLiteral("0x400");
    QTest::newRow("truncated") << bytes({0x3F, 0x01, 0x0F, 0x01}) << QStringLiteral("0x2");
    QTest::newRow("missing end marker") << bytes({0x3F, 0x01, 0x3F, 0x02}) << QStringLiteral("0x4");
    QTest::newRow("invalid reference")
        << bytes({0x20, 0x01, 0x80, 0x09, 0x00, 0xFF}) << QStringLiteral("0x2");
    QTest::newRow("after end marker") << bytes({0x20, 0x01, 0xFF, 0xFF}) << QStringLiteral("0x3");
    QTest::newRow("file gone") << QByteArray() << QString();
}

void TestImportTrack::badFileLeavesMapAlone()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, offset);

    QString path = writeTrack(QStringLiteral("bad.bin"), file);
    if (offset.isEmpty()) {
        QVERIFY(QFile::remove(path));
    }
    paintSomething();
    const QStringList textsBefore = mMap->texts();
    const QList<Mark> marksBefore = mMap->marks();
    mDialog->pick(path);
    QSignalSpy changes(mMap.get(), &CourseMap::cellsChanged);

    QCOMPARE(importTrack(*mMap, mState, *mServices, mCourse), ImportResult::Failed);

    QCOMPARE(changes.size(), 0);
    QCOMPARE(mMap->texts(), textsBefore);
    QCOMPARE(mMap->marks(), marksBefore);
    QCOMPARE(mMessages->titles(), QStringList {QStringLiteral("Import Course From File")});
    const QString text = mMessages->messages().at(0).text;
    QVERIFY2(text.contains(path.toUpper()), qPrintable(text));
    if (!offset.isEmpty())
        QVERIFY2(text.contains(QStringLiteral("offset ") + offset), qPrintable(text));
}

void TestImportTrack::cancelIsSilent()
{
    paintSomething();
    const QStringList before = mMap->texts();
    mDialog->cancel();
    QCOMPARE(importTrack(*mMap, mState, *mServices, mCourse), ImportResult::Cancelled);
    QVERIFY(mMessages->messages().isEmpty());
    QCOMPARE(mMap->texts(), before);
    QCOMPARE(mState.trackPath, QString());
}

QTEST_GUILESS_MAIN(TestImportTrack)
#include "test_import_track.moc"
