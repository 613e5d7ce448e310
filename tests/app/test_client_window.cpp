#include "app/splash.h"
#include "app/window_controls.h"
#include "editor/map_scroller.h"
#include "editor/map_view.h"
#include "tests/app/window_fixture.h"
#include "tests/support/test_main.h"

#include "document/course_ref.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QTimer>

using namespace velmor;
using namespace Qt::StringLiterals;

namespace {

QWidget *child(QWidget *window, const QString &name)
{
    return window->findChild<QWidget *>(name);
}

// Position among the window's children: later ones lie in front.
qsizetype stackIndex(QWidget *window, const QString &name)
{
    return window->children().indexOf(child(window, name));
}

// QLineEdit keeps this many pixels free on either side of its text, inside its contents.
constexpr int LineEditTextMargin = 2;

// Why a control cannot show a text whole with the font it has, or nothing when it can.
QString cutOff(QWidget *control, const QString &text)
{
    const QFontMetrics metrics(control->font());
    const int width = metrics.horizontalAdvance(text);
    QRect room;
    bool wraps = false;
    if (auto *button = qobject_cast<QPushButton *>(control)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = text;
        room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    } else if (auto *label = qobject_cast<QLabel *>(control)) {
        room = label->contentsRect().adjusted(label->margin(), label->margin(), -label->margin(),
                                              -label->margin());
        wraps = label->wordWrap();
        if (wraps) {
            const QRect needed = metrics.boundingRect(
                room, int(label->alignment()) | Qt::TextWordWrap, text);
            if (needed.height() > room.height()) {
                return u"\"%1\" needs %2 pixels of height, %3 has %4"_s.arg(text)
                    .arg(needed.height())
                    .arg(control->objectName())
                    .arg(room.height());
            }
            for (const QString &word : text.split(u' ', Qt::SkipEmptyParts)) {
                if (metrics.horizontalAdvance(word) > room.width()) {
                    return u"the word \"%1\" is wider than %2"_s.arg(word,
                                                                       control->objectName());
                }
            }
            return {};
        }
    } else if (auto *combo = qobject_cast<QComboBox *>(control)) {
        room = combo->lineEdit()->contentsRect().adjusted(LineEditTextMargin, 0,
                                                          -LineEditTextMargin, 0);
    }
    if (width > room.width() || metrics.height() > control->height()) {
        return u"\"%1\" needs %2 x %3 pixels, %4 shows %5 x %6"_s.arg(text)
            .arg(width)
            .arg(metrics.height())
            .arg(control->objectName())
            .arg(room.width())
            .arg(control->height());
    }
    return {};
}

} // namespace

// The window's controls: names, kinds, places, texts, fonts, stacking, and the load sequence.
class TestClientWindow : public QObject
{
    Q_OBJECT

private slots:
    void init() { mFixture = std::make_unique<test::WindowFixture>(); }
    void cleanup() { mFixture.reset(); }

    void window();
    void controlPlaces_data();
    void controlPlaces();
    void rulerPlaces();
    void texts_data();
    void texts();
    void fonts_data();
    void fonts();
    void fontFallback();
    void textsFit_data();
    void textsFit();
    void command2IsShownAsTheOpener();
    void stackingOrder();
    void scrollBarRanges();
    void palettesAfterLoad();
    void gridAfterLoad();
    void splashTimerStartedLast();
    void scrollBarsMoveTheMap();
    void thumbDragMovesTheMap();
    void clearColorAndTextureFillerButtons();

private:
    QWidget *win() { return mFixture->window.get(); }
    std::unique_ptr<test::WindowFixture> mFixture;
};

void TestClientWindow::window()
{
    QCOMPARE(win()->objectName(), u"velmor"_s);
    QCOMPARE(win()->windowTitle(), u"Velmor Beta v.3"_s);
    QCOMPARE(win()->size(), QSize(720, 421));
    QCOMPARE(win()->minimumSize(), QSize(720, 421));
    QCOMPARE(win()->maximumSize(), QSize(720, 421));
    QVERIFY(!win()->windowIcon().isNull());
    // The map cells show the project's own 32 x 32 pointer.
    const QCursor cursor = child(win(), u"Frame2"_s)->cursor();
    QCOMPARE(cursor.shape(), Qt::BitmapCursor);
    QCOMPARE(cursor.pixmap().size(), QSize(32, 32));
    QCOMPARE(win()->windowIcon().availableSizes().value(0), QSize(32, 32));
}

