#include "tools/tool_command_line.h"

#include "platform/file_access.h"
#include "rom/course_catalogue.h"
#include "rom/hex_offset.h"
#include "rom/rom_image.h"
#include "rom/rom_streams.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

namespace velmor::tools {

namespace {

const QString SupportedFormat = QString::fromLatin1(rom::CourseFormat);
const QString SupportedFormat2 = QString::fromLatin1(rom::CourseFormat2);
constexpr int ArgumentCount = 5;
const QString EndOfOptions = QStringLiteral("--");

const rom::Course &exampleCourse()
{
    return *rom::coursesInCupOrder().front();
}

int wrongUsage(const ToolDescription &tool, const QString &why)
{
    return usageError(tool.name, why, tool.name + QLatin1Char(' ') + tool.arguments);
}

void printHelp(const ToolDescription &tool)
{
    QString usage = QStringLiteral("usage: %1 %2").arg(tool.name, tool.arguments);
    if (!tool.moreUsage.isEmpty())
        usage += QStringLiteral("\n       ") + tool.moreUsage;
    printLine(stdout,
        QStringLiteral("%1\n       %2 --help\n%3\n"
                       "The offset is hexadecimal without prefix (%4, 5D6). "
                       "Only format 4 with format2 0 is supported.\n"
                       "A first argument -- ends the options, so that a file may be "
                       "called -h.\n"
                       "Exit status: 0 done, 1 refused or failed, 2 wrong command "
                       "line.")
            .arg(usage, tool.name, tool.summary, exampleCourseOffset()));
}

} // namespace

Leading readLeading(QStringList &args)
{
    if (!args.isEmpty() && args.constFirst() == EndOfOptions) {
        args.removeFirst();
        return Leading::EndOfOptions;
    }
    if (args.size() == 1
        && (args.constFirst() == QStringLiteral("--help")
            || args.constFirst() == QStringLiteral("-h")))
        return Leading::Help;
    return Leading::Arguments;
}

int usageError(const QString &toolName, const QString &why, const QString &usage)
{
    // The reason may quote any text of the command line, line breaks included.
    printLine(stderr,
        QStringLiteral("%1: %2 (usage: %3; try --help)").arg(toolName, files::oneLine(why), usage));
    return ExitUsage;
}

int report(const QString &toolName, const FileOutcome &outcome)
{
    if (!outcome.ok) {
        printLine(stderr, QStringLiteral("%1: %2").arg(toolName, files::oneLine(outcome.message)));
        return ExitRefused;
    }
    printLine(stdout, outcome.message);
    return ExitSuccess;
}

void printLine(std::FILE *stream, const QString &line)
{
    std::fputs(line.toLocal8Bit().constData(), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

int runTool(int argc, char **argv, const ToolDescription &tool, const ToolAction &action,
    const ListAction &list)
{
    const QCoreApplication app(argc, argv);
    // arguments() rather than argv: file names keep their characters on every system.
    QStringList args = QCoreApplication::arguments().mid(1);
    // Options only where nothing else can be meant: help as the only argument, the list with its
    // one file. Anywhere else "-h" is a file name; after a leading "--" everything is one.
    const Leading leading = readLeading(args);
    if (leading == Leading::Help) {
        printHelp(tool);
        return ExitSuccess;
    }
    if (leading == Leading::Arguments && list && args.size() == 2
        && args.constFirst() == QStringLiteral("--list"))
        return report(tool.name, list(args.at(1)));

    if (args.size() != ArgumentCount) {
        return wrongUsage(tool,
            QStringLiteral("expected %1 arguments, got %2").arg(ArgumentCount).arg(args.size()));
    }
    const QString offsetText = args.at(2);
    const auto offset = rom::parseHexOffset(offsetText.toStdString());
    if (!offset) {
        return wrongUsage(tool,
            QStringLiteral("the offset \"%1\" is not a hexadecimal number "
                           "without prefix")
                .arg(offsetText));
    }
    if (args.at(3) != SupportedFormat || args.at(4) != SupportedFormat2) {
        return wrongUsage(tool,
            QStringLiteral("format %1 with format2 %2 is not supported; only "
                           "format 4 with format2 0 is")
                .arg(args.at(3), args.at(4)));
    }
    return report(tool.name, action(args.at(0), args.at(1), *offset));
}

QString exampleCourseName()
{
    return QString::fromUtf8(exampleCourse().name.data(), qsizetype(exampleCourse().name.size()));
}

QString exampleCourseOffset()
{
    return QString::fromStdString(
        rom::bareHex(rom::listedOffsetOfGame(exampleCourse().layoutOffset), rom::CourseLineDigits));
}

} // namespace velmor::tools
