#pragma once

#include "platform/preferences_dialog.h"

#include <QPointer>

class QWidget;

namespace velmor {

// Preferences on QDialog: a list of the emulators found, the program with a Browse button, the
// arguments, a Test button, and OK only for a program that can be started (else the reason is
// shown and the dialog stays open).
class QtPreferencesDialog : public PreferencesDialog
{
public:
    explicit QtPreferencesDialog(QWidget *parent = nullptr);
    void setParentWidget(QWidget *parent) { mParent = parent; }

    std::optional<Emulator> ask(const Request &request) override;

private:
    QPointer<QWidget> mParent;
};

} // namespace velmor
