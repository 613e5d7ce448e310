#include "app/course_actions.h"
#include "app/recent_files.h"
#include "app/status_readout.h"
#include "app/window_menus.h"
#include "course/track_state.h"
#include "document/map_history.h"
#include "editor/map_view.h"
#include "tests/app/window_fixture.h"
#include "tests/support/test_main.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QTextBrowser>
#include <QUndoStack>

using namespace velmor;
using namespace Qt::StringLiterals;

namespace {

QStringList randomTexts(unsigned seed)
{
    QStringList texts;
    std::uint32_t state = seed;
    for (int i = 0; i < CellCount; ++i) {
        state = state * 1664525u + 1013904223u;
        texts.append(u"%1"_s.arg(state >> 24, 2, 16, QLatin1Char('0')).toUpper());
    }
    return texts;
}

} // namespace

// The program's window around the described one: its menus and keys, that an entry and its
// button run the same procedure, the status bar's readouts, recent files, help, and quitting.
class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init() { mFixture = std::make_unique<test::MainWindowFixture>(); }
    void cleanup() { mFixture.reset(); }

    void frameAroundTheDescribedWindow();
    void entriesHaveTheirKeys_data();
    void entriesHaveTheirKeys();
    void entryAndButtonRunOneProcedure_data();
    void entryAndButtonRunOneProcedure();
    void insertionEntriesFollowTheSetUp();
    void editEntriesNameTheirStep();
    void saveAsAsksNoQuestion();
    void recentFileOpensAgain();
    void quitAsksAboutUnsavedWork();
    void budgetFollowsThePainting();
    void cellUnderThePointer();
    void helpShowsTheGuideAndAbout();

private:
    MainWindow *win() const { return mFixture->window.get(); }
    QAction *entry(const char16_t *name) const
    {
        return win()->menus().action(QString::fromUtf16(name));
    }
    // Waits, bounded, for the budget to be measured again; the text it then shows.
    QString nextBudget();

    std::unique_ptr<test::MainWindowFixture> mFixture;
};

QString TestMainWindow::nextBudget()
{
    QSignalSpy measured(&win()->status().budget(), &SlotBudget::budgetChanged);
    while (win()->status().budget().isMeasuring() || measured.isEmpty()) {
        if (!measured.wait(5000)) {
            QTest::qFail("the budget was not measured within 5 s", __FILE__, __LINE__);
            return {};
        }
    }
    return win()->status().budgetLabel()->text();
}

void TestMainWindow::frameAroundTheDescribedWindow()
{
    QCOMPARE(win()->windowTitle(), u"Velmor Beta v.3"_s);
    QCOMPARE(win()->centralWidget(), static_cast<QWidget *>(win()->client()));
    QCOMPARE(win()->client()->objectName(), u"velmor"_s);
    win()->show();
    QVERIFY2(QTest::qWaitForWindowExposed(win()), "the window was not shown within 5 s");
    QCOMPARE(win()->client()->size(), QSize(720, 421));
    const QRect client = win()->client()->geometry();
    QVERIFY(win()->menuBar()->geometry().bottom() < client.top());
    QVERIFY(win()->statusBar()->geometry().top() > client.bottom());
    QCOMPARE(win()->minimumSize(), win()->maximumSize());
    QStringList titles;
    for (QAction *menu : win()->menuBar()->actions())
        titles.append(menu->text().remove(u'&'));
    QCOMPARE(titles, (QStringList {u"File"_s, u"Edit"_s, u"View"_s, u"Course"_s, u"Tools"_s, u"Help"_s}));
}

void TestMainWindow::entriesHaveTheirKeys_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QKeySequence>("keys");
    QTest::newRow("open") << u"actionOpenTrackFile"_s << QKeySequence(u"Ctrl+O"_s);
    QTest::newRow("save") << u"actionSaveTrackFile"_s << QKeySequence(u"Ctrl+S"_s);
    QTest::newRow("save as") << u"actionSaveTrackFileAs"_s << QKeySequence(u"Ctrl+Shift+S"_s);
    QTest::newRow("quit") << u"actionQuit"_s << QKeySequence(u"Ctrl+Q"_s);
    QTest::newRow("undo") << u"actionUndo"_s << QKeySequence(u"Ctrl+Z"_s);
    QTest::newRow("redo") << u"actionRedo"_s << QKeySequence(u"Ctrl+Y"_s);
    QTest::newRow("guide") << u"actionUserGuide"_s << QKeySequence(u"F1"_s);
    QTest::newRow("test in emulator") << u"actionTestInEmulator"_s << QKeySequence(u"F5"_s);
}

void TestMainWindow::entriesHaveTheirKeys()
{
    QFETCH(QString, name);
    QFETCH(QKeySequence, keys);
    QAction *action = win()->menus().action(name);
    QVERIFY2(action, qPrintable(name));
    QVERIFY2(action->shortcuts().contains(keys), qPrintable(action->shortcut().toString()));
}

