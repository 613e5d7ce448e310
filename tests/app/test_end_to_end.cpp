#include "app/config_file.h"
#include "app/course_actions.h"
#include "app/client_window.h"
#include "app/splash.h"
#include "course/rom_insertion.h"
#include "course/track_file.h"
#include "editor/map_view.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "platform/services.h"
#include "platform/tool_runner.h"
#include "codec/codec.h"
#include "tests/support/scripted_ui.h"
#include "course/slot_budget.h"
#include "tests/support/test_main.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace velmor;
using namespace Qt::StringLiterals;
using Outcome = RomInsertion::Outcome;

namespace {

constexpr qsizetype HeaderedSize = 524800;
constexpr qsizetype PlainSize = 524288;
constexpr qint64 CopierHeader = 0x200;
constexpr qint64 MarioCircuit1 = 0x68f2c; // the course table's offset, header counted
// recomp.exe and decomp.exe take well under a second, also under the sanitizers.
constexpr int ToolWaitMs = 15000;

QByteArray compressed(const QByteArray &data)
{
    const codec::Bytes packed = codec::compress(codec::ByteView(
        reinterpret_cast<const std::uint8_t *>(data.constData()), std::size_t(data.size())));
    return QByteArray(reinterpret_cast<const char *>(packed.data()), qsizetype(packed.size()));
}

QByteArray courseStream(const QStringList &cells)
{
    return compressed(track::toBytes(track::encode(cells)).value());
}

QStringList noisyMap()
{
    QRandomGenerator random(5);
    QStringList cells;
    for (int i = 0; i < CellCount; ++i)
        cells.append(
            QStringLiteral("%1").arg(random.bounded(256), 2, 16, QLatin1Char('0')).toUpper());
    return cells;
}

qint64 slotOffset(bool withHeader)
{
    return withHeader ? MarioCircuit1 : MarioCircuit1 - CopierHeader;
}

// Random filler with the course `old` in Mario Circuit 1's slot.
QByteArray romWithCourse(bool withHeader, const QStringList &old)
{
    QByteArray image(withHeader ? HeaderedSize : PlainSize, Qt::Uninitialized);
    QRandomGenerator random(withHeader ? 17 : 19);
    for (char &byte : image)
        byte = char(random.bounded(256));
    const QByteArray stream = courseStream(old);
    image.replace(slotOffset(withHeader), stream.size(), stream);
    return image;
}

// The course the game would read: the ROM stream at the slot, then the track inside it.
QStringList courseInRom(const QByteArray &image, qint64 at)
{
    const auto view = codec::ByteView(reinterpret_cast<const std::uint8_t *>(image.constData()),
                                      std::size_t(image.size()))
                          .subspan(std::size_t(at));
    const codec::DecodeResult outer = codec::decode(view);
    if (!outer.ok)
        return {};
    return track::decode(QByteArray(reinterpret_cast<const char *>(outer.output.data()),
                                    qsizetype(outer.output.size())))
        .texts;
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

int countOf(const QStringList &texts, const QString &text)
{
    return int(texts.count(text));
}

// The program as a user with a finished set-up starts it: "Velmor.cfg" already names the real
// compressor and the user's ROM, so the insertion controls are enabled.
struct ConfiguredWindow
{
    QTemporaryDir folder;
    QString previousDirectory = QDir::currentPath();
    test::ScriptedFileDialog dialog;
    test::ScriptedMessageBoxes messages;
    QtFileSystem files;
    ToolRunner tools;
    Services services{dialog, messages, files, &tools};
    std::unique_ptr<ClientWindow> window;
    QString userRom = folder.filePath(u"kart.smc"_s);
    // Why the window is not ready for the test; empty when it is.
    QString notReady;

    explicit ConfiguredWindow(const QByteArray &userRomBytes)
    {
        const Configuration config{QStringLiteral(VELMOR_RECOMP),
                                   folder.path() + QLatin1Char('/'), userRom, u"kart"_s};
        QString error;
        if (!writeBytes(userRom, userRomBytes))
            notReady = u"cannot write the user's ROM"_s;
        else if (!ConfigFile::write(files, folder.filePath(u"Velmor.cfg"_s), config, &error))
            notReady = u"cannot write Velmor.cfg: "_s + error;
        QDir::setCurrent(folder.path());
        window = std::make_unique<ClientWindow>(services);
        window->load();
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get()) && notReady.isEmpty())
            notReady = u"the window was not shown within 5 s"_s;
        window->splash()->hide();
    }
    ~ConfiguredWindow()
    {
        window.reset();
        QDir::setCurrent(previousDirectory);
    }
    QString path(const QString &name) const { return folder.filePath(name); }
};

} // namespace

