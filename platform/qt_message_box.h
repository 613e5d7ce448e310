#pragma once

#include "platform/message_box.h"

#include <QPointer>

class QWidget;

namespace velmor {

// The message boxes of the program, on QMessageBox: no icon, the first button the default,
// Escape answers the last button (No, or Cancel).
class QtMessageBox : public MessageBoxes
{
public:
    explicit QtMessageBox(QWidget *parent = nullptr);
    // Dialogs centre on and block this window; it may come to exist after the dialogs do.
    void setParentWidget(QWidget *parent) { mParent = parent; }

    Answer show(const QString &text, const QString &title, Buttons buttons) override;

private:
    QPointer<QWidget> mParent;
};

} // namespace velmor
