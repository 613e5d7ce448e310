#include "recomp/tool_runner.h"

#include "recomp/rom_insert.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

namespace velmor::recomp {

namespace {

// The only format this tool speaks: the game's course compression.
const QString SupportedFormat = QStringLiteral("4");
const QString SupportedFormat2 = QStringLiteral("0");
constexpr int ArgumentCount = 5;

void printLine(std::FILE *stream, const QString &line)
{
    std::fputs(line.toLocal8Bit().constData(), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

int usageError(const ToolDescription &tool, const QString &why)
{
    printLine(stderr, QStringLiteral("%1: %2 (usage: %1 %3; try --help)")
                          .arg(tool.name, why, tool.arguments));
    return ExitUsage;
}

} // namespace

int runTool(int argc, char **argv, const ToolDescription &tool, const ToolAction &action)
{
    const QCoreApplication app(argc, argv);
    // arguments() rather than argv: file names keep their characters on every system.
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        printLine(stdout, QStringLiteral("usage: %1 %2\n%3\n"
                                         "The offset is hexadecimal without prefix (68f2c, 5D6). "
                                         "Only format 4 with format2 0 is supported.\n"
                                         "Exit status: 0 done, 1 refused or failed, 2 wrong "
                                         "command line.")
                              .arg(tool.name, tool.arguments, tool.summary));
        return ExitSuccess;
    }
    if (args.size() != ArgumentCount) {
        return usageError(tool, QStringLiteral("expected %1 arguments, got %2")
                                    .arg(ArgumentCount)
                                    .arg(args.size()));
    }
    const QString offsetText = args.at(2);
    const auto offset = parseHexOffset(offsetText.toStdString());
    if (!offset) {
        return usageError(tool, QStringLiteral("the offset \"%1\" is not a hexadecimal number "
                                               "without prefix")
                                    .arg(offsetText));
    }
    if (args.at(3) != SupportedFormat || args.at(4) != SupportedFormat2) {
        return usageError(tool, QStringLiteral("format %1 with format2 %2 is not supported; only "
                                               "format 4 with format2 0 is")
                                    .arg(args.at(3), args.at(4)));
    }
    const FileOutcome outcome = action(args.at(0), args.at(1), *offset);
    if (!outcome.ok) {
        printLine(stderr, QStringLiteral("%1: %2").arg(tool.name, outcome.message));
        return ExitRefused;
    }
    printLine(stdout, outcome.message);
    return ExitSuccess;
}

} // namespace velmor::recomp