// The whole road through the real window: paint with the mouse, "From Velmor", the real
// compressor writing into a synthetic ROM, and the course read back three ways.
class TestEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { mWindow.reset(); }
    void paintedCourseComesBackFromTheRom_data();
    void paintedCourseComesBackFromTheRom();
    void courseTooBigLeavesTheRomAndSaysWhy_data();
    void courseTooBigLeavesTheRomAndSaysWhy();

private:
    // One stroke: press on the first cell, drag over the others, release on the last.
    void stroke(Qt::MouseButton button, const QString &tile, const QList<QPoint> &cells);
    ClientWindow *window() { return mWindow->window.get(); }

    std::unique_ptr<ConfiguredWindow> mWindow;
};

void TestEndToEnd::stroke(Qt::MouseButton button, const QString &tile, const QList<QPoint> &cells)
{
    QComboBox *palette = button == Qt::RightButton ? window()->pickTile2() : window()->pickTile();
    palette->setEditText(tile);
    // (column, row) of a cell to the middle of that cell, in the window's pixels.
    auto at = [this](QPoint cell) {
        return window()->mapView()->mapTo(window(), QPoint(cell.x() * 16 + 8, cell.y() * 16 + 8));
    };
    QWindow *handle = window()->windowHandle();
    QTest::mousePress(handle, button, {}, at(cells.first()));
    for (const QPoint &cell : cells)
        QTest::mouseMove(handle, at(cell));
    QTest::mouseRelease(handle, button, {}, at(cells.last()));
}

void TestEndToEnd::paintedCourseComesBackFromTheRom_data()
{
    QTest::addColumn<bool>("withHeader");
    QTest::addColumn<bool>("romExists");
    QTest::newRow("copier header, new ROM") << true << false;
    QTest::newRow("copier header, existing ROM") << true << true;
    QTest::newRow("no header, new ROM") << false << false;
    QTest::newRow("no header, existing ROM") << false << true;
}

