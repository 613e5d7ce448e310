#include "platform/qt_file_dialog.h"
#include "tests/support/modal_answer.h"
#include "tests/support/test_main.h"

#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

using namespace velmor;
using velmor::test::ModalAnswer;

class TestQtFileDialog : public QObject
{
    Q_OBJECT

private slots:
    void nameFilters_data();
    void nameFilters();
    void saveAppendsDefaultExtension();
    void openStartsInDirectory();
    void cancelIsNothing();

private:
    // Answers the next file dialog; it must come up and close again within the helper's bound.
    template<typename Answer>
    static ModalAnswer answerFileDialog(Answer answer)
    {
        return ModalAnswer(QFileDialog::staticMetaObject, QStringLiteral("the file dialog"),
            [answer](QDialog *shown) { answer(static_cast<QFileDialog *>(shown)); });
    }
};

void TestQtFileDialog::nameFilters_data()
{
    QTest::addColumn<QString>("product");
    QTest::addColumn<QStringList>("qt");

    QTest::newRow("track files") << QStringLiteral("BIN Files (*.bin)|*.bin")
                                 << QStringList {QStringLiteral("BIN Files (*.bin)")};
    QTest::newRow("two patterns") << QStringLiteral("SNES Files (*.smc *.sfc)|*.smc;*.sfc")
                                  << QStringList {QStringLiteral("SNES Files (*.smc *.sfc)")};
    QTest::newRow("description without patterns")
        << QStringLiteral("Programs|*.exe") << QStringList {QStringLiteral("Programs (*.exe)")};
    QTest::newRow("several pairs")
        << QStringLiteral("BIN Files (*.bin)|*.bin|All Files (*.*)|*.*")
        << QStringList {QStringLiteral("BIN Files (*.bin)"), QStringLiteral("All Files (*.*)")};
    QTest::newRow("parentheses that are not the patterns") << QStringLiteral(
        "Tracks (old)|*.trk") << QStringList {QStringLiteral("Tracks (old) (*.trk)")};
    QTest::newRow("empty") << QString() << QStringList();
    QTest::newRow("pattern missing") << QStringLiteral("BIN Files") << QStringList();
    QTest::newRow("empty pattern") << QStringLiteral("BIN Files|") << QStringList();
}

void TestQtFileDialog::nameFilters()
{
    QFETCH(QString, product);
    QFETCH(QStringList, qt);
    QCOMPARE(qtNameFilters(product), qt);
}

void TestQtFileDialog::saveAppendsDefaultExtension()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QFile existing(dir.filePath(QStringLiteral("present.bin")));
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.close();

    QtFileDialog dialog;
    dialog.setTitle(QStringLiteral("Name Your Course"));
    dialog.setFilter(QStringLiteral("BIN Files (*.bin)|*.bin"));
    dialog.setDefaultExtension(QStringLiteral("bin"));
    dialog.setFileName(QStringLiteral("newtrack.bin"));
    dialog.setDirectory(dir.path());

    QString title, shownName;
    QStringList filters;
    bool confirms = true;
    const ModalAnswer answer = answerFileDialog([&](QFileDialog *shown) {
        title = shown->windowTitle();
        filters = shown->nameFilters();
        confirms = !shown->testOption(QFileDialog::DontConfirmOverwrite);
        if (auto *edit = shown->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
            shownName = edit->text();
        test::typeFileNameAndAccept(shown, QStringLiteral("mytrack"));
    });
    const std::optional<QString> chosen = dialog.showSave();
    QVERIFY2(answer.succeeded(), qPrintable(answer.failure()));

    QCOMPARE(title, QStringLiteral("Name Your Course"));
    QCOMPARE(filters, QStringList {QStringLiteral("BIN Files (*.bin)")});
    QVERIFY(!confirms);
    QCOMPARE(shownName, QStringLiteral("newtrack.bin"));
    QVERIFY(chosen.has_value());
    QCOMPARE(QFileInfo(*chosen).absoluteFilePath(),
        QFileInfo(dir.filePath(QStringLiteral("mytrack.bin"))).absoluteFilePath());
    // A completed pick is the next initial file name.
    QCOMPARE(dialog.settings().fileName, *chosen);
}

void TestQtFileDialog::openStartsInDirectory()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString target = dir.filePath(QStringLiteral("course.bin"));
    QFile file(target);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();

    QtFileDialog dialog;
    dialog.setTitle(QStringLiteral("Import Course From File"));
    dialog.setFilter(QStringLiteral("BIN Files (*.bin)|*.bin"));
    dialog.setDefaultExtension(QStringLiteral("bin"));
    dialog.setFileName(QString());
    dialog.setDirectory(dir.path());

    QString shownDirectory;
    QFileDialog::AcceptMode mode = QFileDialog::AcceptSave;
    const ModalAnswer answer = answerFileDialog([&](QFileDialog *shown) {
        shownDirectory = shown->directory().absolutePath();
        mode = shown->acceptMode();
        // Typed, not selectFile(): once the dialog is active, selectFile() leaves the focused
        // name field alone, and before the folder has been read nothing is selected either; the
        // accept then finds no file and the dialog stays open.
        test::typeFileNameAndAccept(shown, QStringLiteral("course.bin"));
    });
    const std::optional<QString> chosen = dialog.showOpen();
    QVERIFY2(answer.succeeded(), qPrintable(answer.failure()));

    QCOMPARE(mode, QFileDialog::AcceptOpen);
    QCOMPARE(shownDirectory, QDir(dir.path()).absolutePath());
    QVERIFY(chosen.has_value());
    QCOMPARE(QFileInfo(*chosen).absoluteFilePath(), QFileInfo(target).absoluteFilePath());
}

void TestQtFileDialog::cancelIsNothing()
{
    QtFileDialog dialog;
    dialog.setFileName(QStringLiteral("newtrack.bin"));
    const ModalAnswer answer = answerFileDialog([](QFileDialog *shown) { shown->reject(); });
    QCOMPARE(dialog.showSave(), std::nullopt);
    QVERIFY2(answer.succeeded(), qPrintable(answer.failure()));
    QCOMPARE(dialog.settings().fileName, QStringLiteral("newtrack.bin"));
}

VELMOR_TEST_MAIN(TestQtFileDialog)
#include "test_qt_file_dialog.moc"
