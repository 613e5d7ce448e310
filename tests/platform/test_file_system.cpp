#include "platform/file_system.h"
#include "platform/file_access.h"
#include "platform/file_lock.h"
#include "platform/file_read.h"
#include "platform/whole_file_write.h"
#include "tests/support/test_main.h"
#include "tests/support/tool_process.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>

using namespace velmor;

namespace {

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool put(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

// The file layer on a real file system: reads within a limit, the one whole-file write and the
// entries it refuses, and locks that follow links.
class TestFileSystem : public QObject
{
    Q_OBJECT

private slots:
    void readsWithinTheLimit_data();
    void readsWithinTheLimit();
    void writesTheRealFileOrRefuses_data();
    void writesTheRealFileOrRefuses();
    void oneLockWhateverTheName();
    void oneLine_data();
    void oneLine();
};

void TestFileSystem::readsWithinTheLimit_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<qint64>("limit");
    QTest::addColumn<QString>("reason");
    QTest::newRow("exactly the limit") << QStringLiteral("file") << qint64(10) << QString();
    QTest::newRow("one byte over") << QStringLiteral("file") << qint64(9)
                                   << QStringLiteral("it holds 10 bytes, more than the 9 such a "
                                                     "file may hold");
    QTest::newRow("missing") << QStringLiteral("missing") << qint64(10)
                             << QStringLiteral("no such file");
}

void TestFileSystem::readsWithinTheLimit()
{
    QFETCH(QString, entry);
    QFETCH(qint64, limit);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("entry"));
    if (entry == QStringLiteral("file"))
        QVERIFY(put(path, "0123456789"));
    QString why;
    const std::optional<QByteArray> bytes = readAtMost(path, limit, &why);
    QCOMPARE(why, reason);
    QCOMPARE(bytes.has_value(), reason.isEmpty());
    if (bytes)
        QCOMPARE(*bytes, QByteArray("0123456789"));
    // A copy takes the same limit, refusing before a byte or a lock file is written.
    const QString copy = dir.filePath(QStringLiteral("copy"));
    QtFileSystem files;
    QCOMPARE(files.copyFile(path, copy, limit, &why), reason.isEmpty());
    QVERIFY2(reason.isEmpty() || why.endsWith(reason), qPrintable(why));
    QCOMPARE(contents(copy), reason.isEmpty() ? QByteArray("0123456789") : QByteArray("<unreadable>"));
    QVERIFY(!QFileInfo::exists(copy + QStringLiteral(".lock")));
}

void TestFileSystem::writesTheRealFileOrRefuses_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("regular file") << QStringLiteral("file") << QString();
    QTest::newRow("symbolic link from another folder") << QStringLiteral("link") << QString();
    QTest::newRow("link to a file not made yet") << QStringLiteral("dangling") << QString();
    QTest::newRow("folder") << QStringLiteral("folder") << QStringLiteral("it is a folder");
    QTest::newRow("FIFO") << QStringLiteral("fifo")
                          << QStringLiteral("it is a FIFO (a named pipe), not a regular file");
    QTest::newRow("second hard link")
        << QStringLiteral("hard link") << QStringLiteral("it has 2 names (hard links)");
}

void TestFileSystem::writesTheRealFileOrRefuses()
{
    QFETCH(QString, entry);
    QFETCH(QString, refusal);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("sub")));
    const QString real = dir.filePath(QStringLiteral("real.smc"));
    QString named = real;
    if (entry != QStringLiteral("dangling") && entry != QStringLiteral("folder")
        && entry != QStringLiteral("fifo"))
        QVERIFY(put(real, "old"));
    if (entry == QStringLiteral("link") || entry == QStringLiteral("dangling")) {
        named = dir.filePath(QStringLiteral("sub/link.smc"));
        if (!QFile::link(QStringLiteral("../real.smc"), named))
            QSKIP("this file system makes no symbolic links");
    } else if (entry == QStringLiteral("folder")) {
        QVERIFY(QDir().mkpath(real));
    } else if (entry == QStringLiteral("fifo") && !test::makeFifo(real)) {
        QSKIP("this system makes no FIFOs");
    } else if (entry == QStringLiteral("hard link")) {
        named = dir.filePath(QStringLiteral("sub/second.smc"));
        std::error_code failed;
        std::filesystem::create_hard_link(
            QFileInfo(real).filesystemFilePath(), QFileInfo(named).filesystemFilePath(), failed);
        if (failed)
            QSKIP("this file system makes no hard links");
    }
    QString reason;
    const bool written = writeWholeFile(named, "new", &reason);
    QVERIFY2(reason.startsWith(refusal), qPrintable(reason));
    QCOMPARE(written, refusal.isEmpty());
    if (written) {
        QCOMPARE(contents(real), QByteArray("new"));
        QCOMPARE(QFileInfo(named).isSymbolicLink(), named != real);
    } else if (entry == QStringLiteral("fifo")) {
        QVERIFY2(test::isFifo(real), "the FIFO was replaced");
    } else if (entry == QStringLiteral("hard link")) {
        QCOMPARE(contents(real), QByteArray("old"));
        QCOMPARE(contents(named), QByteArray("old"));
    }
    // Nothing of a refused or finished write is left beside the file.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
        QFileInfo::exists(real) && !QFileInfo(real).isDir()
            ? QStringList {QStringLiteral("real.smc")}
            : QStringList());
}

void TestFileSystem::oneLockWhateverTheName()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("sub")));
    const QString real = dir.filePath(QStringLiteral("rom.smc"));
    const QString link = dir.filePath(QStringLiteral("sub/link.smc"));
    QVERIFY(put(real, "rom"));
    if (!QFile::link(real, link))
        QSKIP("this file system makes no symbolic links");
    FileLock first(real);
    QString error;
    QVERIFY2(first.lock(&error, 0), qPrintable(error));
    FileLock second(link);
    QVERIFY(!second.lock(&error, 0));
    QVERIFY2(error.startsWith(QStringLiteral("%1 is being written by another program (")
                                  .arg(QDir::toNativeSeparators(link))),
        qPrintable(error));
    QVERIFY2(error.contains(QStringLiteral("process %1)").arg(QCoreApplication::applicationPid())),
        qPrintable(error));
    QCOMPARE(FileLock::lockPathOf(link), real + QStringLiteral(".lock"));
}

void TestFileSystem::oneLine_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("line");
    QTest::newRow("plain") << QStringLiteral("68f2c é") << QStringLiteral("68f2c é");
    QTest::newRow("line breaks") << QStringLiteral("68f\n2c\r") << QStringLiteral("68f\\n2c\\r");
    QTest::newRow("tab and escape")
        << QStringLiteral("a\tb\x1b[2J") << QStringLiteral("a\\tb\\x1b[2J");
    QTest::newRow("line separator") << QStringLiteral("a\u2028b") << QStringLiteral("a\\x2028b");
}

void TestFileSystem::oneLine()
{
    QFETCH(QString, text);
    QFETCH(QString, line);
    QCOMPARE(files::oneLine(text), line);
}

VELMOR_GUILESS_TEST_MAIN(TestFileSystem)
#include "test_file_system.moc"