void TestEndToEnd::paintedCourseComesBackFromTheRom()
{
    QFETCH(bool, withHeader);
    QFETCH(bool, romExists);
    const QByteArray userRom = romWithCourse(withHeader, noisyMap());
    mWindow = std::make_unique<ConfiguredWindow>(userRom);
    QVERIFY2(mWindow->notReady.isEmpty(), qPrintable(mWindow->notReady));
    QVERIFY(window()->fromVelmorButton()->isEnabled());
    QCOMPARE(window()->courseList()->currentText(), u"68f2c - Mario Circuit 1"_s);

    stroke(Qt::LeftButton, u"2A"_s, {{1, 2}, {2, 2}, {15, 2}, {15, 6}});
    stroke(Qt::RightButton, u"C4"_s, {{3, 1}, {3, 10}});
    stroke(Qt::LeftButton, u"0F"_s, {{12, 9}});
    const QStringList painted = window()->courseMap().texts();
    // The right stroke crosses the first one and wins the cell they share.
    QCOMPARE(countOf(painted, u"2A"_s), 18);
    QCOMPARE(countOf(painted, u"C4"_s), 10);
    QCOMPARE(countOf(painted, u"0F"_s), 1);

    const QString trackPath = mWindow->path(u"painted course.bin"_s);
    const QString romPath = mWindow->path(u"kart_velmor.smc"_s);
    if (romExists) {
        QVERIFY(writeBytes(romPath, userRom));
        mWindow->messages.answer(MessageBoxes::Answer::Yes); // "Overwrite ...?"
    }
    mWindow->dialog.pick(trackPath);
    mWindow->dialog.pick(romPath);
    QSignalSpy ended(&window()->actions().insertion(), &RomInsertion::finished);
    QTest::mouseClick(window()->fromVelmorButton(), Qt::LeftButton);

    // The tool runs on its own: nothing claims success before it has ended.
    QCOMPARE(window()->actions().insertion().runningTools(), 1);
    QVERIFY(ended.isEmpty());
    QCOMPARE(countOf(mWindow->messages.titles(), u"Successful Export"_s), 1);
    QCOMPARE(countOf(mWindow->messages.titles(), u"Successful Import"_s), 0);
    QVERIFY2(ended.wait(ToolWaitMs), "the insertion did not end within 15 s");
    QCOMPARE(ended.size(), 1);
    QCOMPARE(ended.at(0).at(0).value<Outcome>(), Outcome::Imported);
    QCOMPARE(mWindow->messages.titles().last(), u"Successful Import"_s);
    QCOMPARE(countOf(mWindow->messages.titles(), u"Successful Import"_s), 1);
    QCOMPARE(mWindow->dialog.unexpected(), 0);
    QCOMPARE(mWindow->messages.unexpected(), 0);
    QCOMPARE(mWindow->messages.unanswered(), 0);
    // The ROM dialog offered the working ROM by name, in the user's ROM folder.
    const auto romDialog = mWindow->dialog.showings().last().settings;
    QCOMPARE(romDialog.title, u"Choose an SMK ROM, or make a NEW one."_s);
    QCOMPARE(romDialog.fileName, u"kart_velmor.smc"_s);
    QCOMPARE(QDir(romDialog.directory), QDir(mWindow->folder.path()));

    // The codec reads the painted map where the game reads it; the bytes before the slot are the
    // user's own.
    const QByteArray after = readBytes(romPath);
    QCOMPARE(after.size(), userRom.size());
    QCOMPARE(courseInRom(after, slotOffset(withHeader)), painted);
    QCOMPARE(after.left(slotOffset(withHeader)), userRom.left(slotOffset(withHeader)));
    QVERIFY(after != userRom);
    // The budget the status bar shows is the size the compressor wrote.
    const auto *rom = reinterpret_cast<const std::uint8_t *>(after.constData());
    const codec::DecodeResult written = codec::decode(
        codec::ByteView(rom + slotOffset(withHeader), std::size_t(after.size() - slotOffset(withHeader))));
    QCOMPARE(compressedSize(painted), std::optional<std::size_t>(written.consumed));

    // The real decompressor gives back the track file byte for byte.
    const QByteArray trackBytes = readBytes(trackPath);
    QVERIFY(!trackBytes.isEmpty());
    const QString extracted = mWindow->path(u"read back.bin"_s);
    QProcess decomp;
    decomp.start(QStringLiteral(VELMOR_DECOMP),
                 {romPath, extracted, QString::number(slotOffset(withHeader), 16), u"4"_s, u"0"_s});
    QVERIFY2(decomp.waitForFinished(ToolWaitMs), "decomp.exe did not end within 15 s");
    QCOMPARE(decomp.exitStatus(), QProcess::NormalExit);
    QVERIFY2(decomp.exitCode() == 0, decomp.readAllStandardError().constData());
    QCOMPARE(readBytes(extracted), trackBytes);

    // The editor opens the course from the ROM again, over a map changed since.
    stroke(Qt::LeftButton, u"77"_s, {{20, 15}, {24, 15}});
    QVERIFY(window()->courseMap().texts() != painted);
    const qsizetype shown = mWindow->messages.messages().size();
    mWindow->dialog.pick(romPath);
    QTest::mouseClick(window()->command2Button(), Qt::LeftButton);
    QCOMPARE(window()->courseMap().texts(), painted);
    QCOMPARE(mWindow->messages.messages().size(), shown);
    QCOMPARE(mWindow->dialog.unanswered(), 0);
    QCOMPARE(mWindow->dialog.unexpected(), 0);
}

