#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace velmor::tools {

// "velmor-course restore ROM --list" and "velmor-course restore ROM --to N": a ROM's restore
// points listed newest first (number, time, course, size, and why one cannot be restored), or
// the ROM brought back to the state before the save of point N, itself kept as a restore point
// first. A damaged point is listed as damaged and never applied. `arguments` are those after
// "restore"; `now` is the time of the restore's own point. Exit status: 0 done, 1 refused or
// failed, 2 wrong command line.
int runRestoreCommand(const QStringList &arguments, const QDateTime &now);

// The usage line of the subcommand, for the tool's --help.
QString restoreUsage();

} // namespace velmor::tools