void TestClientWindow::controlPlaces_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QRect>("pixels");
    const struct { const char16_t *name; const char *kind; QRect pixels; } rows[] = {
        {u"SaveCourse", "QPushButton", {576, 272, 137, 17}},
        {u"FromFile", "QPushButton", {576, 376, 137, 17}},
        {u"CourseList", "QComboBox", {576, 312, 137, 21}},
        {u"Splash", "QLabel", {152, 104, 291, 152}},
        {u"VScroll1", "QScrollBar", {544, 24, 17, 321}},
        {u"HScroll1", "QScrollBar", {32, 8, 513, 17}},
        {u"Command2", "QPushButton", {576, 248, 137, 17}},
        {u"Frame1", "QFrame", {32, 24, 529, 321}},
        {u"Command1", "QPushButton", {576, 96, 137, 25}},
        {u"Picktile2", "QComboBox", {648, 40, 65, 21}},
        {u"FromVelmor", "QPushButton", {576, 355, 137, 17}},
        {u"PickTile", "QComboBox", {576, 40, 65, 21}},
        {u"TextureFiller", "QPushButton", {576, 64, 137, 25}},
        {u"Label2", "QLabel", {576, 0, 137, 25}},
        {u"Label1", "QLabel", {576, 24, 137, 17}},
        {u"Label3", "QLabel", {576, 340, 137, 17}},
        {u"Label6", "QLabel", {576, 296, 137, 17}},
        {u"Label5", "QLabel", {8, 400, 705, 17}},
        {u"Label4", "QLabel", {0, 0, 569, 393}},
        {u"Printer", "QLabel", {576, 128, 137, 113}},
        {u"Label7", "QLabel", {577, 1, 137, 25}},
    };
    for (const auto &row : rows) {
        const QString name = QString::fromUtf16(row.name);
        QTest::newRow(qPrintable(name)) << name << QString::fromLatin1(row.kind) << row.pixels;
    }
}

void TestClientWindow::controlPlaces()
{
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(QRect, pixels);
    QWidget *control = child(win(), name);
    QVERIFY2(control, qPrintable(name));
    QVERIFY(control->inherits(qPrintable(kind)));
    QCOMPARE(control->parentWidget(), win());
    QCOMPARE(control->geometry(), pixels);
}

void TestClientWindow::rulerPlaces()
{
    for (int i = 0; i < 32; ++i) {
        auto *label = win()->findChild<QLabel *>(u"gridpos2(%1)"_s.arg(i));
        QVERIFY(label);
        QCOMPARE(label->geometry(), QRect(32 + 16 * i, 344, 11, 41));
        QVERIFY(label->wordWrap());
    }
    for (int i = 0; i < 20; ++i) {
        auto *label = win()->findChild<QLabel *>(u"gridpos(%1)"_s.arg(i));
        QVERIFY(label);
        QCOMPARE(label->geometry(), QRect(8, 24 + 16 * i, 25, 17));
        QVERIFY(label->alignment() & Qt::AlignRight);
    }
    QVERIFY(!win()->findChild<QLabel *>(u"gridpos(20)"_s));
    QVERIFY(!win()->findChild<QLabel *>(u"gridpos2(32)"_s));
}

void TestClientWindow::texts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::newRow("SaveCourse") << u"SaveCourse"_s << u"Save Course To File"_s;
    QTest::newRow("FromFile") << u"FromFile"_s << u"From File"_s;
    QTest::newRow("FromVelmor") << u"FromVelmor"_s << u"From Velmor"_s;
    QTest::newRow("Command1") << u"Command1"_s << u"Clear Color"_s;
    QTest::newRow("Command2") << u"Command2"_s << u"Import Course From File"_s;
    QTest::newRow("TextureFiller") << u"TextureFiller"_s << u"Texture Filler"_s;
    QTest::newRow("Label2") << u"Label2"_s << u"Velmor Beta v.3"_s;
    QTest::newRow("Label7") << u"Label7"_s << u"Velmor Beta v.3"_s;
    QTest::newRow("Label1") << u"Label1"_s << u"Choose A Texture:"_s;
    QTest::newRow("Label3") << u"Label3"_s << u"Export to ROM:"_s;
    QTest::newRow("Label6") << u"Label6"_s << u"Import Course To:"_s;
    QTest::newRow("Label4") << u"Label4"_s << QString();
    QTest::newRow("Printer")
        << u"Printer"_s
        << u"Please read the README and the other documents.  They will help clear up any "
           "questions. If not, just drop me an e-mail. This is beta. Please report any bugs you "
           "find. HAVE FUN!"_s;
    QTest::newRow("CourseList") << u"CourseList"_s << u"68f2c - Mario Circuit 1"_s;
    QTest::newRow("PickTile") << u"PickTile"_s << u"00"_s;
    QTest::newRow("Picktile2") << u"Picktile2"_s << u"00"_s;
}

