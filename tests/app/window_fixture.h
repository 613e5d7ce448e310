#pragma once

#include "app/main_window.h"
#include "platform/file_system.h"
#include "platform/services.h"
#include "tests/support/scripted_ui.h"

#include <QDir>
#include <QTemporaryDir>

#include <functional>
#include <memory>

namespace velmor::test {

// A main window on scripted dialogs and the real file system, loaded as the program loads it:
// started in an empty folder, where the user declines the first-run set-up.
struct WindowFixture
{
    QTemporaryDir folder;
    QString previousDirectory = QDir::currentPath();
    ScriptedFileDialog dialog;
    ScriptedMessageBoxes messages;
    QtFileSystem files;
    Services services{dialog, messages, files};
    std::unique_ptr<MainWindow> window;

    WindowFixture()
        : WindowFixture([](WindowFixture &fixture) {
            fixture.dialog.cancel();
            fixture.messages.answer(MessageBoxes::Answer::Yes);
        })
    {}
    // Started in the same empty folder, but beforeLoad runs between the window's construction and
    // its load: it may put files into the folder, script the dialogs and watch the controls.
    explicit WindowFixture(const std::function<void(WindowFixture &)> &beforeLoad)
    {
        QDir::setCurrent(folder.path());
        window = std::make_unique<MainWindow>(services);
        beforeLoad(*this);
        window->load();
    }
    ~WindowFixture()
    {
        window.reset();
        QDir::setCurrent(previousDirectory);
    }
};

} // namespace velmor::test
