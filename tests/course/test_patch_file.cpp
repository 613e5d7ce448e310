#include "course/patch_file.h"
#include "patch/bps.h"
#include "patch/ips.h"
#include "tests/support/synthetic_rom.h"
#include "tests/support/test_main.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <map>
#include <memory>

using namespace velmor;

namespace {

QByteArray header(int seed)
{
    QByteArray bytes(0x200, 0);
    for (int i = 0; i < bytes.size(); ++i)
        bytes[i] = char((i * 7 + seed * 31) & 0xFF);
    return bytes;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every entry of the folder with its bytes: what a refusal must leave exactly as it was.
std::map<QString, QByteArray> snapshot(const QString &folder)
{
    std::map<QString, QByteArray> entries;
    const QDir dir(folder);
    for (const QFileInfo &info :
        dir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System))
        entries[info.fileName()] =
            info.isDir() ? QByteArrayLiteral("<folder>") : readFile(info.filePath());
    return entries;
}

} // namespace

// Patches between ROM files: both formats, every combination of copier headers, and every
// refusal leaving every file byte for byte as it was.
class TestPatchFile : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void roundTrips_data();
    void roundTrips();
    void refusals_data();
    void refusals();

private:
    QString path(const QString &name) const { return mDir->filePath(name); }

    std::unique_ptr<QTemporaryDir> mDir;
    QByteArray mGame; // the original game, no header
    QByteArray mModified; // the same with one course replaced
    std::map<QString, QByteArray> mFixtures;
};

void TestPatchFile::initTestCase()
{
    const test::GameRom rom = test::gameRom({1, false, test::BankForm::Whole});
    mGame = test::toQByteArray(rom.bytes);
    const codec::Bytes stream = codec::compress(test::trackStream(test::courseLikeCells(7)));
    mModified = mGame;
    mModified.replace(qsizetype(rom::courses()[3].layoutOffset), qsizetype(stream.size()),
        test::toQByteArray(stream));
    QVERIFY(mModified != mGame);

    // The files the refusals work on, made once: patches are slow to make under the sanitizers.
    const QByteArray headered = header(5) + mGame;
    const auto game = test::bytesOf(mGame);
    const auto modified = test::bytesOf(mModified);
    const QByteArray bps = test::toQByteArray(patch::bps::create(game, modified).bytes);
    const QByteArray ips = test::toQByteArray(patch::ips::create(game, modified).bytes);
    QByteArray damaged = bps;
    damaged[damaged.size() / 2] = char(damaged[damaged.size() / 2] ^ 0x10);
    mFixtures = {
        {QStringLiteral("original.smc"), headered},
        {QStringLiteral("rom named.bps"), headered},
        {QStringLiteral("bare original.sfc"), mGame},
        {QStringLiteral("modified.smc"), mModified},
        {QStringLiteral("other.smc"), test::toQByteArray(test::syntheticRom(2, true))},
        {QStringLiteral("half.smc"), mGame.left(0x40000)},
        {QStringLiteral("double.smc"), mModified + mGame},
        {QStringLiteral("odd.smc"), QByteArray(1000, 'x')},
        {QStringLiteral("course.bps"), bps},
        {QStringLiteral("course.ips"), ips},
        {QStringLiteral("headered.bps"),
            test::toQByteArray(
                patch::bps::create(test::bytesOf(headered), test::bytesOf(header(5) + mModified))
                    .bytes)},
        {QStringLiteral("cut.bps"), bps.left(bps.size() - 20)},
        {QStringLiteral("damaged.bps"), damaged},
        {QStringLiteral("past.ips"),
            QByteArrayLiteral("PATCH\x07\xff\xff\x00\x02\x01\x02"
                              "EOF")},
        {QStringLiteral("locked.bps"), QByteArrayLiteral("keep me")},
    };
}

void TestPatchFile::init()
{
    mDir = std::make_unique<QTemporaryDir>();
    QVERIFY(mDir->isValid());
}