void TestClientWindow::texts()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QWidget *control = child(win(), name);
    QVERIFY(control);
    if (auto *button = qobject_cast<QPushButton *>(control))
        QCOMPARE(button->text(), text);
    else if (auto *label = qobject_cast<QLabel *>(control))
        QCOMPARE(label->text(), text);
    else if (auto *combo = qobject_cast<QComboBox *>(control))
        QCOMPARE(combo->currentText(), text);
    else
        QFAIL("no text to compare");
}

void TestClientWindow::fonts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("family"); // as requested, before the system's own substitution
    QTest::addColumn<double>("points");
    QTest::addColumn<bool>("bold");
    QTest::newRow("SaveCourse") << u"SaveCourse"_s << u"MS Sans Serif"_s << 8.25 << true;
    QTest::newRow("FromFile") << u"FromFile"_s << u"MS Sans Serif"_s << 9.75 << true;
    QTest::newRow("FromVelmor") << u"FromVelmor"_s << u"MS Sans Serif"_s << 9.75 << true;
    QTest::newRow("CourseList") << u"CourseList"_s << u"MS Serif"_s << 8.25 << false;
    QTest::newRow("Label2") << u"Label2"_s << u"MS Sans Serif"_s << 12.0 << true;
    QTest::newRow("Label7") << u"Label7"_s << u"MS Sans Serif"_s << 12.0 << true;
    QTest::newRow("Label1") << u"Label1"_s << u"MS Sans Serif"_s << 8.25 << true;
    QTest::newRow("gridpos2(0)") << u"gridpos2(0)"_s << u"MS Serif"_s << 6.75 << true;
    QTest::newRow("Frame2 cells") << u"Frame2"_s << u"MS Serif"_s << 6.0 << false;
}

void TestClientWindow::fonts()
{
    QFETCH(QString, name);
    QFETCH(QString, family);
    QFETCH(double, points);
    QFETCH(bool, bold);
    QWidget *control = child(win(), name);
    QVERIFY(control);
    // The Windows face where installed, else the first installed face of the fallback list.
    const QStringList fallbacks = family == u"MS Serif"_s ? serifFamilies() : sansFamilies();
    QCOMPARE(fallbacks.first(), family);
    const QString installed = firstInstalledFamily(fallbacks);
    QCOMPARE(control->font().families(), installed.isEmpty() ? fallbacks : QStringList{installed});
    QCOMPARE(control->font().pointSizeF(), points);
    QCOMPARE(control->font().bold(), bold);
}

void TestClientWindow::fontFallback()
{
    const QString present = QFontDatabase::families().value(0);
    QVERIFY(!present.isEmpty());
    QCOMPARE(firstInstalledFamily({u"No Such Face Velmor"_s, present}), present);
    QCOMPARE(firstInstalledFamily({u"No Such Face Velmor"_s}), QString());
    // Without any installed face the whole list is requested, and the style hint decides.
    QCOMPARE(sansFont(8.25).styleHint(), QFont::SansSerif);
    QCOMPARE(serifFont(8.25).styleHint(), QFont::Serif);
}

void TestClientWindow::textsFit_data()
{
    // With the fonts the window really gets here: every described text, and the widest that the
    // rulers and the course list come to show.
    texts_data();
    QTest::newRow("gridpos(19) at the bottom") << u"gridpos(19)"_s << u"128"_s;
    QTest::newRow("gridpos2(31) at the right") << u"gridpos2(31)"_s << u"1 2 8"_s;
    for (const QString &entry : courseListEntries())
        QTest::newRow(qPrintable(u"CourseList "_s + entry)) << u"CourseList"_s << entry;
}

