#include "app/config_file.h"
#include "app/course_actions.h"
#include "document/course_ref.h"
#include "course/rom_insertion.h"
#include "tests/app/window_fixture.h"
#include "tests/support/test_main.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace velmor;
using namespace Qt::StringLiterals;

namespace {

Configuration storedConfiguration()
{
    return {u"C:\\Tools\\recomp.exe"_s, u"D:\\Roms\\"_s, u"D:\\Roms\\kart.smc"_s, u"kart"_s};
}

// Writes down what the load does to the controls, in the order it happens, with how far the
// first-run set-up and the grid had come at that moment.
class LoadRecorder : public QObject
{
public:
    explicit LoadRecorder(test::WindowFixture &fixture)
        : QObject(fixture.window.get())
        , mFixture(fixture)
    {
        ClientWindow *window = fixture.window.get();
        for (QWidget *control : {static_cast<QWidget *>(window->fromFileButton()),
                                 static_cast<QWidget *>(window->fromVelmorButton()),
                                 static_cast<QWidget *>(window->courseList())})
            control->installEventFilter(this);
        for (QComboBox *combo : {window->pickTile(), window->pickTile2(), window->courseList()}) {
            connect(combo->model(), &QAbstractItemModel::rowsInserted, this,
                    [this, combo] { note(u"filled "_s + combo->objectName()); });
        }
    }

    QStringList log;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::EnabledChange)
            note(u"disabled "_s + watched->objectName());
        return false;
    }

private:
    void note(const QString &what)
    {
        // The first row ruler reads "0" until the grid is set up.
        log.append(u"%1 (dialogs %2, grid %3)"_s.arg(what)
                       .arg(mFixture.dialog.showings().size())
                       .arg(mFixture.window->rowRuler().first()->text()));
    }

    test::WindowFixture &mFixture;
};

} // namespace

// The window's load as a user meets it: in an empty folder, and in one that holds Velmor.cfg.
class TestWindowLoad : public QObject
{
    Q_OBJECT

private slots:
    void emptyFolderWithTheSetUpDeclined();
    void folderWithAConfigurationFile();
    void configurationFileInOtherLetterCase();
};

void TestWindowLoad::emptyFolderWithTheSetUpDeclined()
{
    LoadRecorder *recorder = nullptr;
    test::WindowFixture fixture([&recorder](test::WindowFixture &f) {
        f.dialog.cancel();
        f.messages.answer(MessageBoxes::Answer::Yes);
        recorder = new LoadRecorder(f);
    });
    ClientWindow *window = fixture.window.get();
    QCOMPARE(fixture.dialog.showings().size(), 1);
    QCOMPARE(fixture.dialog.showings().first().settings.title, u"Point to recomp.exe"_s);
    QCOMPARE(fixture.messages.unanswered(), 0);
    QVERIFY(!window->startup().setupCompleted);

    QVERIFY(!window->fromFileButton()->isEnabled());
    QVERIFY(!window->fromVelmorButton()->isEnabled());
    QVERIFY(!window->courseList()->isEnabled());
    QCOMPARE(window->courseList()->count(), 29);
    for (int i = 0; i < 29; ++i)
        QCOMPARE(window->courseList()->itemText(i), courseListEntries().at(i));
    QCOMPARE(window->courseList()->currentText(), u"68f2c - Mario Circuit 1"_s);
    // Nothing else on the window was switched off.
    QVERIFY(window->saveCourseButton()->isEnabled());
    QVERIFY(window->command2Button()->isEnabled());

    QCOMPARE(recorder->log, (QStringList{
                                u"disabled FromFile (dialogs 1, grid 0)"_s,
                                u"disabled FromVelmor (dialogs 1, grid 0)"_s,
                                u"disabled CourseList (dialogs 1, grid 0)"_s,
                                u"filled PickTile (dialogs 1, grid 1)"_s,
                                u"filled Picktile2 (dialogs 1, grid 1)"_s,
                                u"filled CourseList (dialogs 1, grid 1)"_s,
                            }));
}

void TestWindowLoad::folderWithAConfigurationFile()
{
    LoadRecorder *recorder = nullptr;
    test::WindowFixture fixture([&recorder](test::WindowFixture &f) {
        QString error;
        QVERIFY2(ConfigFile::write(f.files, f.folder.filePath(u"Velmor.cfg"_s),
                                   storedConfiguration(), &error),
                 qPrintable(error));
        recorder = new LoadRecorder(f);
    });
    QVERIFY(recorder);
    ClientWindow *window = fixture.window.get();
    // A later start is silent.
    QVERIFY(fixture.messages.messages().isEmpty());
    QVERIFY(fixture.dialog.showings().isEmpty());
    QVERIFY(!window->startup().firstRun);

    QVERIFY(window->fromFileButton()->isEnabled());
    QVERIFY(window->fromVelmorButton()->isEnabled());
    QVERIFY(window->courseList()->isEnabled());
    QCOMPARE(window->courseList()->count(), 29);
    QCOMPARE(window->courseList()->currentText(), u"68f2c - Mario Circuit 1"_s);

    const Configuration &settings = window->actions().insertion().settings();
    const Configuration expected = storedConfiguration();
    QCOMPARE(settings.recompPath, expected.recompPath);
    QCOMPARE(settings.userRomPath, expected.userRomPath);
    QCOMPARE(settings.romBaseName, expected.romBaseName);
    QCOMPARE(settings.romFolder, expected.romFolder);
    QVERIFY(window->actions().trackState().targetRom.isEmpty());

    QCOMPARE(recorder->log, (QStringList{
                                u"filled PickTile (dialogs 0, grid 1)"_s,
                                u"filled Picktile2 (dialogs 0, grid 1)"_s,
                                u"filled CourseList (dialogs 0, grid 1)"_s,
                            }));
}

void TestWindowLoad::configurationFileInOtherLetterCase()
{
    // Not the name a later start reads, so the set-up runs; but a configuration file is there, so
    // the insertion controls stay on.
    test::WindowFixture fixture([](test::WindowFixture &f) {
        QString error;
        QVERIFY2(ConfigFile::write(f.files, f.folder.filePath(u"velmor.cfg"_s),
                                   storedConfiguration(), &error),
                 qPrintable(error));
        f.dialog.cancel();
        f.messages.answer(MessageBoxes::Answer::Yes);
    });
    ClientWindow *window = fixture.window.get();
    QVERIFY(window->startup().firstRun);
    QCOMPARE(fixture.dialog.showings().size(), 1);
    QVERIFY(window->fromFileButton()->isEnabled());
    QVERIFY(window->fromVelmorButton()->isEnabled());
    QVERIFY(window->courseList()->isEnabled());
}

VELMOR_TEST_MAIN(TestWindowLoad)
#include "test_window_load.moc"
