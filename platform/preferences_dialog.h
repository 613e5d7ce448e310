#pragma once

#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace velmor {

// Edit ▸ Preferences…: the emulator a test run starts, as a program and its arguments ("%f" for
// the ROM). The program shows a real dialog, which refuses a program that cannot be started;
// tests answer from a script.
class PreferencesDialog
{
public:
    struct Emulator
    {
        QString program;
        QString arguments;
        QString name; // for an emulator offered: how it is called in the list
    };

    struct Request
    {
        Emulator current;
        QList<Emulator> offered; // the emulators found on the PATH, with their usual arguments
        QString note; // said above the fields, e.g. that none was found
        // The Test button: starts the emulator as the fields have it; answers what happened.
        std::function<QString(const Emulator &)> test;
    };

    virtual ~PreferencesDialog() = default;
    // The emulator the user settled on; nothing on Cancel.
    virtual std::optional<Emulator> ask(const Request &request) = 0;
};

} // namespace velmor
