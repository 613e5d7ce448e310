#pragma once

#include "course/configuration.h"

#include <QString>

namespace velmor {

// What start-up hands to the window: the configuration values, the first-run names, and whether
// the insertion controls (FromFile, FromVelmor, CourseList) stay enabled.
struct StartupState
{
    Configuration config;
    QString romFileName; // RomFileName: set by a first run only
    QString targetRom;   // TargetRom: set by a first run only; insertion overwrites it
    bool firstRun = false;
    // A first run that wrote the configuration file.
    bool setupCompleted = false;
    bool insertionEnabled = false;
};

} // namespace velmor
