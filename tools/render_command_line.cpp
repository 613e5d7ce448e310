#include "tools/render_command_line.h"

#include "graphics/course_image_export.h"
#include "rom/course_catalogue.h"
#include "rom/hex_offset.h"
#include "tools/tool_command_line.h"

namespace velmor::tools {

namespace {

constexpr qsizetype Positionals = 3;
const QString EndOfOptions = QStringLiteral("--");
const QString TrackOption = QStringLiteral("--track");
const QString ScaleOption = QStringLiteral("--scale");
const QString LayersOption = QStringLiteral("--layers");
const QString AllLayers = QStringLiteral("all");

bool isHelp(const QString &argument)
{
    return argument == QStringLiteral("--help") || argument == QStringLiteral("-h");
}

} // namespace

const QStringList &raceLayerKeys()
{
    // The document's drawing order: the zones under everything else, the start grid on top.
    static const QStringList keys = {QStringLiteral("zones"), QStringLiteral("targets"),
        QStringLiteral("lap"), QStringLiteral("items"), QStringLiteral("objects"),
        QStringLiteral("start")};
    return keys;
}

QString RenderCommandLine::usage()
{
    return QStringLiteral(
        "velmor-render [--track FILE.bin] [--scale N] [--layers LIST] [--] ROM COURSE OUT.png");
}

QString RenderCommandLine::help()
{
    return QStringLiteral(
        "usage: %1\n"
        "       velmor-render --help\n"
        "Draws a course of a Super Mario Kart ROM as the game does, with the tiles and "
        "colours of the course's theme read from that ROM, and saves it as a PNG of 1024 x "
        "1024 pixels times the scale.\n"
        "COURSE is a course ID in hexadecimal (%3), a course's name (\"%4\", "
        "any letter case) or its offset as the course list shows it (%5).\n"
        "--track FILE.bin  draws that track file in the course's theme instead of the "
        "course the ROM holds\n"
        "--scale N         enlarges every pixel N times, N from 1 to %2 (default 1)\n"
        "--layers LIST     draws the course's race over it as the editor does: a comma-separated "
        "list of items, objects, start, lap, zones, targets, or all\n"
        "An argument -- ends the options, so that a file may start with -.\n"
        "Exit status: 0 done, 1 refused or failed, 2 wrong command line.")
        .arg(usage())
        .arg(graphics::MaxExportScale)
        .arg(QString::fromStdString(rom::bareHex(std::size_t(rom::coursesInCupOrder().front()->id), 2)),
            exampleCourseName(), exampleCourseOffset());
}

RenderCommandLine::RenderCommandLine(const QStringList &arguments)
{
    if (arguments.size() == 1 && isHelp(arguments.constFirst())) {
        mOutcome = Outcome::Help;
        return;
    }
    QStringList positionals;
    bool options = true;
    for (qsizetype at = 0; at < arguments.size() && mOutcome != Outcome::Wrong; ++at) {
        const QString &argument = arguments.at(at);
        if (options && argument == EndOfOptions) {
            options = false;
        } else if (options && argument.startsWith(QLatin1Char('-')) && argument.size() > 1) {
            if (!takeOption(arguments, at))
                return;
        } else {
            positionals.append(argument);
        }
    }
    if (mOutcome == Outcome::Wrong)
        return;
    if (positionals.size() != Positionals) {
        wrong(QStringLiteral("expected ROM, COURSE and OUT.png, got %1 argument%2")
                  .arg(positionals.size())
                  .arg(positionals.size() == 1 ? QString() : QStringLiteral("s")));
        return;
    }
    mRequest.romPath = positionals.at(0);
    mRequest.course = positionals.at(1);
    mRequest.outputPath = positionals.at(2);
}

bool RenderCommandLine::takeOption(const QStringList &arguments, qsizetype &at)
{
    QString name = arguments.at(at);
    QString value;
    bool hasValue = false;
    if (const qsizetype equals = name.indexOf(QLatin1Char('=')); equals > 0) {
        value = name.mid(equals + 1);
        name.truncate(equals);
        hasValue = true;
    }
    if (isHelp(name)) {
        wrong(QStringLiteral("%1 is understood only as the only argument").arg(name));
        return false;
    }
    if (name != TrackOption && name != ScaleOption && name != LayersOption) {
        wrong(QStringLiteral("unknown option %1 (a file whose name starts with - goes after --)")
                  .arg(name));
        return false;
    }
    if (!hasValue) {
        if (at + 1 >= arguments.size()) {
            wrong(QStringLiteral("%1 needs a value").arg(name));
            return false;
        }
        value = arguments.at(++at);
    }
    bool &given = name == TrackOption ? mTrackGiven
        : name == ScaleOption         ? mScaleGiven
                                      : mLayersGiven;
    if (given) {
        wrong(QStringLiteral("%1 is given twice").arg(name));
        return false;
    }
    given = true;
    if (name == LayersOption)
        return takeLayers(value);
    if (name == TrackOption) {
        if (value.isEmpty()) {
            wrong(QStringLiteral("--track needs a file name"));
            return false;
        }
        mRequest.trackPath = value;
        return true;
    }
    bool number = false;
    const int scale = value.toInt(&number);
    if (!number || scale < 1 || scale > graphics::MaxExportScale) {
        wrong(QStringLiteral("the scale \"%1\" is not a whole number from 1 to %2")
                  .arg(value)
                  .arg(graphics::MaxExportScale));
        return false;
    }
    mRequest.scale = scale;
    return true;
}

bool RenderCommandLine::takeLayers(const QString &value)
{
    QStringList asked;
    for (const QString &key : value.split(QLatin1Char(','))) {
        const QString trimmed = key.trimmed();
        if (trimmed == AllLayers) {
            asked = raceLayerKeys();
            continue;
        }
        if (!raceLayerKeys().contains(trimmed)) {
            wrong(QStringLiteral("--layers: \"%1\" is no layer; give some of %2, or %3")
                      .arg(trimmed, raceLayerKeys().join(QStringLiteral(", ")), AllLayers));
            return false;
        }
        if (!asked.contains(trimmed))
            asked.append(trimmed);
    }
    for (const QString &key : raceLayerKeys()) {
        if (asked.contains(key))
            mRequest.layers.append(key);
    }
    return true;
}

void RenderCommandLine::wrong(const QString &why)
{
    mOutcome = Outcome::Wrong;
    mError = why;
}

} // namespace velmor::tools
