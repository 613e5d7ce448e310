#include "tools/course_command_line.h"

#include "tools/course_check_command.h"
#include "tools/course_commands.h"
#include "tools/course_import_command.h"
#include "tools/restore_command.h"
#include "tools/tool_command_line.h"

#include <algorithm>

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

QStringList CourseCommand::usages() const
{
    QString line = toolName() + QLatin1Char(' ') + name;
    if (!forms.isEmpty()) {
        QStringList lines;
        for (const QString &form : forms)
            lines.append(line + QLatin1Char(' ') + form);
        return lines;
    }
    if (parsesItself)
        return {line + QLatin1Char(' ') + operands.join(QLatin1Char(' '))};
    for (const QString &flag : flags)
        line += QStringLiteral(" [%1]").arg(flag);
    for (const auto &[option, value] : valued)
        line += QStringLiteral(" [%1 %2]").arg(option, value);
    line += QStringLiteral(" [--] ") + operands.join(QLatin1Char(' '));
    return {line};
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
        {QStringLiteral("import"),
         {QStringLiteral("ROM"), QStringLiteral("COURSE"), QStringLiteral("IN.vcourse")},
         {QStringLiteral("--change-shared"), QStringLiteral("--split-ai")},
         importCourseHelp(), importCourse, {{QStringLiteral("--output"), QStringLiteral("NEW.smc")}}},
        {QStringLiteral("check"), {QStringLiteral("ROM"), QStringLiteral("COURSE")},
         {QStringLiteral("--rom")},
         QStringLiteral("check prints what keeps the course from racing, one line a finding "
                        "(\"error: ...\" or \"warning: ...\"): a course too big for its slot, too "
                        "many items or zones, karts, the lap line or targets on walls, falls, water, "
                        "lava or out of the course, road without AI zones and zones out of race "
                        "order; items off the road, objects out of their zones, undefined tiles. "
                        "check FILE.vcourse --rom ROM checks a course file with that ROM's tables. "
                        "Exit status 0 without errors, 1 with errors."),
         checkCourse, {}, false,
         {QStringLiteral("[--] ROM COURSE"), QStringLiteral("[--] FILE.vcourse --rom ROM")}},
        {QStringLiteral("restore"), {QStringLiteral("ROM"), QStringLiteral("--list | --to N")}, {},
         QStringLiteral("restore --list lists the ROM's restore points, which every save into it "
                        "keeps in the folder ROM.restore: newest first and numbered from 1, each "
                        "with its time (UTC), course and size, and why it cannot be restored. "
                        "restore --to N brings the ROM back to the state before the save of point "
                        "N, written whole or not at all, after keeping the ROM as it is as a "
                        "restore point of its own; a damaged point is never applied."),
         [](const CommandArguments &given) {
             return runRestoreCommand(given.operands, QDateTime::currentDateTimeUtc());
         },
         {},
         true},
    };
    return commands;
}

int courseUsageError(const QString &why, const CourseCommand *command)
{
    QStringList usages;
    if (command) {
        usages.append(command->usages());
    } else {
        for (const CourseCommand &each : courseCommands())
            usages.append(each.usages());
    }
    return usageError(toolName(), why, usages.join(QStringLiteral(", or ")));
}

QString courseToolHelp()
{
    QStringList lines;
    for (const CourseCommand &command : courseCommands()) {
        for (const QString &usage : command.usages())
            lines.append((lines.isEmpty() ? QStringLiteral("usage: ") : QStringLiteral("       "))
                         + usage);
    }
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
    if (command->parsesItself)
        return command->run({arguments.mid(1), {}, {}});

    CommandArguments given;
    bool options = true;
    const auto takesValue = [command](const QString &argument) {
        return std::any_of(command->valued.begin(), command->valued.end(),
                           [&argument](const auto &option) { return option.first == argument; });
    };
    for (qsizetype k = 1; k < arguments.size(); ++k) {
        const QString &argument = arguments[k];
        if (options && takesValue(argument)) {
            if (given.values.contains(argument))
                return courseUsageError(QStringLiteral("%1 is given twice").arg(argument), command);
            if (++k == arguments.size())
                return courseUsageError(QStringLiteral("%1 needs a value").arg(argument), command);
            given.values.insert(argument, arguments[k]);
        } else if (options && argument == EndOfOptions) {
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
