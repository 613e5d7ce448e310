#include "platform/qt_preferences_dialog.h"
#include "platform/qt_restore_point_dialog.h"
#include "tests/support/modal_answer.h"
#include "tests/support/test_main.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

using namespace velmor;
using namespace Qt::StringLiterals;

// The real Preferences and Restore Points dialogs, answered as a user would.
class TestQtCourseDialogs : public QObject
{
    Q_OBJECT

private slots:
    void preferencesRefuses_data();
    void preferencesRefuses();
    void preferencesTakesAnOffer();
    void restorePointsChoosesOnlyUsable();

private:
    QTemporaryDir mDir;
};

void TestQtCourseDialogs::preferencesRefuses_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("reason");
    QTest::newRow("nothing") << QString() << u"no program is given"_s;
    QTest::newRow("missing") << u"missing/emulator"_s << u"does not exist"_s;
    QTest::newRow("a folder") << u"folder/"_s << u"is a folder"_s;
    QTest::newRow("not executable") << u"plain"_s << u"is not executable"_s;
    QTest::newRow("not on the PATH") << u"velmor-no-such-emulator"_s << u"on the PATH"_s;
}

void TestQtCourseDialogs::preferencesRefuses()
{
    QFETCH(QString, program);
    QFETCH(QString, reason);
    QVERIFY(QDir(mDir.path()).mkpath(u"folder"_s));
    QFile plain(mDir.filePath(u"plain"_s));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    if (program.contains(u'/') || program == u"plain"_s)
        program = mDir.filePath(program);
    QString note;
    bool stayedOpen = false;
    const test::ModalAnswer typed(
        QDialog::staticMetaObject, u"the Preferences dialog"_s, [&](QDialog *dialog) {
            dialog->findChild<QLineEdit *>(u"EmulatorProgram"_s)->setText(program);
            dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
            stayedOpen = dialog->isVisible();
            note = dialog->findChild<QLabel *>(u"EmulatorNote"_s)->text();
            dialog->reject();
        });
    QtPreferencesDialog preferences;
    QVERIFY(!preferences.ask({}));
    QVERIFY2(typed.succeeded(), qPrintable(typed.failure()));
    QVERIFY(stayedOpen);
    QVERIFY2(note.contains(reason), qPrintable(note));
}

void TestQtCourseDialogs::preferencesTakesAnOffer()
{
    const QString program = mDir.filePath(u"emulator"_s);
    QFile file(program);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::ExeOwner));
    PreferencesDialog::Request request;
    request.offered = {{program, u"-x %f"_s, u"emulator"_s}};
    request.test = [](const PreferencesDialog::Emulator &tried) {
        return u"tried %1 %2"_s.arg(tried.program, tried.arguments);
    };
    QString afterTest;
    const test::ModalAnswer typed(
        QDialog::staticMetaObject, u"the Preferences dialog"_s, [&](QDialog *dialog) {
            auto *found = dialog->findChild<QComboBox *>(u"EmulatorFound"_s);
            found->setCurrentIndex(1);
            emit found->activated(1);
            dialog->findChild<QPushButton *>(u"EmulatorTest"_s)->click();
            afterTest = dialog->findChild<QLabel *>(u"EmulatorNote"_s)->text();
            dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
        });
    const std::optional<PreferencesDialog::Emulator> chosen = QtPreferencesDialog().ask(request);
    QVERIFY2(typed.succeeded(), qPrintable(typed.failure()));
    QCOMPARE(afterTest, u"tried %1 -x %f"_s.arg(program));
    QVERIFY(chosen);
    QCOMPARE(chosen->program, program);
    QCOMPARE(chosen->arguments, u"-x %f"_s);
}

void TestQtCourseDialogs::restorePointsChoosesOnlyUsable()
{
    const QList<RestorePointDialog::Row> rows = {
        {u"2025-03-14 15:31:00"_s, u"Restore"_s, 90, false, u"damaged: bad CRC32"_s},
        {u"2025-03-14 15:30:00"_s, u"Mario Circuit 1"_s, 120, true, {}},
    };
    bool damagedChosable = true;
    const test::ModalAnswer chose(
        QDialog::staticMetaObject, u"the Restore Points dialog"_s, [&](QDialog *dialog) {
            auto *list = dialog->findChild<QTreeWidget *>(u"RestorePointList"_s);
            auto *restore = dialog->findChild<QPushButton *>(u"RestorePointRestore"_s);
            list->setCurrentItem(list->topLevelItem(0));
            damagedChosable = restore->isEnabled();
            list->setCurrentItem(list->topLevelItem(1));
            restore->click();
        });
    const std::optional<int> chosen = QtRestorePointDialog().choose(u"/ROMS/KART.SMC"_s, rows);
    QVERIFY2(chose.succeeded(), qPrintable(chose.failure()));
    QVERIFY(!damagedChosable);
    QCOMPARE(chosen, std::optional<int>(1));
}

VELMOR_TEST_MAIN(TestQtCourseDialogs)
#include "test_qt_course_dialogs.moc"
