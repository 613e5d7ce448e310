#include "tools/restore_command.h"

#include "course/restore_points.h"
#include "platform/file_access.h"
#include "tools/tool_command_line.h"

namespace velmor::tools {

namespace {

const QString Name = QStringLiteral("velmor-course");

QString shownTime(const QDateTime &time)
{
    return time.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) + QStringLiteral(" UTC");
}

CommandOutcome usage(const QString &why)
{
    return {ExitUsage, {},
        {QStringLiteral("%1: %2 (usage: %3; try --help)")
                .arg(Name, files::oneLine(why), restoreUsage())}};
}

CommandOutcome refused(const QString &why)
{
    return {ExitRefused, {}, {QStringLiteral("%1: %2").arg(Name, files::oneLine(why))}};
}

CommandOutcome list(const QString &rom)
{
    const RestorePoints::Listing listing = RestorePoints(rom).list();
    if (!listing.ok)
        return refused(QStringLiteral("cannot list the restore points: %1").arg(listing.error));
    CommandOutcome outcome;
    if (listing.points.isEmpty())
        outcome.out << QStringLiteral("%1 has no restore points").arg(rom);
    for (const RestorePoints::Point &point : listing.points) {
        QString line = QStringLiteral("%1  %2  %3  %4 bytes")
                           .arg(point.number, 2)
                           .arg(shownTime(point.time), point.course)
                           .arg(point.size);
        if (point.state != RestorePoints::State::Usable)
            line += QStringLiteral("  ") + point.problem;
        outcome.out << line;
    }
    return outcome;
}

CommandOutcome restoreTo(const QString &rom, const QString &numberText, const QDateTime &now)
{
    bool isNumber = false;
    const int number = numberText.toInt(&isNumber);
    if (!isNumber || number < 1) {
        return usage(QStringLiteral("--to takes the number of a restore point, 1 for the newest, "
                                    "not \"%1\"")
                         .arg(numberText));
    }
    const RestorePoints points(rom);
    // The time and course of the point, for the line that says what was done.
    const RestorePoints::Listing listing = points.list();
    const RestorePoints::Outcome restored = points.restore(number, now);
    if (!restored.ok)
        return refused(restored.error);
    QString line =
        QStringLiteral("restored %1 to the state before restore point %2").arg(rom).arg(number);
    if (listing.ok && number <= listing.points.size()) {
        const RestorePoints::Point &point = listing.points.at(number - 1);
        line += QStringLiteral(" (%1, %2)").arg(shownTime(point.time), point.course);
    }
    line += QStringLiteral("; the state it had is kept as restore point 1");
    if (!restored.warning.isEmpty())
        line += QStringLiteral(" (warning: %1)").arg(restored.warning);
    return {ExitSuccess, {line}, {}};
}

} // namespace

QString restoreUsage()
{
    return QStringLiteral("velmor-course restore ROM --list | --to N");
}

CommandOutcome restoreCommand(const QStringList &arguments, const QDateTime &now)
{
    if (arguments.isEmpty())
        return usage(QStringLiteral("restore needs a ROM"));
    const QString rom = arguments.at(0);
    const QStringList options = arguments.mid(1);
    if (options == QStringList {QStringLiteral("--list")})
        return list(rom);
    if (options.size() == 2 && options.at(0) == QStringLiteral("--to"))
        return restoreTo(rom, options.at(1), now);
    if (options.isEmpty())
        return usage(QStringLiteral("restore needs --list or --to N after the ROM"));
    return usage(QStringLiteral("restore takes --list or --to N after the ROM, not \"%1\"")
                     .arg(options.join(QLatin1Char(' '))));
}

int runRestoreCommand(const QStringList &arguments, const QDateTime &now)
{
    const CommandOutcome outcome = restoreCommand(arguments, now);
    for (const QString &line : outcome.out)
        printLine(stdout, line);
    for (const QString &line : outcome.err)
        printLine(stderr, line);
    return outcome.exitCode;
}

} // namespace velmor::tools
