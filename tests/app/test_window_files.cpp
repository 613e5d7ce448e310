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

enum class Trigger { Keys, Button };
// What happened to the map before the window is closed.
enum class History { Nothing, Painted, PaintedThenSaved, PaintedThenUndone, Opened, OpenedThenPainted };
enum class SaveDialog { NotShown, Cancelled, Picked };

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The bytes a track file of these cell texts must hold.
QByteArray trackBytes(const QStringList &texts)
{
    return track::toBytes(track::encode(texts)).value_or(QByteArray());
}

QStringList patternTexts()
{
    QStringList texts;
    for (int i = 0; i < CellCount; ++i)
        texts.append(u"%1"_s.arg((i * 5 + i / MapSide) % 256, 2, 16, QLatin1Char('0')).toUpper());
    return texts;
}

} // namespace

// Saving, opening, the palettes' edit fields and the close question, through the window's keys,
// buttons and fields, with scripted dialogs and real files in a temporary folder.
class TestWindowFiles : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { mFixture.reset(); }

    void savesTheMapByteForByte_data();
    void savesTheMapByteForByte();
    void refusesToSaveAHalfTypedTileNumber();
    void opensATrackFile_data();
    void opensATrackFile();
    void aMalformedTrackFileLeavesTheMapAlone();
    void paletteFieldsTakeTwoHexadecimalDigits_data();
    void paletteFieldsTakeTwoHexadecimalDigits();
    void closeAsksBeforeUnsavedWorkIsLost_data();
    void closeAsksBeforeUnsavedWorkIsLost();

private:
    void paintSomething() const;
    void trigger(Trigger how, Qt::Key key, QPushButton *button) const;
    QString path(const QString &name) const { return mFixture->folder.filePath(name); }
    test::ScriptedFileDialog &dialog() const { return mFixture->dialog; }
    test::ScriptedMessageBoxes &messages() const { return mFixture->messages; }

    std::unique_ptr<test::WindowFixture> mFixture;
    test::WindowDriver mDriver{nullptr};
};

void TestWindowFiles::init()
{
    mFixture = std::make_unique<test::WindowFixture>();
    mDriver.window = mFixture->window.get();
    QVERIFY2(test::WindowDriver::showForInput(mDriver.window),
             "the window did not become active within 5 s");
}

void TestWindowFiles::paintSomething() const
{
    mDriver.window->pickTile()->setEditText(u"2A"_s);
    mDriver.window->pickTile2()->setEditText(u"3c"_s);
    mDriver.click(0, 0);
    mDriver.press(4, 2, Qt::RightButton);
    mDriver.moveTo(4, 9);
    mDriver.release(4, 9, Qt::RightButton);
    mDriver.press(4, 5, Qt::MiddleButton);
    mDriver.release(4, 5, Qt::MiddleButton);
    mDriver.click(18, 30);
}

void TestWindowFiles::trigger(Trigger how, Qt::Key key, QPushButton *button) const
{
    if (how == Trigger::Keys)
        mDriver.key(key, Qt::ControlModifier);
    else
        QTest::mouseClick(button, Qt::LeftButton);
}

void TestWindowFiles::savesTheMapByteForByte_data()
{
    QTest::addColumn<Trigger>("how");
    QTest::addColumn<bool>("paint");
    QTest::newRow("Ctrl+S, fresh map") << Trigger::Keys << false;
    QTest::newRow("Ctrl+S, painted map") << Trigger::Keys << true;
    QTest::newRow("Save Course To File, painted map") << Trigger::Button << true;
}

void TestWindowFiles::savesTheMapByteForByte()
{
    QFETCH(Trigger, how);
    QFETCH(bool, paint);
    if (paint)
        paintSomething();
    const QString target = path(u"course.bin"_s);
    dialog().pick(target);
    trigger(how, Qt::Key_S, mDriver.window->saveCourseButton());

    QCOMPARE(dialog().showings().size(), 2); // the declined first-run pick, then this one
    const auto &showing = dialog().showings().last();
    QCOMPARE(showing.mode, FileDialog::Mode::Save);
    QCOMPARE(showing.settings.title, u"Name Your Course"_s);
    QCOMPARE(showing.settings.fileName, u"newtrack.bin"_s);
    QCOMPARE(showing.settings.filter, u"BIN Files (*.bin)|*.bin"_s);
    QCOMPARE(showing.settings.defaultExtension, u"bin"_s);
    const QByteArray written = readAll(target);
    QCOMPARE(written, trackBytes(mDriver.window->courseMap().texts()));
    if (!paint)
        QCOMPARE(written.size(), 1025);
    else
        QCOMPARE(mDriver.cell(4, 2).text, u"3c"_s); // written as the byte 0x3C
    QCOMPARE(messages().messages().last().title, u"Successful Export"_s);
    QCOMPARE(messages().messages().last().text,
             u"Track Exported to "_s + target.toUpper() + u" successfully!"_s);
    QVERIFY(!mDriver.window->actions().isModified());

    // Once more, unchanged: asked first, then the dialog offers the file just written.
    messages().answer(MessageBoxes::Answer::Yes);
    dialog().pick(target);
    messages().answer(MessageBoxes::Answer::Yes);
    trigger(how, Qt::Key_S, mDriver.window->saveCourseButton());
    const QStringList titles = messages().titles().mid(messages().titles().size() - 3);
    QCOMPARE(titles, (QStringList{u"No changes?"_s, u"Overwrite "_s + target.toUpper() + u"?"_s,
                                  u"Successful Export"_s}));
    // Every showing offers "newtrack.bin" again, in the folder of the last pick.
    QCOMPARE(dialog().showings().last().settings.fileName, u"newtrack.bin"_s);
    QCOMPARE(dialog().showings().last().settings.directory, mFixture->folder.path());
    QCOMPARE(readAll(target), written);
    QCOMPARE(messages().unexpected(), 0);
}