void TestEndToEnd::courseTooBigLeavesTheRomAndSaysWhy_data()
{
    QTest::addColumn<bool>("withHeader");
    QTest::addColumn<QString>("toolOffset");
    QTest::newRow("copier header") << true << u"0x68f2c"_s;
    QTest::newRow("no header") << false << u"0x68d2c"_s;
}

void TestEndToEnd::courseTooBigLeavesTheRomAndSaysWhy()
{
    QFETCH(bool, withHeader);
    QFETCH(QString, toolOffset);
    // The slot holds the course of a fresh map: a few bytes that no busy course fits into.
    const QStringList fresh(CellCount, u"01"_s);
    const QByteArray userRom = romWithCourse(withHeader, fresh);
    mWindow = std::make_unique<ConfiguredWindow>(userRom);
    QVERIFY2(mWindow->notReady.isEmpty(), qPrintable(mWindow->notReady));
    QCOMPARE(window()->courseMap().texts(), fresh);

    stroke(Qt::LeftButton, u"2A"_s, {{0, 0}, {10, 10}, {20, 0}});
    stroke(Qt::RightButton, u"C4"_s, {{0, 16}, {28, 16}, {28, 1}});
    stroke(Qt::LeftButton, u"E5"_s, {{5, 3}, {5, 14}, {25, 14}});
    const QStringList painted = window()->courseMap().texts();
    QVERIFY(courseStream(painted).size() > courseStream(fresh).size());

    const QString romPath = mWindow->path(u"kart_velmor.smc"_s);
    QVERIFY(writeBytes(romPath, userRom));
    mWindow->dialog.pick(mWindow->path(u"busy.bin"_s));
    mWindow->dialog.pick(romPath);
    mWindow->messages.answer(MessageBoxes::Answer::Yes); // "Overwrite ...?"
    QSignalSpy ended(&window()->actions().insertion(), &RomInsertion::finished);
    window()->fromVelmorButton()->click();
    QVERIFY2(ended.wait(ToolWaitMs), "the insertion did not end within 15 s");
    QCOMPARE(ended.size(), 1);
    QCOMPARE(ended.at(0).at(0).value<Outcome>(), Outcome::Failed);

    QCOMPARE(readBytes(romPath), userRom);
    QCOMPARE(countOf(mWindow->messages.titles(), u"Successful Import"_s), 0);
    QCOMPARE(mWindow->messages.titles().last(), u"Import Failed"_s);
    const QString text = mWindow->messages.messages().last().text;
    QVERIFY2(text.contains(displayPath(romPath)), qPrintable(text));
    QVERIFY2(text.contains(u"exit status 1"_s), qPrintable(text));
    const QRegularExpression reason(u"needs (\\d+) bytes, Mario Circuit 1's slot at "_s + toolOffset
                                    + u" holds (\\d+)"_s);
    const QRegularExpressionMatch match = reason.match(text);
    QVERIFY2(match.hasMatch(), qPrintable(text));
    QCOMPARE(match.captured(2).toLongLong(), qlonglong(courseStream(fresh).size()));
    QVERIFY(match.captured(1).toLongLong() > match.captured(2).toLongLong());
    // The map is the user's work and stays as painted.
    QCOMPARE(window()->courseMap().texts(), painted);
}

VELMOR_TEST_MAIN(TestEndToEnd)
#include "test_end_to_end.moc"