void TestClientWindow::textsFit()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QWidget *control = child(win(), name);
    QVERIFY(control);
    win()->ensurePolished();
    const QString problem = cutOff(control, text);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

void TestClientWindow::command2IsShownAsTheOpener()
{
    win()->show();
    QVERIFY2(QTest::qWaitForWindowExposed(win()), "the window was not shown within 5 s");
    auto *opener = qobject_cast<QPushButton *>(child(win(), u"Command2"_s));
    QVERIFY(opener && opener->isVisible());
    QCOMPARE(opener->text(), u"Import Course From File"_s);
    QVERIFY(child(win(), u"SaveCourse"_s)->isVisible());
}

void TestClientWindow::stackingOrder()
{
    QWidget *w = win();
    // Among labels, those named earlier lie in front: the title over its red shadow.
    QVERIFY(stackIndex(w, u"Label2"_s) > stackIndex(w, u"Label7"_s));
    QVERIFY(stackIndex(w, u"gridpos(0)"_s) > stackIndex(w, u"Label4"_s));
    QVERIFY(stackIndex(w, u"gridpos2(31)"_s) > stackIndex(w, u"Label4"_s));
    // Every other control in front of every label; the splash in front of the viewport.
    qsizetype frontLabel = -1;
    for (QLabel *label : w->findChildren<QLabel *>(Qt::FindDirectChildrenOnly)) {
        if (label->objectName() != u"Splash"_s)
            frontLabel = qMax(frontLabel, w->children().indexOf(label));
    }
    for (const QString &name : {u"Frame1"_s, u"HScroll1"_s, u"VScroll1"_s, u"PickTile"_s,
                                u"SaveCourse"_s, u"Splash"_s}) {
        QVERIFY2(stackIndex(w, name) > frontLabel, qPrintable(name));
    }
    QVERIFY(stackIndex(w, u"Splash"_s) > stackIndex(w, u"Frame1"_s));
    QVERIFY(stackIndex(w, u"VScroll1"_s) > stackIndex(w, u"Frame1"_s));
}

void TestClientWindow::scrollBarRanges()
{
    auto *h = win()->findChild<QScrollBar *>(u"HScroll1"_s);
    auto *v = win()->findChild<QScrollBar *>(u"VScroll1"_s);
    QCOMPARE(QList<int>({h->minimum(), h->maximum(), h->singleStep(), h->pageStep()}),
             QList<int>({0, 96, 1, 32}));
    QCOMPARE(QList<int>({v->minimum(), v->maximum(), v->singleStep(), v->pageStep()}),
             QList<int>({0, 108, 2, 20}));
    QCOMPARE(h->orientation(), Qt::Horizontal);
    QCOMPARE(v->orientation(), Qt::Vertical);
}

void TestClientWindow::palettesAfterLoad()
{
    for (const QString &name : {u"PickTile"_s, u"Picktile2"_s}) {
        auto *combo = win()->findChild<QComboBox *>(name);
        QVERIFY(combo->isEditable());
        QCOMPARE(combo->count(), 256);
        QCOMPARE(combo->itemText(0), u"00"_s);
        QCOMPARE(combo->itemText(10), u"0A"_s);
        QCOMPARE(combo->itemText(171), u"AB"_s);
        QCOMPARE(combo->itemText(255), u"FF"_s);
        QCOMPARE(combo->currentText(), u"00"_s);
        // Typed text is kept as typed and never added to the list.
        combo->setFocus();
        combo->lineEdit()->selectAll();
        QTest::keyClicks(combo->lineEdit(), u"a"_s);
        QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
        QCOMPARE(combo->currentText(), u"a"_s);
        QCOMPARE(combo->count(), 256);
    }
    // The course list keeps its initial text through the load.
    QCOMPARE(win()->findChild<QComboBox *>(u"CourseList"_s)->currentText(),
             u"68f2c - Mario Circuit 1"_s);
}

