#pragma once

#include "course/rom_file.h"

#include <QString>
#include <QStringList>

#include <cstdio>
#include <functional>

namespace velmor::tools {

// The shared command line of recomp.exe and decomp.exe: two paths, a hexadecimal offset, the
// format and format2. Prints the help, checks the arguments, runs the action and reports in one
// line. Exit status: 0 done, 1 refused or failed, 2 wrong command line.
struct ToolDescription
{
    QString name; // "recomp.exe"
    QString arguments; // "<input file> <rom file> <hex offset> <format> <format2>"
    QString summary; // what the tool does, for --help
    // Further ways to call the tool, for --help: "decomp.exe --list <rom file>".
    QString moreUsage;
};

using ToolAction =
    std::function<FileOutcome(const QString &first, const QString &second, std::size_t offset)>;
// The one option a tool may take besides --help: "--list <rom file>".
using ListAction = std::function<FileOutcome(const QString &romPath)>;

// Writes one line and the line end, at once, in the system's encoding.
void printLine(std::FILE *stream, const QString &line);

// The first course of the course list, for the examples of --help and of the messages: its name
// and its offset as the list shows it.
QString exampleCourseName();
QString exampleCourseOffset();

int runTool(int argc, char **argv, const ToolDescription &tool, const ToolAction &action,
    const ListAction &list = {});

// What the command line starts with, for every tool of the project: help is asked only by a lone
// "--help" or "-h" (anywhere else it is a file name), and a leading "--" ends the options (it is
// taken off the arguments).
enum class Leading { Help, EndOfOptions, Arguments };
Leading readLeading(QStringList &args);

// "velmor-patch: <why> (usage: <usage>; try --help)" on the error stream, one line whatever the
// reason quotes; returns ExitUsage.
int usageError(const QString &toolName, const QString &why, const QString &usage);
// The outcome's one line: on the output stream when done (ExitSuccess), else on the error stream
// after the tool's name, line breaks escaped (ExitRefused).
int report(const QString &toolName, const FileOutcome &outcome);

// Exit statuses.
inline constexpr int ExitSuccess = 0;
inline constexpr int ExitRefused = 1;
inline constexpr int ExitUsage = 2;

} // namespace velmor::tools