void TestPatchFile::roundTrips_data()
{
    QTest::addColumn<QString>("patchName");
    QTest::addColumn<bool>("originalHeader");
    QTest::addColumn<bool>("modifiedHeader");
    QTest::addColumn<bool>("romHeader");
    for (const char *name : {"course.bps", "course.IPS"}) {
        for (int forms = 0; forms < 8; ++forms) {
            const bool o = forms & 4, m = forms & 2, r = forms & 1;
            QTest::addRow("%s, original %s, modified %s, applied to %s", name,
                o ? "headered" : "bare", m ? "headered" : "bare", r ? "headered" : "bare")
                << QString::fromLatin1(name) << o << m << r;
        }
    }
}

void TestPatchFile::roundTrips()
{
    QFETCH(QString, patchName);
    QFETCH(bool, originalHeader);
    QFETCH(bool, modifiedHeader);
    QFETCH(bool, romHeader);
    const QString original = path(QStringLiteral("original.smc"));
    const QString modified = path(QStringLiteral("modified.sfc"));
    const QString rom = path(QStringLiteral("my rom.smc"));
    const QString patchFile = path(patchName);
    const QString out = path(QStringLiteral("patched.smc"));
    QVERIFY(writeFile(original, (originalHeader ? header(1) : QByteArray()) + mGame));
    QVERIFY(writeFile(modified, (modifiedHeader ? header(2) : QByteArray()) + mModified));
    QVERIFY(writeFile(rom, (romHeader ? header(3) : QByteArray()) + mGame));

    const FileOutcome created = createPatchFile(original, modified, patchFile);
    QVERIFY2(created.ok, qPrintable(created.message));
    QVERIFY2(created.message.startsWith(
                 QStringLiteral("wrote the %1 patch ").arg(patchName.right(3).toUpper())),
        qPrintable(created.message));
    // What any other patcher sees: a patch of the game without a header.
    const codec::Bytes patchBytes = test::bytesOf(readFile(patchFile));
    const auto game = test::bytesOf(mGame);
    const patch::PatchResult direct = patchName.endsWith(QStringLiteral(".bps"))
        ? patch::bps::apply(game, patchBytes)
        : patch::ips::apply(game, patchBytes);
    QVERIFY2(direct.ok, direct.error.c_str());
    QVERIFY(test::toQByteArray(direct.bytes) == mModified);

    const FileOutcome applied = applyPatchFile(rom, patchFile, out);
    QVERIFY2(applied.ok, qPrintable(applied.message));
    QVERIFY(readFile(out) == (romHeader ? header(3) : QByteArray()) + mModified);
    QVERIFY(applied.message.contains(romHeader ? QStringLiteral("with the copier header")
                                               : QStringLiteral("without a copier header")));
    QVERIFY(readFile(rom) == (romHeader ? header(3) : QByteArray()) + mGame);
}

