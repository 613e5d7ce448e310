#pragma once

#include "app/client_window.h"
#include "app/main_window.h"
#include "platform/file_system.h"
#include "platform/services.h"
#include "tests/support/scripted_ui.h"

#include <QDir>
#include <QTemporaryDir>

#include <functional>
#include <memory>

namespace velmor::test {

// A window on scripted dialogs and the real file system, loaded as the program loads it:
// started in an empty folder, where the user declines the first-run set-up. Window is the
// described window alone (ClientWindow) or the program's whole window (MainWindow).
template<typename Window>
struct WindowFixtureOf
{
    QTemporaryDir folder;
    QString previousDirectory = QDir::currentPath();
    ScriptedFileDialog dialog;
    ScriptedMessageBoxes messages;
    ScriptedReplaceDialog replace;
    QtFileSystem files;
    Services services{dialog, messages, files, nullptr, &replace};
    std::unique_ptr<Window> window;

    WindowFixtureOf()
        : WindowFixtureOf([](WindowFixtureOf &fixture) {
            fixture.dialog.cancel();
            fixture.messages.answer(MessageBoxes::Answer::Yes);
        })
    {}
    // Started in the same empty folder, but beforeLoad runs between the window's construction and
    // its load: it may put files into the folder, script the dialogs and watch the controls.
    explicit WindowFixtureOf(const std::function<void(WindowFixtureOf &)> &beforeLoad)
    {
        QDir::setCurrent(folder.path());
        window = std::make_unique<Window>(services);
        beforeLoad(*this);
        window->load();
    }
    ~WindowFixtureOf()
    {
        window.reset();
        QDir::setCurrent(previousDirectory);
    }
};

using WindowFixture = WindowFixtureOf<ClientWindow>;
using MainWindowFixture = WindowFixtureOf<MainWindow>;

} // namespace velmor::test