void TestWindowFiles::refusesToSaveAHalfTypedTileNumber()
{
    QLineEdit *edit = mDriver.window->pickTile()->lineEdit();
    edit->selectAll();
    QTest::keyClicks(edit, u"7"_s);
    mDriver.click(3, 4);
    QCOMPARE(mDriver.cell(3, 4).text, u"7"_s);
    mDriver.key(Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(dialog().showings().size(), 1); // only the first-run pick: no save dialog
    QCOMPARE(messages().messages().last().title, u"Cannot Export"_s);
    QVERIFY2(messages().messages().last().text.contains(u"row 4, column 5 holds \"7\""_s),
             qPrintable(messages().messages().last().text));
    QVERIFY(mDriver.window->actions().trackState().lastExport.isEmpty());
}

void TestWindowFiles::opensATrackFile_data()
{
    QTest::addColumn<Trigger>("how");
    QTest::newRow("Ctrl+O") << Trigger::Keys;
    QTest::newRow("Import Course From File") << Trigger::Button;
}

void TestWindowFiles::opensATrackFile()
{
    QFETCH(Trigger, how);
    paintSomething();
    const QString source = path(u"pattern.bin"_s);
    QVERIFY(writeAll(source, trackBytes(patternTexts())));
    dialog().pick(source);
    const qsizetype messagesBefore = messages().messages().size();
    trigger(how, Qt::Key_O, mDriver.window->command2Button());

    const auto &showing = dialog().showings().last();
    QCOMPARE(showing.mode, FileDialog::Mode::Open);
    QCOMPARE(showing.settings.title, u"Import Course From File"_s);
    QVERIFY(showing.settings.filter.startsWith(u"BIN Files (*.bin)|*.bin|"_s));
    QVERIFY(showing.settings.filter.contains(u"SNES Files (*.smc *.sfc)"_s));
    QCOMPARE(mDriver.window->courseMap().texts(), patternTexts());
    QCOMPARE(mDriver.window->courseMap().marks(), QList<Mark>(CellCount, Mark::Untouched));
    QCOMPARE(messages().messages().size(), messagesBefore);
    // What was opened counts as saved: closing asks nothing.
    QVERIFY(!mDriver.window->actions().isModified());
}

void TestWindowFiles::aMalformedTrackFileLeavesTheMapAlone()
{
    paintSomething();
    const test::MapState before = mDriver.state();
    const int steps = mDriver.window->actions().history().stack()->count();
    const QString source = path(u"cut.bin"_s);
    QVERIFY(writeAll(source, trackBytes(patternTexts()).left(300)));
    dialog().pick(source);
    mDriver.key(Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(messages().messages().last().title, u"Import Course From File"_s);
    QVERIFY(messages().messages().last().text.contains(source.toUpper()));
    QVERIFY(mDriver.state() == before);
    QCOMPARE(mDriver.window->actions().history().stack()->count(), steps);
    QVERIFY(mDriver.window->actions().isModified());
}

void TestWindowFiles::paletteFieldsTakeTwoHexadecimalDigits_data()
{
    QTest::addColumn<QString>("palette");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    for (const QString &palette : {u"PickTile"_s, u"Picktile2"_s}) {
        const auto row = [&](const char *typed, const char16_t *shown) {
            QTest::addRow("%s: %s", qPrintable(palette), typed)
                << palette << QString::fromLatin1(typed) << QString::fromUtf16(shown);
        };
        row("g1zA", u"1A");
        row("abc", u"ab");
        row("0x7f", u"07");
        row("-+ G", u"00"); // nothing typed was taken
        row("Ff", u"Ff");
    }
}

void TestWindowFiles::paletteFieldsTakeTwoHexadecimalDigits()
{
    QFETCH(QString, palette);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    auto *combo = mDriver.window->findChild<QComboBox *>(palette);
    QVERIFY(combo);
    QTest::mouseClick(combo->lineEdit(), Qt::LeftButton);
    combo->lineEdit()->selectAll();
    QTest::keyClicks(combo->lineEdit(), typed);
    QCOMPARE(combo->currentText(), shown);
    // The field holds what the next press paints.
    const Qt::MouseButton button = palette == u"PickTile"_s ? Qt::LeftButton : Qt::RightButton;
    mDriver.click(9, 9, button);
    QCOMPARE(mDriver.cell(9, 9).text, shown);
}

void TestWindowFiles::closeAsksBeforeUnsavedWorkIsLost_data()
{
    QTest::addColumn<History>("history");
    QTest::addColumn<QList<MessageBoxes::Answer>>("answers");
    QTest::addColumn<SaveDialog>("saveDialog");
    QTest::addColumn<bool>("closes");
    using A = MessageBoxes::Answer;
    QTest::newRow("unchanged") << History::Nothing << QList<A>{} << SaveDialog::NotShown << true;
    QTest::newRow("painted, Cancel") << History::Painted << QList<A>{A::Cancel}
                                     << SaveDialog::NotShown << false;
    QTest::newRow("painted, No") << History::Painted << QList<A>{A::No} << SaveDialog::NotShown
                                 << true;
    QTest::newRow("painted, Yes, dialog cancelled")
        << History::Painted << QList<A>{A::Yes} << SaveDialog::Cancelled << false;
    QTest::newRow("painted, Yes, saved")
        << History::Painted << QList<A>{A::Yes} << SaveDialog::Picked << true;
    QTest::newRow("saved after painting")
        << History::PaintedThenSaved << QList<A>{} << SaveDialog::NotShown << true;
    QTest::newRow("painting undone") << History::PaintedThenUndone << QList<A>{}
                                     << SaveDialog::NotShown << true;
    QTest::newRow("opened") << History::Opened << QList<A>{} << SaveDialog::NotShown << true;
    QTest::newRow("painted after opening, Cancel")
        << History::OpenedThenPainted << QList<A>{A::Cancel} << SaveDialog::NotShown << false;
}

void TestWindowFiles::closeAsksBeforeUnsavedWorkIsLost()
{
    QFETCH(History, history);
    QFETCH(QList<MessageBoxes::Answer>, answers);
    QFETCH(SaveDialog, saveDialog);
    QFETCH(bool, closes);
    const QString saved = path(u"saved.bin"_s);
    const QString target = path(u"on-close.bin"_s);
    if (history == History::Opened || history == History::OpenedThenPainted) {
        QVERIFY(writeAll(path(u"pattern.bin"_s), trackBytes(patternTexts())));
        dialog().pick(path(u"pattern.bin"_s));
        mDriver.key(Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(mDriver.window->courseMap().texts(), patternTexts());
    }
    if (history != History::Nothing && history != History::Opened)
        paintSomething();
    if (history == History::PaintedThenSaved) {
        dialog().pick(saved);
        mDriver.key(Qt::Key_S, Qt::ControlModifier);
        QVERIFY(QFile::exists(saved));
    }
    if (history == History::PaintedThenUndone) {
        for (int i = 0; i < 4; ++i)
            mDriver.undo();
    }
    const qsizetype messagesBefore = messages().messages().size();
    const qsizetype showingsBefore = dialog().showings().size();
    for (MessageBoxes::Answer answer : answers)
        messages().answer(answer);
    if (saveDialog == SaveDialog::Picked)
        dialog().pick(target);
    else if (saveDialog == SaveDialog::Cancelled)
        dialog().cancel();

    QCOMPARE(mDriver.window->close(), closes);
    QCOMPARE(mDriver.window->isVisible(), !closes);
    if (answers.isEmpty()) {
        QCOMPARE(messages().messages().size(), messagesBefore);
    } else {
        const auto &question = messages().messages().at(messagesBefore);
        QCOMPARE(question.text, u"Save changes to the course before closing?"_s);
        QCOMPARE(question.buttons, MessageBoxes::Buttons::YesNoCancel);
    }
    QCOMPARE(dialog().showings().size(), showingsBefore + (saveDialog != SaveDialog::NotShown));
    if (saveDialog != SaveDialog::NotShown)
        QCOMPARE(dialog().showings().last().settings.title, u"Name Your Course"_s);
    if (saveDialog == SaveDialog::Picked)
        QCOMPARE(readAll(target), trackBytes(mDriver.window->courseMap().texts()));
    else
        QVERIFY(!QFile::exists(target));
    QCOMPARE(dialog().unanswered(), 0);
    QCOMPARE(messages().unanswered(), 0);
    QCOMPARE(messages().unexpected(), 0);
}

VELMOR_TEST_MAIN(TestWindowFiles)
#include "test_window_files.moc"
