#include "platform/qt_message_box.h"
#include "tests/support/modal_answer.h"
#include "tests/support/test_main.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTest>

using namespace velmor;
using namespace Qt::StringLiterals;

using Answer = MessageBoxes::Answer;
using Buttons = MessageBoxes::Buttons;

class TestQtMessageBox : public QObject
{
    Q_OBJECT

private slots:
    void answers_data();
    void answers();
};

void TestQtMessageBox::answers_data()
{
    QTest::addColumn<Buttons>("buttons");
    QTest::addColumn<int>("key");
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<QList<int>>("shown"); // the standard buttons, the first one the default

    const QList<int> ok {QMessageBox::Ok};
    const QList<int> yesNo {QMessageBox::Yes, QMessageBox::No};
    const QList<int> yesNoCancel {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel};
    QTest::newRow("OK, Return") << Buttons::Ok << int(Qt::Key_Return) << Answer::Ok << ok;
    QTest::newRow("Yes/No, Return is Yes")
        << Buttons::YesNo << int(Qt::Key_Return) << Answer::Yes << yesNo;
    QTest::newRow("Yes/No, Escape is No")
        << Buttons::YesNo << int(Qt::Key_Escape) << Answer::No << yesNo;
    QTest::newRow("Yes/No/Cancel, Return is Yes")
        << Buttons::YesNoCancel << int(Qt::Key_Return) << Answer::Yes << yesNoCancel;
    QTest::newRow("Yes/No/Cancel, Escape is Cancel")
        << Buttons::YesNoCancel << int(Qt::Key_Escape) << Answer::Cancel << yesNoCancel;
}

void TestQtMessageBox::answers()
{
    QFETCH(Buttons, buttons);
    QFETCH(int, key);
    QFETCH(Answer, answer);
    QFETCH(QList<int>, shown);

    QString title, text;
    QMessageBox::Icon icon = QMessageBox::Critical;
    QList<int> standard;
    int defaultButton = QMessageBox::NoButton;
    const test::ModalAnswer human(
        QMessageBox::staticMetaObject, u"the message box"_s, [&](QDialog *shown) {
            auto *box = static_cast<QMessageBox *>(shown);
            title = box->windowTitle();
            text = box->text();
            icon = box->icon();
            for (QAbstractButton *button : box->buttons())
                standard.append(box->standardButton(button));
            if (box->defaultButton())
                defaultButton = box->standardButton(box->defaultButton());
            QTest::keyClick(box, Qt::Key(key));
        });

    QtMessageBox boxes;
    const Answer got = boxes.show(QStringLiteral("Some text"), QStringLiteral("A title"), buttons);
    QVERIFY2(human.succeeded(), qPrintable(human.failure()));

    QCOMPARE(got, answer);
    QCOMPARE(title, QStringLiteral("A title"));
    QCOMPARE(text, QStringLiteral("Some text"));
    QCOMPARE(icon, QMessageBox::NoIcon);
    // The platform decides the order on screen; the set of buttons and the default are ours.
    std::sort(standard.begin(), standard.end());
    QList<int> expected = shown;
    std::sort(expected.begin(), expected.end());
    QCOMPARE(standard, expected);
    QCOMPARE(defaultButton, shown.constFirst());
}

VELMOR_TEST_MAIN(TestQtMessageBox)
#include "test_qt_message_box.moc"
