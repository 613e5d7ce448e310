#include "app/course_actions.h"
#include "course/track_file.h"
#include "document/map_history.h"
#include "tests/app/window_driver.h"
#include "tests/support/test_main.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QUndoStack>

using namespace velmor;
using namespace Qt::StringLiterals;

namespace {

// Every kind of change a user makes to the map from the window.
enum class Step { Press, Drag, EraseStroke, ClearColor, TextureFiller, OpenTrackFile };

// A map unlike the fresh one in every row, with lower-case texts: the file holds bytes, so the
// map shows them in capitals after opening.
QStringList patternTexts()
{
    QStringList texts;
    for (int i = 0; i < CellCount; ++i)
        texts.append(u"%1"_s.arg((i * 7 + i / MapSide) % 256, 2, 16, QLatin1Char('0')));
    return texts;
}

} // namespace

// Undo and redo through the window's keys, after steps made with the mouse, the buttons and the
// open dialog; every result is compared with the whole model as it was.
class TestWindowUndo : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { mFixture.reset(); }

    void everyStepIsOneUndoableStep_data();
    void everyStepIsOneUndoableStep();
    void undoAndRedoThroughASequenceOfSteps();
    void undoLeavesTheLastExportAlone();
    void undoAfterTypingATileNumberUndoesThePaint();

private:
    void apply(Step step);
    int steps() const { return mFixture->window->actions().history().stack()->count(); }
    CourseMap &model() const { return mFixture->window->courseMap(); }

    std::unique_ptr<test::WindowFixture> mFixture;
    test::WindowDriver mDriver{nullptr};
};

void TestWindowUndo::init()
{
    mFixture = std::make_unique<test::WindowFixture>();
    mDriver.window = mFixture->window.get();
    QVERIFY2(test::WindowDriver::showForInput(mDriver.window),
             "the window did not become active within 5 s");
    // Cells with every mark, set before any step so that each step has something to undo.
    model().setCell(cellIndex(0, 0), u"7E"_s, Mark::Painted);
    model().setCell(cellIndex(1, 1), u"22"_s, Mark::Erased);
    model().setCell(cellIndex(2, 3), u"5D"_s, Mark::Painted);
}

void TestWindowUndo::apply(Step step)
{
    ClientWindow *window = mDriver.window;
    switch (step) {
    case Step::Press:
        window->pickTile()->setEditText(u"2A"_s);
        mDriver.click(3, 4);
        break;
    case Step::Drag:
        // Forty moves over many cells, back over some of them, with a jump: still one stroke.
        window->pickTile2()->setEditText(u"3C"_s);
        mDriver.press(2, 1, Qt::RightButton);
        for (int column = 2; column <= 20; ++column)
            mDriver.moveTo(2, column);
        for (int row = 3; row <= 12; ++row)
            mDriver.moveTo(row, 20);
        for (int column = 19; column >= 10; --column)
            mDriver.moveTo(12, column);
        mDriver.moveTo(5, 10);
        mDriver.release(5, 10, Qt::RightButton);
        break;
    case Step::EraseStroke:
        mDriver.press(1, 0, Qt::MiddleButton);
        for (int column = 1; column <= 6; ++column)
            mDriver.moveTo(1, column);
        mDriver.release(1, 6, Qt::MiddleButton);
        break;
    case Step::ClearColor:
        QTest::mouseClick(window->clearColorButton(), Qt::LeftButton);
        break;
    case Step::TextureFiller:
        window->pickTile()->setEditText(u"C4"_s);
        QTest::mouseClick(window->textureFillerButton(), Qt::LeftButton);
        break;
    case Step::OpenTrackFile: {
        const QString path = mFixture->folder.filePath(u"pattern.bin"_s);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(*track::toBytes(track::encode(patternTexts())));
        file.close();
        mFixture->dialog.pick(path);
        mDriver.key(Qt::Key_O, Qt::ControlModifier);
        break;
    }
    }
}

void TestWindowUndo::everyStepIsOneUndoableStep_data()
{
    QTest::addColumn<Step>("step");
    QTest::newRow("press") << Step::Press;
    QTest::newRow("drag with many moves") << Step::Drag;
    QTest::newRow("middle-button erase stroke") << Step::EraseStroke;
    QTest::newRow("Clear Color") << Step::ClearColor;
    QTest::newRow("Texture Filler") << Step::TextureFiller;
    QTest::newRow("opening a track file") << Step::OpenTrackFile;
}