void TestClientWindow::gridAfterLoad()
{
    QWidget *frame2 = child(win(), u"Frame2"_s);
    QCOMPARE(frame2->parentWidget(), child(win(), u"Frame1"_s));
    QCOMPARE(frame2->geometry(), QRect(0, 0, 3381, 3381)); // 50720 twips
    auto *window = mFixture->window.get();
    QCOMPARE(window->scroller()->state().lastHorizontal(), 0);
    QCOMPARE(window->scroller()->state().lastVertical(), 0);
    QCOMPARE(window->rowRuler().first()->text(), u"1"_s);
    QCOMPARE(window->rowRuler().last()->text(), u"20"_s);
    QCOMPARE(window->columnRuler().at(8)->text(), u"9"_s);
    QCOMPARE(window->columnRuler().at(9)->text(), u"1 0"_s);
    QCOMPARE(window->columnRuler().at(31)->text(), u"3 2"_s);
    for (int i = 0; i < CellCount; ++i) {
        QCOMPARE(window->courseMap().text(i), u"01"_s);
        QCOMPARE(window->courseMap().mark(i), Mark::Untouched);
    }
}

void TestClientWindow::splashTimerStartedLast()
{
    Splash *splash = mFixture->window->splash();
    QVERIFY(splash->timer()->isActive());
    QCOMPARE(splash->timer()->interval(), 2000);
    // Before the load the timer stands still.
    test::ScriptedFileDialog dialog;
    test::ScriptedMessageBoxes messages;
    QtFileSystem files;
    Services services{dialog, messages, files};
    ClientWindow unloaded(services);
    QVERIFY(!unloaded.splash()->timer()->isActive());
    QCOMPARE(unloaded.findChild<QWidget *>(u"Frame2"_s)->size(), QSize(515, 321));
    QCOMPARE(unloaded.rowRuler().first()->text(), u"0"_s);
}

void TestClientWindow::scrollBarsMoveTheMap()
{
    ClientWindow *window = mFixture->window.get();
    window->horizontalScrollBar()->setValue(96);
    QCOMPARE(window->mapView()->pos(), QPoint(-1536, 0));
    QCOMPARE(window->columnRuler().first()->text(), u"9 7"_s);
    QCOMPARE(window->columnRuler().last()->text(), u"1 2 8"_s);
    window->verticalScrollBar()->setValue(108);
    QCOMPARE(window->mapView()->pos(), QPoint(-1536, -1728));
    QCOMPARE(window->rowRuler().first()->text(), u"109"_s);
    QCOMPARE(window->rowRuler().last()->text(), u"128"_s);
    window->horizontalScrollBar()->setValue(90);
    window->horizontalScrollBar()->setValue(10);
    QCOMPARE(window->mapView()->pos().x(), -160);
    QCOMPARE(window->columnRuler().first()->text(), u"1 1"_s);
}

void TestClientWindow::thumbDragMovesTheMap()
{
    // While the thumb is dragged without tracking, only the scroll events report the place.
    QScrollBar *bar = mFixture->window->verticalScrollBar();
    bar->setTracking(false);
    bar->setSliderDown(true);
    bar->setSliderPosition(40);
    QCOMPARE(bar->value(), 0);
    QCOMPARE(mFixture->window->mapView()->pos(), QPoint(0, -640));
    QCOMPARE(mFixture->window->rowRuler().first()->text(), u"41"_s);
    // Releasing the thumb reports the same value as a change: nothing moves.
    bar->setSliderDown(false);
    QCOMPARE(bar->value(), 40);
    QCOMPARE(mFixture->window->mapView()->pos(), QPoint(0, -640));
}

void TestClientWindow::clearColorAndTextureFillerButtons()
{
    ClientWindow *window = mFixture->window.get();
    window->tilePainter().press(3, LeftButton, {u"7E"_s, QString()});
    window->tilePainter().press(4, MiddleButton, {});
    window->pickTile()->setEditText(u"C4"_s);
    QTest::mouseClick(window->textureFillerButton(), Qt::LeftButton);
    QCOMPARE(window->courseMap().text(0), u"C4"_s);
    QCOMPARE(window->courseMap().text(3), u"C4"_s);
    QCOMPARE(window->courseMap().mark(3), Mark::Painted);
    QCOMPARE(window->courseMap().mark(4), Mark::Erased);
    QTest::mouseClick(window->clearColorButton(), Qt::LeftButton);
    QCOMPARE(window->courseMap().mark(3), Mark::Untouched);
    QCOMPARE(window->courseMap().mark(4), Mark::Untouched);
    QCOMPARE(window->courseMap().text(16383), u"C4"_s);
}

VELMOR_TEST_MAIN(TestClientWindow)
#include "test_client_window.moc"
