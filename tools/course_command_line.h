#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <functional>

namespace velmor::tools {

// What one subcommand was given: its operands in order and the flags it takes that were set.
struct CommandArguments
{
    QStringList operands;
    QStringList flags;
    // Options given with their value ("--output" "NEW.smc").
    QMap<QString, QString> values;

    bool has(const QString &flag) const { return flags.contains(flag); }
};

// One subcommand of velmor-course: a new one is one more entry in courseCommands().
struct CourseCommand
{
    QString name; // "show"
    QStringList operands; // {"ROM", "COURSE"}, as --help and the usage line name them
    QStringList flags; // options without a value it takes ("--json"), anywhere before "--"
    QString summary; // what it does, for --help
    // Runs it; the exit status (ExitSuccess, ExitRefused, or ExitUsage through usageError()).
    std::function<int(const CommandArguments &)> run;
    // Options that take the next argument as their value, with its name for the usage line
    // ({"--output", "NEW.smc"}).
    QList<std::pair<QString, QString>> valued = {};
    // Takes its arguments as they come (an option with a value, such as "--to N"): run gets
    // every argument after the name as operands, in order, and operands only names them.
    bool parsesItself = false;
    // Usage lines, after the name, where the flags and operands alone would mislead (a flag that
    // changes what the operands are); empty for the one line made of them.
    QStringList forms = {};

    QStringList usages() const;
};

// Every subcommand, in the order --help lists them.
const QList<CourseCommand> &courseCommands();

inline constexpr char CourseToolName[] = "velmor-course";

// A wrong command line: one line on the error stream with the usage of the subcommand (or of the
// tool for none); returns ExitUsage.
int courseUsageError(const QString &why, const CourseCommand *command = nullptr);
QString courseToolHelp();

// velmor-course's whole command line (without the program's name): help as the only argument,
// then a subcommand and its arguments.
int runCourseTool(const QStringList &arguments);

} // namespace velmor::tools
