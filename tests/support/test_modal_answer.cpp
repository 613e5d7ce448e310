#include "tests/support/modal_answer.h"
#include "tests/support/test_main.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTest>

using namespace velmor::test;
using namespace Qt::StringLiterals;

// The stand-in for the human at real dialogs must never let a test hang: a dialog that stays open
// after the answer, or that opens another one, ends within the bound with a failure naming it.
class TestModalAnswer : public QObject
{
    Q_OBJECT

private slots:
    void answeredDialogCloses();
    void answerThatDoesNothingFailsWithinBound();
    void nestedDialogIsClosedToo();
    void dialogThatNeverComesFails();
};

namespace {

constexpr int ShortBoundMs = 300;
// What a bound may overrun by on a loaded machine before the helper counts as hanging itself.
constexpr qint64 SlackMs = 3000;

} // namespace

void TestModalAnswer::answeredDialogCloses()
{
    QDialog dialog;
    dialog.setWindowTitle(u"Pick one"_s);
    ModalAnswer answer(
        QDialog::staticMetaObject, u"the test dialog"_s, [](QDialog *shown) { shown->accept(); });
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    QTRY_VERIFY2(answer.succeeded(), qPrintable(answer.failure()));
    QCOMPARE(answer.answeredTitle(), u"Pick one"_s);
}

void TestModalAnswer::answerThatDoesNothingFailsWithinBound()
{
    QDialog dialog;
    dialog.setWindowTitle(u"Stays open"_s);
    ModalAnswer answer(
        QDialog::staticMetaObject, u"the test dialog"_s, [](QDialog *) {}, ShortBoundMs);
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
    QVERIFY2(clock.elapsed() < ShortBoundMs + SlackMs, "the helper itself waited too long");
    QVERIFY(!answer.succeeded());
    QCOMPARE(answer.failure(),
        u"the test dialog \"Stays open\" was still open 0.3 s after the scripted answer"_s);
}

void TestModalAnswer::nestedDialogIsClosedToo()
{
    // As QFileDialog does when accept() finds no such file: a warning of its own, modal in turn.
    QDialog dialog;
    dialog.setWindowTitle(u"Open"_s);
    ModalAnswer answer(
        QDialog::staticMetaObject, u"the open dialog"_s,
        [](QDialog *shown) {
            QMetaObject::invokeMethod(
                shown, [shown] { QMessageBox::warning(shown, u"Open"_s, u"File not found."_s); },
                Qt::QueuedConnection);
        },
        ShortBoundMs);
    QElapsedTimer clock;
    clock.start();
    dialog.exec();
    QVERIFY2(clock.elapsed() < ShortBoundMs + SlackMs, "the helper itself waited too long");
    QVERIFY(answer.failure().contains(u"still open"_s));
    QTRY_VERIFY(QApplication::activeModalWidget() == nullptr);
}

void TestModalAnswer::dialogThatNeverComesFails()
{
    ModalAnswer answer(
        QDialog::staticMetaObject, u"the missing dialog"_s, [](QDialog *) {}, ShortBoundMs);
    QTRY_VERIFY_WITH_TIMEOUT(!answer.failure().isEmpty(), int(ShortBoundMs + SlackMs));
    QCOMPARE(answer.failure(), u"the missing dialog did not come up within 0.3 s"_s);
}

VELMOR_TEST_MAIN(TestModalAnswer)
#include "test_modal_answer.moc"
