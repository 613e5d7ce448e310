#include "course/restore_points.h"
#include "platform/file_system.h"
#include "platform/whole_file_write.h"
#include "rom/rom_image.h"
#include "tests/support/synthetic_rom.h"
#include "tests/support/test_main.h"
#include "tools/restore_command.h"

#include <QDir>
#include <QTimeZone>

#include <memory>

using namespace velmor;
using State = RestorePoints::State;
using namespace Qt::StringLiterals;

namespace {

const QDateTime FirstSave(QDate(2025, 3, 14), QTime(15, 30), QTimeZone::utc());

QByteArray read(const QString &path)
{
    return QtFileSystem().readFile(path, qint64(rom::MaxFileSize), nullptr).value_or(QByteArray());
}

} // namespace

// Saves into a synthetic ROM, each keeping its point, then lists and restores them.
class TestRestorePoints : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void restoreGivesTheStateBeforeThatSave();
    void keepsTheNewest50();
    void refusesWhatDoesNotApply_data();
    void refusesWhatDoesNotApply();
    void refusesAFolderThatCannotBeMade();
    void aSaveThatFailedAfterItsPointIsStepped();
    void commandLineListsAndRestores();
    void commandLineRefuses_data();
    void commandLineRefuses();

private:
    // Saves into the ROM `count` times, each over another course's bytes; mStates[k] is the ROM
    // before save k + 1, the last one the ROM as it is now.
    void saveTimes(int count)
    {
        std::mt19937 rng(9);
        mStates = {test::toQByteArray(test::syntheticRom(1, true))};
        QVERIFY(writeWholeFile(mRom, mStates.front(), &mWhy));
        for (int k = 1; k <= count; ++k) {
            QByteArray next = mStates.back();
            next.replace(k * 0x8000, 1200, test::toQByteArray(test::randomBytes(rng, 1200)));
            const RestorePoints::Outcome kept = points().keep(mStates.back(), next,
                QStringLiteral("Course %1").arg(k), FirstSave.addSecs(60 * k));
            QVERIFY2(kept.ok, qPrintable(kept.error));
            QVERIFY(writeWholeFile(mRom, next, &mWhy));
            mStates.append(next);
        }
    }
    RestorePoints points() const { return RestorePoints(mRom); }
    QStringList files() const { return QDir(points().folder()).entryList(QDir::Files); }

    std::unique_ptr<QTemporaryDir> mDir;
    QString mRom;
    QString mWhy;
    QList<QByteArray> mStates;
};

void TestRestorePoints::init()
{
    mDir = std::make_unique<QTemporaryDir>();
    mRom = mDir->filePath(QStringLiteral("game.smc"));
}

void TestRestorePoints::restoreGivesTheStateBeforeThatSave()
{
    saveTimes(10);
    const RestorePoints::Listing listing = points().list();
    QVERIFY2(listing.ok, qPrintable(listing.error));
    QCOMPARE(listing.points.size(), 10);
    for (const RestorePoints::Point &each : listing.points) {
        QVERIFY2(each.state == State::Usable && each.size > 0, qPrintable(each.problem));
        QCOMPARE(each.course, QStringLiteral("Course %1").arg(11 - each.number));
        QCOMPARE(each.time, FirstSave.addSecs(60 * (11 - each.number)));
    }

    // The third save's point is the eighth newest.
    RestorePoints::Outcome restored = points().restore(8, FirstSave.addDays(1));
    QVERIFY2(restored.ok, qPrintable(restored.error));
    QVERIFY(read(mRom) == mStates[2]);
    // The restore kept a point of its own, and restoring that one undoes it.
    QCOMPARE(points().list().points.front().course, QStringLiteral("Restore"));
    QVERIFY(points().restore(1, FirstSave.addDays(2)).ok);
    QVERIFY(read(mRom) == mStates.back());
    // The first save's point, past both restores' points.
    QCOMPARE(points().list().points.size(), 12);
    restored = points().restore(12, FirstSave.addDays(3));
    QVERIFY2(restored.ok, qPrintable(restored.error));
    QVERIFY(read(mRom) == mStates.front());

    // Through a symbolic link in another folder the ROM has the same points, beside the file.
    QVERIFY(QDir(mDir->path()).mkdir(QStringLiteral("sub")));
    const QString link = mDir->filePath(QStringLiteral("sub/link.smc"));
    if (!QFile::link(mRom, link))
        QSKIP("this system makes no symbolic links");
    QCOMPARE(QFileInfo(RestorePoints(link).folder()).canonicalFilePath(),
             QFileInfo(points().folder()).canonicalFilePath());
    QCOMPARE(RestorePoints(link).list().points.size(), 13);
}

