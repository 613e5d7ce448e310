// velmor-rom: which ROM a file is, and Expand ROM. A thin front end over course/rom_file.h: the
// command line, the help, and the outcome's lines.
#include "course/rom_file.h"
#include "rom/expansion.h"
#include "tools/tool_command_line.h"

#include <QCoreApplication>
#include <QStringList>

namespace {

using namespace velmor::tools;

const QString Name = QStringLiteral("velmor-rom");
const QString ShortUsage =
    QStringLiteral("velmor-rom info ROM, or velmor-rom expand ROM --to 8|16|32 --output OUT.smc");

int usageError(const QString &why)
{
    return velmor::tools::usageError(Name, why, ShortUsage);
}

void printHelp()
{
    printLine(stdout,
        QStringLiteral(
            "usage: velmor-rom info ROM\n"
            "       velmor-rom expand ROM --to 8|16|32 --output OUT.smc\n"
            "       velmor-rom --help\n"
            "info prints the ROM's internal header, which ROM it is (the US, Japanese or "
            "European game, or not this game; clean or modified), whether the header's "
            "checksum is true, and in an expanded ROM the courses that live in the added "
            "banks and the free room left there.\n"
            "expand writes the US ROM grown to 8, 16 or 32 Mbit to OUT: padded with 0xFF, the "
            "size byte and the checksum set, the copier header kept if there was one, every "
            "other byte unchanged. ROM is never written. Courses larger than their slots then "
            "move into the added banks when they are inserted.\n"
            "A first argument -- ends the options, so that a file may be called -h.\n"
            "Exit status: 0 done, 1 refused or failed, 2 wrong command line."));
}

int expand(const QStringList &args)
{
    // expand ROM --to N --output OUT, the two options in either order.
    if (args.size() != 6)
        return usageError(QStringLiteral("expand takes ROM --to 8|16|32 --output OUT, got %1 "
                                         "arguments")
                              .arg(args.size() - 1));
    QString to;
    QString output;
    for (int i = 2; i + 1 < args.size(); i += 2) {
        QString *value = args[i] == QStringLiteral("--to")       ? &to
                         : args[i] == QStringLiteral("--output") ? &output
                                                                 : nullptr;
        if (!value || !value->isEmpty()) {
            return usageError(QStringLiteral("unexpected \"%1\"; expand takes --to and --output "
                                             "once each")
                                  .arg(args[i]));
        }
        *value = args[i + 1];
    }
    bool number = false;
    const int megabits = to.toInt(&number);
    if (!number || !velmor::rom::isExpansionSize(megabits))
        return usageError(QStringLiteral("--to takes 8, 16 or 32 (Mbit), not \"%1\"").arg(to));
    return report(Name, velmor::expandFile(args[1], output, megabits));
}

} // namespace

int main(int argc, char **argv)
{
    const QCoreApplication app(argc, argv);
    // arguments() rather than argv: file names keep their characters on every system.
    QStringList args = QCoreApplication::arguments().mid(1);
    if (readLeading(args) == Leading::Help) {
        printHelp();
        return ExitSuccess;
    }
    if (args.isEmpty())
        return usageError(QStringLiteral("no command given"));
    const QString command = args.constFirst();
    if (command == QStringLiteral("info")) {
        if (args.size() != 2)
            return usageError(QStringLiteral("info takes one ROM, got %1").arg(args.size() - 1));
        return report(Name, velmor::describeRom(args[1]));
    }
    if (command == QStringLiteral("expand"))
        return expand(args);
    return usageError(QStringLiteral("unknown command \"%1\"").arg(command));
}