void TestWindowUndo::everyStepIsOneUndoableStep()
{
    QFETCH(Step, step);
    const test::MapState before = mDriver.state();
    apply(step);
    const test::MapState after = mDriver.state();
    QVERIFY(after != before);
    QCOMPARE(steps(), 1);

    mDriver.undo();
    QVERIFY(mDriver.state() == before);
    mDriver.redoShiftZ();
    QVERIFY(mDriver.state() == after);
    mDriver.undo();
    QVERIFY(mDriver.state() == before);
    mDriver.redoY();
    QVERIFY(mDriver.state() == after);
    QCOMPARE(steps(), 1);
}

void TestWindowUndo::undoAndRedoThroughASequenceOfSteps()
{
    const Step sequence[] = {Step::Press,        Step::Drag,  Step::OpenTrackFile, Step::Press,
                             Step::EraseStroke,  Step::TextureFiller, Step::Drag,
                             Step::ClearColor};
    QList<test::MapState> states{mDriver.state()};
    for (Step step : sequence) {
        apply(step);
        states.append(mDriver.state());
        QCOMPARE(steps(), states.size() - 1);
    }
    QCOMPARE(mDriver.cell(5, 10), (Cell{u"3C"_s, Mark::Untouched}));

    for (qsizetype i = states.size() - 2; i >= 0; --i) {
        mDriver.undo();
        QVERIFY2(mDriver.state() == states.at(i), qPrintable(u"after undo to state %1"_s.arg(i)));
    }
    mDriver.undo(); // nothing left to undo
    QVERIFY(mDriver.state() == states.first());
    for (qsizetype i = 1; i < states.size(); ++i) {
        if (i % 2)
            mDriver.redoShiftZ();
        else
            mDriver.redoY();
        QVERIFY2(mDriver.state() == states.at(i), qPrintable(u"after redo to state %1"_s.arg(i)));
    }
    mDriver.redoY(); // nothing left to redo
    QVERIFY(mDriver.state() == states.last());
}

void TestWindowUndo::undoLeavesTheLastExportAlone()
{
    test::ScriptedFileDialog &dialog = mFixture->dialog;
    test::ScriptedMessageBoxes &messages = mFixture->messages;
    const QString path = mFixture->folder.filePath(u"saved.bin"_s);
    dialog.pick(path);
    mDriver.key(Qt::Key_S, Qt::ControlModifier);
    QVERIFY(QFile::exists(path));
    const TrackState saved = mDriver.window->actions().trackState();
    QCOMPARE(saved.lastExportPath, path);

    mDriver.click(7, 7);
    mDriver.click(8, 8);
    mDriver.undo();
    mDriver.undo();
    QCOMPARE(mDriver.window->actions().trackState().lastExport, saved.lastExport);
    QCOMPARE(mDriver.window->actions().trackState().lastExportPath, path);

    // The map is the exported one again: saving asks first, and No writes nothing.
    const qsizetype shown = dialog.showings().size();
    const qsizetype asked = messages.messages().size();
    messages.answer(MessageBoxes::Answer::No);
    QTest::mouseClick(mDriver.window->saveCourseButton(), Qt::LeftButton);
    QCOMPARE(messages.messages().size(), asked + 1);
    QCOMPARE(messages.messages().last().title, u"No changes?"_s);
    QCOMPARE(dialog.showings().size(), shown);
    // A redo makes it differ again: the next save goes straight to the dialog.
    mDriver.redoY();
    dialog.cancel();
    mDriver.key(Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(messages.messages().size(), asked + 1);
    QCOMPARE(dialog.showings().size(), shown + 1);
    QCOMPARE(messages.unexpected(), 0);
}

void TestWindowUndo::undoAfterTypingATileNumberUndoesThePaint()
{
    // A user types a tile number, paints with it and presses Ctrl+Z: the paint goes, the typed
    // number stays.
    QLineEdit *edit = mDriver.window->pickTile()->lineEdit();
    QTest::mouseClick(edit, Qt::LeftButton);
    edit->selectAll();
    QTest::keyClicks(edit, u"3B"_s);
    const test::MapState before = mDriver.state();
    mDriver.click(6, 6);
    QCOMPARE(mDriver.cell(6, 6), (Cell{u"3B"_s, Mark::Painted}));
    QTest::keyClick(mDriver.window->windowHandle(), Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(mDriver.state() == before);
    QCOMPARE(mDriver.window->pickTile()->currentText(), u"3B"_s);
    QTest::keyClick(mDriver.window->windowHandle(), Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(mDriver.cell(6, 6), (Cell{u"3B"_s, Mark::Painted}));
}

VELMOR_TEST_MAIN(TestWindowUndo)
#include "test_window_undo.moc"
