#include "course/patch_procedures.h"
#include "platform/file_system.h"
#include "platform/services.h"
#include "rom/course_catalogue.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/synthetic_rom.h"
#include "tests/support/test_main.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace velmor;
using namespace Qt::StringLiterals;
using Outcome = PatchProcedures::Outcome;

namespace {

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The user's original ROM, and a working ROM whose Mario Circuit 1 holds another course.
struct PatchRig
{
    QTemporaryDir dir;
    test::ScriptedFileDialog dialog;
    test::ScriptedMessageBoxes messages;
    QtFileSystem files;
    Services services {dialog, messages, files};
    Configuration config;
    QString original = dir.filePath(u"kart.smc"_s);
    QString working = dir.filePath(u"kart_velmor.smc"_s);

    PatchRig()
    {
        const test::GameRom built = test::gameRom({31, true, test::BankForm::Whole});
        codec::Bytes changed = built.bytes;
        const codec::Bytes course = codec::compress(test::trackStream(test::courseLikeCells(8)));
        std::copy(course.begin(), course.end(),
            changed.begin() + std::ptrdiff_t(built.fileOffset(rom::courseById(7)->layoutOffset)));
        writeBytes(original, test::toQByteArray(built.bytes));
        writeBytes(working, test::toQByteArray(changed));
        config = {dir.filePath(u"recomp.exe"_s), dir.path() + u'/', original, u"kart"_s};
    }
    QString path(const QString &name) const { return dir.filePath(name); }
};

} // namespace

// The patch entries of the menu as a user runs them: a patch made from the working ROM gives it
// back when applied to the original; cancels and refusals write nothing.
class TestPatchProcedures : public QObject
{
    Q_OBJECT

private slots:
    void createThenApplyGivesTheCourseBack_data();
    void createThenApplyGivesTheCourseBack();
    void cancelWritesNothing();
    void patchForAnotherRomIsRefused();
};

void TestPatchProcedures::createThenApplyGivesTheCourseBack_data()
{
    QTest::addColumn<QString>("patchName");
    QTest::newRow("BPS") << u"mycourse.bps"_s;
    QTest::newRow("IPS") << u"mycourse.ips"_s;
}

void TestPatchProcedures::createThenApplyGivesTheCourseBack()
{
    QFETCH(QString, patchName);
    PatchRig rig;
    const QByteArray originalBefore = readBytes(rig.original);
    rig.dialog.pick(rig.working);
    rig.dialog.pick(rig.path(patchName));
    QCOMPARE(PatchProcedures(rig.services).createPatch(rig.config, rig.working), Outcome::Done);
    // The working ROM was proposed, the original only read.
    QCOMPARE(rig.dialog.showings().at(0).settings.fileName, rig.working);
    QCOMPARE(readBytes(rig.original), originalBefore);
    QCOMPARE(rig.messages.titles(), QStringList {u"Patch Created"_s});
    QCOMPARE(rig.messages.messages().last().text.contains(u"no checksums"_s),
        patchName.endsWith(u".ips"_s));

    const QString rebuilt = rig.path(u"rebuilt.smc"_s);
    rig.dialog.pick(rig.path(patchName));
    rig.dialog.pick(rig.original);
    rig.dialog.pick(rebuilt);
    QCOMPARE(PatchProcedures(rig.services).applyPatch(rig.config), Outcome::Done);
    QCOMPARE(rig.messages.titles().last(), u"Patch Applied"_s);
    QCOMPARE(readBytes(rebuilt), readBytes(rig.working));
    QCOMPARE(readBytes(rig.original), originalBefore);
}

void TestPatchProcedures::cancelWritesNothing()
{
    PatchRig rig;
    rig.dialog.pick(rig.working);
    rig.dialog.cancel();
    QCOMPARE(
        PatchProcedures(rig.services).createPatch(rig.config, rig.working), Outcome::Cancelled);
    rig.dialog.cancel();
    QCOMPARE(PatchProcedures(rig.services).applyPatch(rig.config), Outcome::Cancelled);
    QVERIFY(rig.messages.messages().isEmpty());
    QCOMPARE(QDir(rig.dir.path()).entryList(QDir::Files).size(), 2);
}

void TestPatchProcedures::patchForAnotherRomIsRefused()
{
    PatchRig rig;
    rig.dialog.pick(rig.working);
    rig.dialog.pick(rig.path(u"mycourse.bps"_s));
    QCOMPARE(PatchProcedures(rig.services).createPatch(rig.config, rig.working), Outcome::Done);
    // Applied to the working ROM, which it was not made for: the CRC32 says so, nothing written.
    rig.dialog.pick(rig.path(u"mycourse.bps"_s));
    rig.dialog.pick(rig.working);
    rig.dialog.pick(rig.path(u"twice.smc"_s));
    QCOMPARE(PatchProcedures(rig.services).applyPatch(rig.config), Outcome::Refused);
    QCOMPARE(rig.messages.titles().last(), u"Patch Not Applied"_s);
    QVERIFY2(rig.messages.messages().last().text.contains(u"another ROM"_s),
        qPrintable(rig.messages.messages().last().text));
    QVERIFY(!QFile::exists(rig.path(u"twice.smc"_s)));

    // Without an original ROM there is nothing to make a patch from.
    Configuration none = rig.config;
    none.userRomPath = rig.path(u"gone.smc"_s);
    QCOMPARE(PatchProcedures(rig.services).createPatch(none, rig.working), Outcome::Refused);
    QCOMPARE(rig.messages.titles().last(), u"Patch Not Created"_s);
}

VELMOR_GUILESS_TEST_MAIN(TestPatchProcedures)
#include "test_patch_procedures.moc"
