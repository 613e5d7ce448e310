#include "platform/qt_file_dialog.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace velmor;

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
    // Runs `answer` on the dialog once it is up; gives up (rejecting) if the dialog never comes.
    static void whenShown(std::function<void(QFileDialog *)> answer);
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

void TestQtFileDialog::whenShown(std::function<void(QFileDialog *)> answer)
{
    auto *poll = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, tries, answer] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (dialog && dialog->isVisible()) {
            poll->deleteLater();
            answer(dialog);
        } else if (++*tries > 500) {
            poll->deleteLater();
            for (QWidget *widget : QApplication::topLevelWidgets()) {
                if (auto *stray = qobject_cast<QFileDialog *>(widget))
                    stray->reject();
            }
        }
    });
    poll->start(10);
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
    whenShown([&](QFileDialog *shown) {
        title = shown->windowTitle();
        filters = shown->nameFilters();
        confirms = !shown->testOption(QFileDialog::DontConfirmOverwrite);
        if (auto *edit = shown->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))) {
            shownName = edit->text();
            edit->clear();
            QTest::keyClicks(edit, QStringLiteral("mytrack"));
        }
        QMetaObject::invokeMethod(shown, "accept");
    });
    const std::optional<QString> chosen = dialog.showSave();

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
    whenShown([&](QFileDialog *shown) {
        shownDirectory = shown->directory().absolutePath();
        mode = shown->acceptMode();
        shown->selectFile(QStringLiteral("course.bin"));
        QMetaObject::invokeMethod(shown, "accept");
    });
    const std::optional<QString> chosen = dialog.showOpen();

    QCOMPARE(mode, QFileDialog::AcceptOpen);
    QCOMPARE(shownDirectory, QDir(dir.path()).absolutePath());
    QVERIFY(chosen.has_value());
    QCOMPARE(QFileInfo(*chosen).absoluteFilePath(), QFileInfo(target).absoluteFilePath());
}

void TestQtFileDialog::cancelIsNothing()
{
    QtFileDialog dialog;
    dialog.setFileName(QStringLiteral("newtrack.bin"));
    whenShown([](QFileDialog *shown) { shown->reject(); });
    QCOMPARE(dialog.showSave(), std::nullopt);
    QCOMPARE(dialog.settings().fileName, QStringLiteral("newtrack.bin"));
}

QTEST_MAIN(TestQtFileDialog)
#include "test_qt_file_dialog.moc"
