#pragma once

#include <QString>

class QDialog;
class QWidget;

namespace velmor {

// The help a user can reach from the menu: the user guide (the users' part of the README, built
// into the program) and the About box (the start-up picture, version and licence). Both open
// without blocking the window.
namespace help {

// The guide as Markdown, as the build took it from the README.
QString userGuideMarkdown();
QDialog *showUserGuide(QWidget *parent);
QDialog *showAbout(QWidget *parent, const QString &version);

} // namespace help

} // namespace velmor