void TestPatchFile::refusals_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("message");
    const auto row = [](const char *name, const char *operation, QStringList files,
                         const char *message) {
        QTest::newRow(name) << QString::fromLatin1(operation) << files
                            << QString::fromLatin1(message);
    };
    const auto f = [](const char *a, const char *b, const char *c) {
        return QStringList {QString::fromLatin1(a), QString::fromLatin1(b), QString::fromLatin1(c)};
    };
    row("other extension", "create", f("original.smc", "modified.smc", "new.txt"),
        "must end in .bps or .ips");
    row("original of no ROM size", "create", f("odd.smc", "modified.smc", "new.bps"),
        "cannot use the original ROM %1/odd.smc: a file of 1000 bytes is no SNES ROM");
    row("original a folder", "create", f("folder.bps", "modified.smc", "new.bps"),
        "it is a folder, not a file");
    row("same game", "create", f("original.smc", "bare original.sfc", "new.ips"),
        "hold the same game: a patch would change nothing");
    row("IPS of a larger game", "create", f("original.smc", "double.smc", "new.ips"),
        "the modified ROM's game has 1048576 bytes, more than the original's 524288, and an IPS "
        "patch is applied only within the original's size; make a .bps patch instead");
    row("output is the original", "create", f("rom named.bps", "modified.smc", "rom named.bps"),
        "the output file %1/rom named.bps is the original ROM itself");
    row("output hard-links the modified", "create", f("original.smc", "modified.smc", "hard.ips"),
        "the output file %1/hard.ips is the modified ROM itself");
    row("output a folder", "create", f("original.smc", "modified.smc", "folder.bps"),
        "cannot write the output file %1/folder.bps: it is a folder");
    row("output read-only", "create", f("original.smc", "modified.smc", "locked.bps"),
        "cannot write the output file %1/locked.bps: it is read-only");
    row("another ROM", "apply", f("other.smc", "course.bps", "out.smc"),
        "this patch was made for another ROM: its source CRC32 is 0x");
    row("a smaller ROM", "apply", f("half.smc", "course.bps", "out.smc"),
        "made for a ROM of 524288 bytes without the copier header; this ROM's game has 262144");
    row("made with the header", "apply", f("original.smc", "headered.bps", "out.smc"),
        "made for a ROM of 524800 bytes without the copier header; this ROM's game has 524288 "
        "bytes: the patch was made against a ROM with its copier header counted");
    row("truncated BPS", "apply", f("original.smc", "cut.bps", "out.smc"), "(truncated)");
    row("damaged BPS", "apply", f("original.smc", "damaged.bps", "out.smc"),
        "the patch is damaged");
    row("IPS past the end", "apply", f("original.smc", "past.ips", "out.smc"),
        "runs past the end of the 524288 bytes it may change (the patch was made for a larger "
        "ROM, or for one with the copier header counted)");
    row("not a patch", "apply", f("original.smc", "modified.smc", "out.smc"),
        "it is neither a BPS nor an IPS patch");
    row("patch missing", "apply", f("original.smc", "missing.bps", "out.smc"),
        "cannot read the patch file %1/missing.bps: no such file");
    row("output is the ROM", "apply", f("original.smc", "course.bps", "original.smc"),
        "is the ROM file itself");
    row("output is the patch", "apply", f("original.smc", "course.bps", "course.bps"),
        "is the patch file itself");
    row("output links the ROM", "apply", f("original.smc", "course.bps", "link.smc"),
        "the output file %1/link.smc is the ROM file itself");
    row("output hard-links the ROM", "apply", f("original.smc", "course.ips", "hard.ips"),
        "the output file %1/hard.ips is the ROM file itself");
}

void TestPatchFile::refusals()
{
    QFETCH(QString, operation);
    QFETCH(QStringList, files);
    QFETCH(QString, message);
    for (const auto &[name, bytes] : mFixtures)
        QVERIFY(writeFile(path(name), bytes));
    QVERIFY(QDir(mDir->path()).mkdir(QStringLiteral("folder.bps")));
    QVERIFY(QFile::setPermissions(
        path(QStringLiteral("locked.bps")), QFile::ReadOwner | QFile::ReadGroup));
    // hard.ips: a second name of the modified ROM when creating, of the ROM when applying.
    const QString linked = operation == QStringLiteral("create") ? QStringLiteral("modified.smc")
                                                                 : QStringLiteral("original.smc");
    std::error_code failed;
    std::filesystem::create_hard_link(
        path(linked).toStdWString(), path(QStringLiteral("hard.ips")).toStdWString(), failed);
    QVERIFY2(!failed, failed.message().c_str());
#ifndef Q_OS_WIN
    QVERIFY(QFile::link(path(QStringLiteral("original.smc")), path(QStringLiteral("link.smc"))));
#else
    if (QString::fromLatin1(QTest::currentDataTag()).contains(QStringLiteral("links the ROM")))
        QSKIP("symbolic links need privileges on Windows");
#endif
    const auto before = snapshot(mDir->path());

    const QString a = path(files[0]), b = path(files[1]), c = path(files[2]);
    const FileOutcome outcome =
        operation == QStringLiteral("create") ? createPatchFile(a, b, c) : applyPatchFile(a, b, c);
    QVERIFY(!outcome.ok);
    const QString expected = message.contains(QStringLiteral("%1"))
        ? message.arg(QDir::toNativeSeparators(mDir->path()))
        : message;
    QVERIFY2(outcome.message.contains(expected), qPrintable(outcome.message));
    QVERIFY2(!outcome.message.contains(QLatin1Char('\n')), qPrintable(outcome.message));
    QVERIFY(snapshot(mDir->path()) == before);
}

VELMOR_GUILESS_TEST_MAIN(TestPatchFile)
#include "test_patch_file.moc"