void TestRestorePoints::keepsTheNewest50()
{
    QVERIFY(QDir(mDir->path()).mkdir(QStringLiteral("game.smc.restore")));
    const QString own = QDir(points().folder()).filePath(QStringLiteral("notes.txt"));
    QVERIFY(writeWholeFile(own, "mine", &mWhy));
    // All at one time: each name still comes after the one before.
    QStringList names;
    for (int k = 0; k <= RestorePoints::Kept; ++k) {
        const RestorePoints::Outcome kept = points().keep(QByteArray(64, char(k)),
            QByteArray(64, char(k + 1)), QStringLiteral("a:b/c?"), FirstSave);
        QVERIFY2(kept.ok && kept.warning.isEmpty(), qPrintable(kept.error + kept.warning));
        names << QFileInfo(kept.path).fileName();
    }
    QCOMPARE(names.front(), QStringLiteral("2025-03-14T15-30-00-000Z_a_b_c_.bps"));
    QCOMPARE(names.back(), QStringLiteral("2025-03-14T15-30-00-050Z_a_b_c_.bps"));
    QCOMPARE(files(), names.mid(1) << QStringLiteral("notes.txt"));
}

void TestRestorePoints::refusesWhatDoesNotApply_data()
{
    QTest::addColumn<bool>("flipByte"); // else the ROM changes behind the points' back
    QTest::newRow("a byte flipped in point 2") << true;
    QTest::newRow("the ROM changed since") << false;
}

void TestRestorePoints::refusesWhatDoesNotApply()
{
    QFETCH(bool, flipByte);
    saveTimes(3);
    const QString second = points().list().points[1].path;
    QByteArray bytes = flipByte ? read(second) : mStates.back();
    bytes[bytes.size() / 2] = char(bytes[bytes.size() / 2] ^ 0x01);
    QVERIFY(writeWholeFile(flipByte ? second : mRom, bytes, &mWhy));
    const QByteArray rom = read(mRom);
    const QStringList before = files();

    const QList<RestorePoints::Point> listed = points().list().points;
    QCOMPARE(listed[0].state, flipByte ? State::Usable : State::NotApplicable);
    QCOMPARE(listed[1].state, flipByte ? State::Damaged : State::NotApplicable);
    QCOMPARE(listed[2].state, State::NotApplicable);
    QVERIFY(listed[2].problem.startsWith(u"does not apply to the ROM as it is now"));
    for (int number : {2, 3}) {
        const RestorePoints::Outcome refused = points().restore(number, FirstSave.addDays(1));
        QVERIFY(!refused.ok);
        const int named = flipByte ? 2 : 1;
        QVERIFY2(refused.error.contains(QStringLiteral("restore point %1 (").arg(named))
                && refused.error.contains(flipByte ? u"damaged" : u"has changed"),
            qPrintable(refused.error));
        QVERIFY(read(mRom) == rom);
        QCOMPARE(files(), before);
    }
}

void TestRestorePoints::refusesAFolderThatCannotBeMade()
{
    QVERIFY(writeWholeFile(points().folder(), "in the way", &mWhy));
    const RestorePoints::Outcome inTheWay = points().keep("a", "b", QStringLiteral("X"), FirstSave);
    QVERIFY(!inTheWay.ok && inTheWay.error.contains(u"a file of that name is in the way"));
    const RestorePoints nowhere(mDir->filePath(QStringLiteral("missing/game.smc")));
    const RestorePoints::Outcome missing = nowhere.keep("a", "b", QStringLiteral("X"), FirstSave);
    QVERIFY(!missing.ok && missing.error.contains(u"the ROM's folder does not exist"));
    QVERIFY(!QFileInfo::exists(nowhere.folder()));
}

