#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace velmor::tools {

// What one run of the subcommand says and ends with, before it is printed.
struct CommandOutcome
{
    int exitCode = 0; // 0 done, 1 refused or failed, 2 wrong command line
    QStringList out; // lines for the output stream
    QStringList err; // lines for the error stream
};

// "velmor-course restore ROM --list" and "velmor-course restore ROM --to N": a ROM's restore
// points listed newest first (number, time, course, size, and why one cannot be restored), or
// the ROM brought back to the state before the save of point N, itself kept as a restore point
// first. A damaged point is listed as damaged and never applied. `arguments` are those after
// "restore"; `now` is the time of the restore's own point.
CommandOutcome restoreCommand(const QStringList &arguments, const QDateTime &now);

// The same, printed; returns the exit status.
int runRestoreCommand(const QStringList &arguments, const QDateTime &now);

// The usage line of the subcommand, for the tool's --help.
QString restoreUsage();

} // namespace velmor::tools