void TestMainWindow::entryAndButtonRunOneProcedure_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("button"); // empty: the entry has no button
    QTest::addColumn<QString>("title"); // of the first dialog the procedure shows
    QTest::newRow("save") << u"actionSaveTrackFile"_s << u"SaveCourse"_s << u"Name Your Course"_s;
    QTest::newRow("open") << u"actionOpenTrackFile"_s << u"Command2"_s
                          << u"Import Course From File"_s;
    QTest::newRow("insert from file")
        << u"actionInsertFromFile"_s << u"FromFile"_s << u"Choose an Velmor Custom Makde Course."_s;
    QTest::newRow("insert from the map")
        << u"actionInsertFromVelmor"_s << u"FromVelmor"_s << u"Name Your Course"_s;
    QTest::newRow("open from a ROM")
        << u"actionOpenCourseFromRom"_s << QString() << u"Open Course from ROM"_s;
    QTest::newRow("apply a patch")
        << u"actionApplyPatch"_s << QString() << u"Choose the Patch to Apply"_s;
}

void TestMainWindow::entryAndButtonRunOneProcedure()
{
    QFETCH(QString, entry);
    QFETCH(QString, button);
    QFETCH(QString, title);
    mFixture = std::make_unique<test::MainWindowFixture>(
        [](test::MainWindowFixture &fixture) { QVERIFY(test::writeConfiguration(fixture)); });
    // Each showing is cancelled; what the two ways showed must be the same.
    win()->menus().action(entry)->trigger();
    const QList<test::ScriptedFileDialog::Showing> byEntry = mFixture->dialog.showings();
    QCOMPARE(byEntry.size(), 1);
    QCOMPARE(byEntry.first().settings.title, title);
    if (button.isEmpty())
        return;
    win()->client()->findChild<QPushButton *>(button)->click();
    const QList<test::ScriptedFileDialog::Showing> both = mFixture->dialog.showings();
    QCOMPARE(both.size(), 2);
    QCOMPARE(both.at(1).mode, both.at(0).mode);
    QCOMPARE(both.at(1).settings.title, both.at(0).settings.title);
    QCOMPARE(both.at(1).settings.filter, both.at(0).settings.filter);
}

void TestMainWindow::insertionEntriesFollowTheSetUp()
{
    // The fixture declined the set-up: no insertion, and the entries say why.
    for (const char16_t *name :
        {u"actionInsertFromFile", u"actionInsertFromVelmor", u"actionCreatePatch"}) {
        QVERIFY(!entry(name)->isEnabled());
        QVERIFY2(entry(name)->statusTip().contains(u"first-run set-up"_s),
            qPrintable(entry(name)->statusTip()));
    }
    mFixture = std::make_unique<test::MainWindowFixture>(
        [](test::MainWindowFixture &fixture) { QVERIFY(test::writeConfiguration(fixture)); });
    QVERIFY(entry(u"actionInsertFromFile")->isEnabled());
    QVERIFY(entry(u"actionInsertFromVelmor")->isEnabled());
    QVERIFY(entry(u"actionInsertFromFile")->statusTip().isEmpty());
}

void TestMainWindow::editEntriesNameTheirStep()
{
    win()->client()->pickTile()->setEditText(u"3C"_s);
    entry(u"actionTextureFiller")->trigger();
    QCOMPARE(win()->client()->courseMap().text(0), u"3C"_s);
    QCOMPARE(entry(u"actionUndo")->text(), u"Undo Texture Filler"_s);
    entry(u"actionUndo")->trigger();
    QCOMPARE(win()->client()->courseMap().text(0), u"01"_s);
    QCOMPARE(entry(u"actionRedo")->text(), u"Redo Texture Filler"_s);
    // Clear Color makes a step only where there are marks to clear.
    win()->client()->courseMap().setMark(5, Mark::Painted);
    entry(u"actionClearColor")->trigger();
    QCOMPARE(entry(u"actionUndo")->text(), u"Undo Clear Color"_s);
}

void TestMainWindow::saveAsAsksNoQuestion()
{
    const QString first = mFixture->folder.filePath(u"first.bin"_s);
    const QString second = mFixture->folder.filePath(u"second.bin"_s);
    mFixture->dialog.pick(first);
    entry(u"actionSaveTrackFile")->trigger();
    QVERIFY(QFile::exists(first));
    // The same map again: Save would ask "No changes?"; Save As goes straight to the dialog.
    mFixture->dialog.pick(second);
    entry(u"actionSaveTrackFileAs")->trigger();
    QVERIFY(QFile::exists(second));
    QVERIFY(!mFixture->messages.titles().contains(u"No changes?"_s));
    QCOMPARE(win()->recentFiles().files().value(0), QFileInfo(second).absoluteFilePath());
}

