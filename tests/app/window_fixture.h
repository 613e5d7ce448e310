#pragma once

#include "app/client_window.h"
#include "app/main_window.h"
#include "platform/file_system.h"
#include "platform/services.h"
#include "tests/support/scripted_ui.h"

#include <QDir>
#include <QFile>
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
    ScriptedPreferencesDialog preferences;
    ScriptedRestorePointDialog restorePoints;
    QtFileSystem files;
    Services services{
        dialog, messages, files, nullptr, &replace, nullptr, &preferences, &restorePoints};
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

// Writes "Velmor.cfg" into the fixture's folder, naming recomp.exe and the user's ROM "kart.smc"
// there, as a finished first run leaves it.
template<typename Fixture>
bool writeConfiguration(Fixture &fixture)
{
    QFile config(fixture.folder.filePath(QStringLiteral("Velmor.cfg")));
    const QString folder = fixture.folder.path() + QLatin1Char('/');
    const QByteArray lines = QStringLiteral("Full Path to RECOMP.EXE\r\n%1recomp.exe\r\nROM "
                                            "Folder\r\n%1\r\nOriginal ROM Path\r\n%1kart.smc\r\n"
                                            "ROM name with no Extension\r\nkart\r\n")
                                 .arg(folder)
                                 .toLocal8Bit();
    return config.open(QIODevice::WriteOnly) && config.write(lines) == lines.size();
}

using WindowFixture = WindowFixtureOf<ClientWindow>;
using MainWindowFixture = WindowFixtureOf<MainWindow>;

} // namespace velmor::test
