#pragma once

#include "platform/file_dialog.h"

#include <QPointer>
#include <QStringList>

class QWidget;

namespace velmor {

// Turns the product's filter ("description|pattern[|description|pattern...]", patterns separated
// by ';') into Qt's name filters ("description (pattern pattern)").
QStringList qtNameFilters(const QString &productFilter);

// The file dialog of the program, on QFileDialog. The program asks about overwriting itself, so
// the dialog never does.
class QtFileDialog : public FileDialog
{
public:
    explicit QtFileDialog(QWidget *parent = nullptr);
    // Dialogs centre on and block this window; it may come to exist after the dialogs do.
    void setParentWidget(QWidget *parent) { mParent = parent; }

protected:
    std::optional<QString> run(Mode mode, const Settings &settings) override;

private:
    QPointer<QWidget> mParent;
};

} // namespace velmor
