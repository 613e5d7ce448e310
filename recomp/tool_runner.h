#pragma once

#include "recomp/rom_file.h"

#include <QString>

#include <functional>

namespace velmor::recomp {

// The shared command line of recomp.exe and decomp.exe: two paths, a hexadecimal offset, the
// format and format2. Prints --help, checks the arguments, runs the action and reports in one
// line. Exit status: 0 done, 1 refused or failed, 2 wrong command line.
struct ToolDescription
{
    QString name;       // "recomp.exe"
    QString arguments;  // "<input file> <rom file> <hex offset> <format> <format2>"
    QString summary;    // what the tool does, for --help
};

using ToolAction = std::function<FileOutcome(const QString &first, const QString &second,
                                             std::size_t offset)>;

int runTool(int argc, char **argv, const ToolDescription &tool, const ToolAction &action);

// Exit statuses.
inline constexpr int ExitSuccess = 0;
inline constexpr int ExitRefused = 1;
inline constexpr int ExitUsage = 2;

} // namespace velmor::recomp
