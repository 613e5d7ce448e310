#pragma once

#include "app/startup_state.h"

#include <QString>
#include <QStringList>

namespace velmor {

struct Services;

// The start-up steps that decide the configuration, in the order the window's load runs them:
// the first-run test with either the set-up or the silent reading of "Velmor.cfg", then the
// configuration check. The window's own steps (grid, palettes, course list, Timer1) follow.
class LoadSequence
{
public:
    // startDirectory is where "Velmor.cfg" lives for the whole start-up, whatever the dialogs do
    // to the current directory; the program passes the current directory at start.
    LoadSequence(Services &services, const QString &startDirectory);

    // Step 1. A later run is one whose "Velmor.cfg" is stored under exactly that name and reads as
    // eight lines; anything else runs the set-up.
    void setUpOrReadConfiguration();

    // Step 2: looks at the disk only, after either branch of step 1. True when a configuration
    // file is there under any letter case (and can be read); false means the window disables the
    // controls of insertionControls(), in that order, for the whole run.
    bool checkConfiguration();

    // Both steps.
    const StartupState &run();

    const StartupState &state() const { return mState; }
    // Why the configuration file was not used or not written, empty when nothing failed.
    QString errorString() const { return mError; }

    // FromFile, FromVelmor, CourseList: the order in which they are disabled.
    static QStringList insertionControls();

private:
    QString configPath(const QString &name) const;

    Services &mServices;
    QString mStartDirectory;
    StartupState mState;
    QString mError;
};

} // namespace velmor
