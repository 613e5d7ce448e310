#pragma once

#include "app/startup_state.h"

#include <QString>

namespace velmor {

struct Services;

// The first-run set-up: the compressor pick (with its "wrong file" loop and question Q1), the ROM
// pick, the backup, the working ROM and the configuration file (with question Q2). A failure never
// ends the program and never undoes what was already done: the user either tries again or goes on
// without insertion.
class FirstRunSetup
{
public:
    // Files are addressed through absolute paths in startDirectory, so a dialog that moves the
    // current directory cannot move the configuration file.
    FirstRunSetup(Services &services, const QString &startDirectory);

    // Runs the three stages into *state (values set stay set on every path). True when the
    // configuration file was written.
    bool run(StartupState *state);

    // Why the last failed attempt of the ROM stages failed, for diagnostics; the user sees Q2.
    QString errorString() const { return mError; }

private:
    enum class Outcome { Done, Failed };

    bool pickCompressor(StartupState *state);
    bool pickRomAndCopy(StartupState *state);
    Outcome tryRom(StartupState *state);
    void keepStartDirectory() const;
    // Tells the user once when the chosen ROM is a ROM, but not the US game.
    void noteWhichRom(const QString &path, const QString &shownName);

    Services &mServices;
    QString mStartDirectory;
    QString mError;
};

} // namespace velmor
