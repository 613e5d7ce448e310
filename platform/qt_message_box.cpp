#include "platform/qt_message_box.h"

#include <QMessageBox>
#include <QPushButton>

namespace velmor {

QtMessageBox::QtMessageBox(QWidget *parent)
    : mParent(parent)
{ }

MessageBoxes::Answer QtMessageBox::show(const QString &text, const QString &title, Buttons buttons)
{
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::NoButton, mParent);
    QList<QPair<QPushButton *, Answer>> order;
    const auto add = [&](QMessageBox::StandardButton button, Answer answer) {
        order.append({box.addButton(button), answer});
    };
    switch (buttons) {
    case Buttons::Ok:
        add(QMessageBox::Ok, Answer::Ok);
        break;
    case Buttons::YesNo:
        add(QMessageBox::Yes, Answer::Yes);
        add(QMessageBox::No, Answer::No);
        break;
    case Buttons::YesNoCancel:
        add(QMessageBox::Yes, Answer::Yes);
        add(QMessageBox::No, Answer::No);
        add(QMessageBox::Cancel, Answer::Cancel);
        break;
    }
    box.setDefaultButton(order.constFirst().first);
    box.setEscapeButton(order.constLast().first);
    box.exec();
    for (const auto &[button, answer] : order) {
        if (box.clickedButton() == button)
            return answer;
    }
    // Closed another way (window close): the safe answer, as Escape would give.
    return order.constLast().second;
}

} // namespace velmor