void TestRestorePoints::aSaveThatFailedAfterItsPointIsStepped()
{
    saveTimes(1);
    // A second save kept its point but never reached the ROM.
    QVERIFY(
        points().keep(mStates[1], "never written", QStringLiteral("X"), FirstSave.addDays(1)).ok);
    // The ROM is already as that save found it: nothing to undo, and the older point applies.
    for (const RestorePoints::Point &point : points().list().points)
        QVERIFY2(point.state == State::Usable, qPrintable(point.problem));
    QVERIFY(points().restore(2, FirstSave.addDays(2)).ok);
    QVERIFY(read(mRom) == mStates[0]);
}

void TestRestorePoints::commandLineListsAndRestores()
{
    saveTimes(10);
    tools::CommandOutcome run = tools::restoreCommand({mRom, u"--list"_s}, FirstSave.addDays(1));
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out.size(), 10);
    QVERIFY2(run.out.at(7).startsWith(u" 8  2025-03-14 15:33:00 UTC  Course 3  "_s),
        qPrintable(run.out.at(7)));
    // The third save's point, the eighth newest.
    run = tools::restoreCommand({mRom, u"--to"_s, u"8"_s}, FirstSave.addDays(1));
    QVERIFY2(run.exitCode == 0, qPrintable(run.err.join(u'\n')));
    QVERIFY(read(mRom) == mStates[2]);
    QVERIFY(run.out.front().contains(u"(2025-03-14 15:33:00 UTC, Course 3)"_s));

    // A damaged point is listed as damaged, and never applied.
    const QString newest = points().list().points.front().path;
    QByteArray bytes = read(newest);
    bytes[10] = char(bytes.at(10) ^ 1);
    QVERIFY(writeWholeFile(newest, bytes, &mWhy));
    run = tools::restoreCommand({mRom, u"--list"_s}, FirstSave.addDays(2));
    QVERIFY2(run.out.front().contains(u"Restore  "_s) && run.out.front().contains(u"damaged"_s),
        qPrintable(run.out.front()));
    run = tools::restoreCommand({mRom, u"--to"_s, u"1"_s}, FirstSave.addDays(2));
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.front().contains(u"never applied"_s), qPrintable(run.err.front()));
    QVERIFY(read(mRom) == mStates[2]);
}

void TestRestorePoints::commandLineRefuses_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("said");
    QTest::newRow("no ROM") << QStringList() << 2 << u"needs a ROM"_s;
    QTest::newRow("nothing after it") << QStringList {u"ROM"_s} << 2 << u"--list or --to N"_s;
    const QString rom = u"ROM"_s, to = u"--to"_s;
    QTest::newRow("not a number") << QStringList {rom, to, u"x"_s} << 2 << u"not \"x\""_s;
    QTest::newRow("zero") << QStringList {rom, to, u"0"_s} << 2 << u"1 for the newest"_s;
    QTest::newRow("too much")
        << QStringList {rom, u"--list"_s, u"-v"_s} << 2 << u"not \"--list -v\""_s;
    QTest::newRow("no such point") << QStringList {rom, to, u"3"_s} << 1 << u"it has 1"_s;
    QTest::newRow("no such ROM")
        << QStringList {u"gone.smc"_s, u"--list"_s} << 1 << u"cannot list"_s;
}

void TestRestorePoints::commandLineRefuses()
{
    QFETCH(QStringList, options);
    QFETCH(int, exitCode);
    QFETCH(QString, said);
    // One save of a small file: the refusals do not depend on what a ROM holds.
    const QByteArray before(64, 'b');
    QVERIFY(points().keep(QByteArray(64, 'a'), before, u"Course 1"_s, FirstSave).ok);
    QVERIFY(writeWholeFile(mRom, before, &mWhy));
    if (!options.isEmpty() && options.front() == u"ROM"_s)
        options.front() = mRom;
    else if (!options.isEmpty())
        options.front() = mDir->filePath(options.front());
    const tools::CommandOutcome run = tools::restoreCommand(options, FirstSave.addDays(1));
    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(run.err.size(), 1);
    QVERIFY2(run.err.front().contains(said), qPrintable(run.err.front()));
    QVERIFY(run.out.isEmpty());
    QVERIFY(read(mRom) == before);
}

VELMOR_GUILESS_TEST_MAIN(TestRestorePoints)
#include "test_restore_points.moc"