void TestMainWindow::recentFileOpensAgain()
{
    win()->recentFiles().clear();
    QVERIFY(!win()->menus().recentMenu()->menuAction()->isEnabled());
    const QString path = mFixture->folder.filePath(u"course.bin"_s);
    win()->client()->pickTile()->setEditText(u"2A"_s);
    win()->client()->textureFillerButton()->click();
    mFixture->dialog.pick(path);
    win()->client()->saveCourseButton()->click();
    QVERIFY(win()->menus().recentMenu()->menuAction()->isEnabled());

    win()->client()->pickTile()->setEditText(u"07"_s);
    win()->client()->textureFillerButton()->click();
    QAction *first = win()->menus().recentMenu()->findChild<QAction *>(u"actionRecent1"_s);
    QVERIFY(first);
    QVERIFY2(first->text().endsWith(QDir::toNativeSeparators(path)), qPrintable(first->text()));
    const int dialogs = int(mFixture->dialog.showings().size());
    first->trigger();
    QCOMPARE(int(mFixture->dialog.showings().size()), dialogs); // no dialog for a recent file
    QCOMPARE(win()->client()->courseMap().text(CellCount - 1), u"2A"_s);
}

void TestMainWindow::quitAsksAboutUnsavedWork()
{
    win()->show();
    QVERIFY2(QTest::qWaitForWindowExposed(win()), "the window was not shown within 5 s");
    win()->client()->textureFillerButton()->click();
    mFixture->messages.answer(MessageBoxes::Answer::Cancel);
    entry(u"actionQuit")->trigger();
    QVERIFY(win()->isVisible());
    QCOMPARE(mFixture->messages.titles().last(), u"Unsaved Changes"_s);
    mFixture->messages.answer(MessageBoxes::Answer::No);
    entry(u"actionQuit")->trigger();
    QVERIFY(!win()->isVisible());
}

void TestMainWindow::budgetFollowsThePainting()
{
    // The budget reads the ROM, so it waits for the window's first paint.
    QVERIFY(win()->status().budgetLabel()->text().isEmpty());
    QVERIFY(!win()->status().budget().isMeasuring());
    win()->show();
    QVERIFY2(QTest::qWaitForWindowExposed(win()), "the window was not shown within 5 s");
    // No ROM: the game's original room of the course, 2,047 bytes for Mario Circuit 1.
    QCOMPARE(nextBudget(), u"Mario Circuit 1: 7 of 2,047 bytes"_s);
    QVERIFY(win()->status().budgetLabel()->styleSheet().isEmpty());

    CourseMap &map = win()->client()->courseMap();
    map.setAll(randomTexts(5), map.marks());
    const QString tooBig = nextBudget();
    QVERIFY2(tooBig.startsWith(u"Mario Circuit 1: "_s) && tooBig.endsWith(u" too many"_s),
        qPrintable(tooBig));
    QVERIFY(win()->status().budgetLabel()->styleSheet().contains(u"color"_s));

    map.setCell(cellIndex(2, 4), u"Q"_s, Mark::Painted);
    QCOMPARE(nextBudget(),
        u"Mario Circuit 1: the cell at row 3, column 5 holds \"Q\", no tile number"_s);

    win()->client()->courseList()->setEditText(u"216ee - Battle Course 3"_s);
    map.setCell(cellIndex(2, 4), u"01"_s, Mark::Painted);
    QVERIFY(nextBudget().startsWith(u"Battle Course 3: "_s));
    win()->client()->courseList()->setEditText(u"BATTLE MODE"_s);
    QCOMPARE(nextBudget(), u"No course chosen"_s);
}

void TestMainWindow::cellUnderThePointer()
{
    win()->show();
    QVERIFY2(QTest::qWaitForWindowExposed(win()), "the window was not shown within 5 s");
    MapView *view = win()->client()->mapView();
    win()->client()->courseMap().setCell(cellIndex(1, 2), u"4F"_s, Mark::Painted);
    QTest::mouseMove(view, QPoint(2 * 16 + 8, 1 * 16 + 8));
    QCOMPARE(win()->status().cellLabel()->text(), u"Column 3, row 2: tile 4F"_s);
    win()->client()->courseMap().setCell(cellIndex(1, 2), u"50"_s, Mark::Painted);
    QCOMPARE(win()->status().cellLabel()->text(), u"Column 3, row 2: tile 50"_s);
}

void TestMainWindow::helpShowsTheGuideAndAbout()
{
    entry(u"actionUserGuide")->trigger();
    auto *guide = win()->findChild<QDialog *>(u"userGuide"_s);
    QVERIFY(guide && guide->isVisible());
    const QString text = guide->findChild<QTextBrowser *>()->toPlainText();
    // The users' part of the README, and not the developers'.
    QVERIFY2(text.contains(u"The first run, step by step"_s), qPrintable(text.left(200)));
    QVERIFY(!text.contains(u"For developers"_s));
    guide->close();

    QCoreApplication::setApplicationVersion(u"9.8.7"_s);
    entry(u"actionAbout")->trigger();
    auto *about = win()->findChild<QDialog *>(u"aboutVelmor"_s);
    QVERIFY(about && about->isVisible());
    const QString aboutText = about->findChild<QLabel *>(u"aboutText"_s)->text();
    QVERIFY(aboutText.contains(u"Velmor 9.8.7"_s));
    QVERIFY(aboutText.contains(u"MIT"_s));
    about->close();
}

VELMOR_TEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
