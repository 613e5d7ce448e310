#pragma once

#include "app/main_window.h"
#include "platform/file_system.h"
#include "platform/services.h"
#include "tests/support/scripted_ui.h"

#include <QDir>
#include <QTemporaryDir>

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
    {
        QDir::setCurrent(folder.path());
        dialog.cancel();
        messages.answer(MessageBoxes::Answer::Yes);
        window = std::make_unique<MainWindow>(services);
        window->load();
    }
    ~WindowFixture()
    {
        window.reset();
        QDir::setCurrent(previousDirectory);
    }
};

} // namespace velmor::test
