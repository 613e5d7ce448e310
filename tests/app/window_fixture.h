#pragma once

#include "app/main_window.h"
#include "platform/file_system.h"
#include "platform/services.h"
#include "tests/support/scripted_ui.h"

#include <memory>

namespace velmor::test {

// A main window on scripted dialogs and the real file system, loaded as the program loads it.
struct WindowFixture
{
    ScriptedFileDialog dialog;
    ScriptedMessageBoxes messages;
    QtFileSystem files;
    Services services{dialog, messages, files};
    std::unique_ptr<MainWindow> window;

    WindowFixture()
        : window(std::make_unique<MainWindow>(services))
    {
        window->load();
    }
};

} // namespace velmor::test
