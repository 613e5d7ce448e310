#include "document/course_ref.h"
#include "course/import_track.h"
#include "course/track_file.h"
#include "course/track_state.h"
#include "document/course_map.h"
#include "tests/course/import_fixture.h"
#include "tests/course/track_fixtures.h"
#include "tests/support/test_main.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace velmor;
using namespace velmor::test;

namespace {

// Past the few tiles the short files hold.
constexpr int FarCell = 300;

} // namespace

class TestImportTrack : public QObject, private ImportFixture
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
    // Track files open whatever course the list shows.
    const QString mCourse = initialCourseText();
};

void TestImportTrack::init()
{
    setUpImport();
}

void TestImportTrack::cleanup()
{
    verifyScriptsUsed();
}

void TestImportTrack::fullTrackReplacesMap()
{
    QStringList cells = mapWith(QStringLiteral("0a"));
    for (int i = 0; i < CellCount; i += 7)
        cells[i] = QString::number(i % 256, 16).rightJustified(2, QLatin1Char('0'));
    const QString path =
        writeFile(QStringLiteral("full.bin"), track::toBytes(track::encode(cells)).value());
    paintSomething(FarCell);
    mDialog->pick(path);
    QSignalSpy changes(mMap.get(), &CourseMap::cellsChanged);

    QCOMPARE(importTrack(*mMap, mState, *mServices, mCourse), ImportResult::Opened);

    verifyImportDialog();
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
        writeFile(QStringLiteral("short.bin"), bytes({0x3F, 0x05, 0x01, 0x1b, 0x2c, 0xFF}));
    paintSomething(FarCell);
    mDialog->pick(path);

    QCOMPARE(importTrack(*mMap, mState, *mServices, mCourse), ImportResult::Partial);

    QCOMPARE(mMap->text(31), QStringLiteral("05"));
    QCOMPARE(mMap->text(32), QStringLiteral("1B"));
    QCOMPARE(mMap->text(33), QStringLiteral("2C"));
    QCOMPARE(mMap->text(34), QStringLiteral("00"));
    QCOMPARE(mMap->text(FarCell), QStringLiteral("00"));
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

    QString path = writeFile(QStringLiteral("bad.bin"), file);
    if (offset.isEmpty()) {
        QVERIFY(QFile::remove(path));
    }
    QString text;
    verifyImportRefused(path, mCourse, FarCell, text);
    if (QTest::currentTestFailed())
        return;
    if (!offset.isEmpty())
        QVERIFY2(text.contains(QStringLiteral("offset ") + offset), qPrintable(text));
}

void TestImportTrack::cancelIsSilent()
{
    paintSomething(FarCell);
    const QStringList before = mMap->texts();
    mDialog->cancel();
    QCOMPARE(importTrack(*mMap, mState, *mServices, mCourse), ImportResult::Cancelled);
    QVERIFY(mMessages->messages().isEmpty());
    QCOMPARE(mMap->texts(), before);
    QCOMPARE(mState.trackPath, QString());
}

VELMOR_GUILESS_TEST_MAIN(TestImportTrack)
#include "test_import_track.moc"
