#include "tools/course_command_line.h"

#include "tools/course_commands.h"
#include "tools/tool_command_line.h"

namespace velmor::tools {

namespace {

const QString EndOfOptions = QStringLiteral("--");

QString toolName()
{
    return QString::fromLatin1(CourseToolName);
}

bool isHelp(const QString &argument)
{
    return argument == QStringLiteral("--help") || argument == QStringLiteral("-h");
}

QString plural(qsizetype count, const QString &one)
{
    return QStringLiteral("%1 %2%3").arg(count).arg(one, count == 1 ? QString() : QStringLiteral("s"));
}

} // namespace

QString CourseCommand::usage() const
{
    QString line = toolName() + QLatin1Char(' ') + name;
    for (const QString &flag : flags)
        line += QStringLiteral(" [%1]").arg(flag);
    line += QStringLiteral(" [--] ") + operands.join(QLatin1Char(' '));
    return line;
}

const QList<CourseCommand> &courseCommands()
{
    static const QList<CourseCommand> commands = {
        {QStringLiteral("show"), {QStringLiteral("ROM"), QStringLiteral("COURSE")},
         {QStringLiteral("--json")},
         QStringLiteral("show prints what the ROM holds for the course: its theme, its layout, its "
                        "items, objects, start grid, lap line and AI, with counts, sizes and the "
                        "sets it shares with other courses. With --json it prints the course as "
                        "a course file (.vcourse) instead."),
         showCourse},
        {QStringLiteral("export"),
         {QStringLiteral("ROM"), QStringLiteral("COURSE"), QStringLiteral("OUT.vcourse")}, {},
         QStringLiteral("export writes the course as a course file, whole or not at all; it never "
                        "writes over the ROM."),
         exportCourse},
    };
    return commands;
}

int courseUsageError(const QString &why, const CourseCommand *command)
{
    QStringList usages;
    if (command) {
        usages.append(command->usage());
    } else {
        for (const CourseCommand &each : courseCommands())
            usages.append(each.usage());
    }
    return usageError(toolName(), why, usages.join(QStringLiteral(", or ")));
}

QString courseToolHelp()
{
    QStringList lines;
    for (const CourseCommand &command : courseCommands())
        lines.append((lines.isEmpty() ? QStringLiteral("usage: ") : QStringLiteral("       "))
                     + command.usage());
    lines.append(QStringLiteral("       %1 --help").arg(toolName()));
    lines.append(QStringLiteral("Reads what makes a course of a Super Mario Kart ROM race (its "
                                "layout, theme, items, objects, start grid, lap line and AI) and "
                                "keeps it as a course file."));
    for (const CourseCommand &command : courseCommands())
        lines.append(command.summary);
    lines.append(QStringLiteral("COURSE is a course ID in hexadecimal (07), a course's name "
                                "(\"%1\", any letter case) or its offset as the course list "
                                "shows it (%2).")
                     .arg(exampleCourseName(), exampleCourseOffset()));
    lines.append(QStringLiteral("An argument -- ends the options, so that a file may start with -."));
    lines.append(QStringLiteral("Exit status: 0 done, 1 refused or failed, 2 wrong command line."));
    return lines.join(QLatin1Char('\n'));
}

int runCourseTool(const QStringList &arguments)
{
    if (arguments.size() == 1 && isHelp(arguments.constFirst())) {
        printLine(stdout, courseToolHelp());
        return ExitSuccess;
    }
    if (arguments.isEmpty())
        return courseUsageError(QStringLiteral("no command given"));
    const CourseCommand *command = nullptr;
    for (const CourseCommand &each : courseCommands()) {
        if (each.name == arguments.constFirst())
            command = &each;
    }
    if (!command)
        return courseUsageError(QStringLiteral("unknown command \"%1\"").arg(arguments.constFirst()));

    CommandArguments given;
    bool options = true;
    for (const QString &argument : arguments.mid(1)) {
        if (options && argument == EndOfOptions) {
            options = false;
        } else if (options && argument.startsWith(QLatin1Char('-')) && argument.size() > 1) {
            if (isHelp(argument))
                return courseUsageError(
                    QStringLiteral("%1 is understood only as the only argument").arg(argument),
                    command);
            if (!command->flags.contains(argument))
                return courseUsageError(QStringLiteral("%1 takes no option %2 (a file whose name "
                                                       "starts with - goes after --)")
                                            .arg(command->name, argument),
                                        command);
            if (given.has(argument))
                return courseUsageError(QStringLiteral("%1 is given twice").arg(argument), command);
            given.flags.append(argument);
        } else {
            given.operands.append(argument);
        }
    }
    if (given.operands.size() != command->operands.size())
        return courseUsageError(QStringLiteral("%1 takes %2, got %3")
                                    .arg(command->name, command->operands.join(QStringLiteral(", ")),
                                         plural(given.operands.size(), QStringLiteral("argument"))),
                                command);
    return command->run(given);
}

} // namespace velmor::tools
