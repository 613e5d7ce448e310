#include "platform/qt_replace_dialog.h"
#include "tests/support/modal_answer.h"
#include "tests/support/test_main.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace velmor;
using namespace Qt::StringLiterals;

// The real Replace dialog, answered as a user would: by typing into its fields.
class TestQtReplaceDialog : public QObject
{
    Q_OBJECT

private slots:
    void answers();
};

void TestQtReplaceDialog::answers()
{
    QtReplaceDialog replace;
    QString proposedFrom, proposedTo;
    bool okWithOneDigit = true;
    const test::ModalAnswer typed(QDialog::staticMetaObject, u"the Replace dialog"_s,
        [&](QDialog *dialog) {
            auto *from = dialog->findChild<QLineEdit *>(u"replaceFrom"_s);
            auto *to = dialog->findChild<QLineEdit *>(u"replaceTo"_s);
            QPushButton *ok =
                dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok);
            proposedFrom = from->text();
            proposedTo = to->text();
            from->clear();
            QTest::keyClicks(from, u"0a"_s);
            to->clear();
            QTest::keyClicks(to, u"g5"_s); // the field takes no "g"
            okWithOneDigit = ok->isEnabled();
            QTest::keyClicks(to, u"B"_s);
            ok->click();
        });
    const std::optional<ReplaceDialog::Tiles> tiles = replace.ask({u"44"_s, u"55"_s});
    QVERIFY2(typed.succeeded(), qPrintable(typed.failure()));
    QCOMPARE(proposedFrom, u"44"_s);
    QCOMPARE(proposedTo, u"55"_s);
    QVERIFY(!okWithOneDigit);
    // The map keeps texts as typed ("0a" and "0A" are different cells), so the answer does too.
    QVERIFY(tiles);
    QCOMPARE(tiles->from, u"0a"_s);
    QCOMPARE(tiles->to, u"5B"_s);

    const test::ModalAnswer cancelled(QDialog::staticMetaObject, u"the Replace dialog"_s,
        [](QDialog *dialog) { dialog->reject(); });
    QVERIFY(!replace.ask({u"44"_s, u"55"_s}));
    QVERIFY2(cancelled.succeeded(), qPrintable(cancelled.failure()));
}

VELMOR_TEST_MAIN(TestQtReplaceDialog)
#include "test_qt_replace_dialog.moc"
