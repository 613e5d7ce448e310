// velmor-patch: courses shared as patches. A thin front end over course/patch_file.h: the command
// line, the help, and one line for the outcome.
#include "course/patch_file.h"
#include "tools/tool_command_line.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

namespace {

using namespace velmor::tools;

const QString Name = QStringLiteral("velmor-patch");
const QString Usage = QStringLiteral("velmor-patch create ORIGINAL MODIFIED OUT.bps|OUT.ips\n"
                                     "       velmor-patch apply ROM PATCH OUT");
constexpr int ArgumentCount = 4;

int usageError(const QString &why)
{
    return velmor::tools::usageError(Name, why,
        QStringLiteral("velmor-patch create ORIGINAL MODIFIED OUT, or velmor-patch apply ROM "
                       "PATCH OUT"));
}

void printHelp()
{
    printLine(stdout,
        QStringLiteral(
            "usage: %1\n"
            "       velmor-patch --help\n"
            "Shares a course as a patch instead of a ROM.\n"
            "create writes the patch that turns the game in ORIGINAL into the game in "
            "MODIFIED, as BPS or IPS by the output's extension (.bps or .ips).\n"
            "apply applies a BPS or IPS patch to ROM and writes the patched ROM to OUT; ROM "
            "and PATCH are never written.\n"
            "Patches describe the game without the 512-byte copier header; either ROM may "
            "have one, and OUT has it when ROM has it.\n"
            "BPS checks that the ROM is the one the patch was made for, and the result. IPS "
            "has no checksums: applied to another ROM it gives a broken ROM without a "
            "word. Prefer BPS.\n"
            "A first argument -- ends the options, so that a file may be called -h.\n"
            "Exit status: 0 done, 1 refused or failed, 2 wrong command line.")
            .arg(Usage));
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
    if (command != QStringLiteral("create") && command != QStringLiteral("apply"))
        return usageError(QStringLiteral("unknown command \"%1\"").arg(command));
    if (args.size() != ArgumentCount) {
        return usageError(
            QStringLiteral("%1 takes 3 files, got %2").arg(command).arg(args.size() - 1));
    }
    return report(Name,
        command == QStringLiteral("create") ? velmor::createPatchFile(args[1], args[2], args[3])
                                            : velmor::applyPatchFile(args[1], args[2], args[3]));
}
