#pragma once

#include "platform/preferences_dialog.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace velmor {

using Emulator = PreferencesDialog::Emulator;

// The emulator a test run starts: kept in the user's settings (QSettings, never Velmor.cfg),
// offered from the emulators found on the PATH the first time, and its arguments made into a
// command line for one ROM.
namespace emulator {

// The emulator in the user's settings; an empty program when none was chosen yet.
Emulator stored();
void store(const Emulator &emulator);

// The emulators of the system found on the PATH, each with its usual arguments; coreDirs are
// where RetroArch's SNES cores are looked for (empty: the usual places).
QList<Emulator> foundOnPath(const QStringList &coreDirs = {});
// The names looked for, for the sentence that says none was found.
QStringList knownNames();

// The arguments for one ROM: split as a shell would split them (quotes keep blanks), each "%f"
// replaced by the ROM's path; without any "%f" the ROM comes last.
QStringList argumentsFor(const QString &arguments, const QString &romPath);

} // namespace emulator

} // namespace velmor
