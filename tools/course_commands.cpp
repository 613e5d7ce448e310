#include "tools/course_commands.h"

#include "course/course_file.h"
#include "course/rom_course.h"
#include "document/tile_text.h"
#include "platform/byte_span.h"
#include "platform/file_access.h"
#include "rom/hex_offset.h"
#include "tools/course_choice.h"
#include "tools/course_command_line.h"
#include "tools/tool_command_line.h"

#include <cstdio>
#include <map>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#endif

namespace velmor::tools {

namespace {

const QString Name = QString::fromLatin1(CourseToolName);
const QString RomRole = QStringLiteral("ROM file");

QString fromStd(const std::string &text)
{
    return QString::fromStdString(text);
}

QString names(const std::vector<int> &ids)
{
    QStringList list;
    for (const int id : ids)
        list.append(courseTitle(id));
    return list.join(QStringLiteral(", "));
}

QString count(std::size_t n, const char *one, const char *many)
{
    return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? one : many));
}

QString itemsLine(const rom::OverlayItems &items)
{
    static const std::map<rom::ItemKind, std::pair<const char *, const char *>> Kinds = {
        {rom::ItemKind::ItemBox, {"item box", "item boxes"}},
        {rom::ItemKind::UsedBox, {"used item box", "used item boxes"}},
        {rom::ItemKind::DashPlate, {"dash plate", "dash plates"}},
        {rom::ItemKind::SolidBlock, {"solid block", "solid blocks"}},
        {rom::ItemKind::Oil, {"oil slick", "oil slicks"}},
        {rom::ItemKind::JumpBar, {"jump bar", "jump bars"}},
        {rom::ItemKind::Coins, {"coin group", "coin groups"}},
        {rom::ItemKind::Unknown, {"unknown pattern", "unknown patterns"}},
    };
    std::map<rom::ItemKind, std::size_t> counts;
    for (const rom::OverlayItem &item : items)
        ++counts[rom::itemKind(item.pattern)];
    QStringList parts;
    for (const auto &[kind, n] : counts)
        parts.append(count(n, Kinds.at(kind).first, Kinds.at(kind).second));
    QString line = QStringLiteral("items: %1 of %2").arg(items.size()).arg(rom::map::MaxItems);
    if (!parts.isEmpty())
        line += QStringLiteral(" (%1)").arg(parts.join(QStringLiteral(", ")));
    return line;
}

QString objectsLine(const std::optional<rom::ObjectPositions> &objects)
{
    if (!objects)
        return QStringLiteral("objects: none (battle courses have no object positions)");
    return QStringLiteral("objects: %1 groups of %2, %3 for the match race")
        .arg(rom::map::ObjectGroups)
        .arg(rom::map::ObjectsPerGroup)
        .arg(count(objects->match.size(), "object", "objects"));
}

QString startLine(const rom::StartGrid &start, const std::vector<int> &sharers)
{
    QString line;
    if (const auto *race = std::get_if<rom::RaceStart>(&start))
        line = QStringLiteral("start grid: race, first place at (%1, %2), the second column %3 "
                              "pixels across")
                   .arg(race->x)
                   .arg(race->y)
                   .arg(race->w);
    else {
        const auto &battle = std::get<rom::BattleStart>(start);
        line = QStringLiteral("start grid: battle, player 1 at (%1, %2), player 2 at (%3, %4)")
                   .arg(battle.p1[0])
                   .arg(battle.p1[1])
                   .arg(battle.p2[0])
                   .arg(battle.p2[1]);
    }
    if (!sharers.empty())
        line += QStringLiteral("; the record is shared with %1").arg(names(sharers));
    return line;
}

QString lapLine(const std::optional<rom::LapLine> &lap)
{
    if (!lap)
        return QStringLiteral("lap line: none (battle courses have none)");
    return QStringLiteral("lap line: y %1 over %2 x %3 cells from cell (%4, %5)")
        .arg(lap->y)
        .arg(lap->w)
        .arg(lap->h)
        .arg(lap->col)
        .arg(lap->row);
}

QString aiLine(const rom::CourseAi &ai, const std::vector<int> &sharers)
{
    QString line = QStringLiteral("AI: %1 of %2, %3, %4 bytes")
                       .arg(count(ai.zones.size(), "zone", "zones"))
                       .arg(rom::map::MaxZones)
                       .arg(count(ai.targets.size(), "target", "targets"))
                       .arg(ai.size());
    if (!ai.spare.empty())
        line += QStringLiteral(" (%1 spare target bytes the game never reads)").arg(ai.spare.size());
    if (!sharers.empty())
        line += QStringLiteral("; the set is shared with %1").arg(names(sharers));
    return line;
}

template <typename T, typename Describe>
QString layerLine(const char *label, const rom::LayerRead<T> &read, Describe describe)
{
    if (!read.ok())
        return QStringLiteral("%1: unreadable: %2").arg(QLatin1String(label), fromStd(read.error));
    return describe(*read.value);
}

// The whole course, or the first layer that could not be read.
std::optional<rom::CourseData> wholeCourse(const CourseInRom &course, QString *error)
{
    const std::vector<std::string> errors = course.layers.errors();
    if (!errors.empty()) {
        *error = QStringLiteral("cannot take %1 whole: %2")
                     .arg(courseTitle(course.layers.id), fromStd(errors.front()));
        return std::nullopt;
    }
    return course.layers.course(course.layout);
}

void writeRaw(const QByteArray &bytes)
{
#ifdef Q_OS_WIN
    // The course file's own line ends, not the console's.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

} // namespace

CourseReading readCourseInRom(const QString &romPath, const QString &courseText)
{
    QString error;
    const std::optional<CourseChoice> choice = parseCourse(courseText, &error);
    if (!choice)
        return {std::nullopt, error, ExitUsage};
    const std::optional<QByteArray> romFile =
        files::readWhole(romPath, RomRole, qint64(rom::MaxFileSize), &error);
    if (!romFile)
        return {std::nullopt, error, ExitRefused};
    std::string notRom;
    const std::optional<rom::RomImage> image = rom::RomImage::open(byteView(*romFile), &notRom);
    if (!image)
        return {std::nullopt,
                QStringLiteral("the ROM file %1: %2").arg(files::shown(romPath), fromStd(notRom)),
                ExitRefused};
    const std::optional<CourseSite> site = locateCourse(*image, *choice, &error);
    if (!site)
        return {std::nullopt, error, ExitRefused};
    if (!site->listedOffset)
        return {std::nullopt,
                QStringLiteral("cannot find %1 in this ROM: %2").arg(courseTitle(site->id), site->problem),
                ExitRefused};
    const RomCourse layout = readRomCourse(*romFile, *site->listedOffset);
    if (!layout.ok())
        return {std::nullopt,
                QStringLiteral("cannot read %1 from the ROM: %2").arg(courseTitle(site->id), layout.error),
                ExitRefused};

    CourseInRom course;
    course.romPath = romPath;
    course.layers = rom::readCourseLayers(*image, site->id);
    course.tileCount = layout.tileCount;
    course.listedOffset = *site->listedOffset;
    course.layout.reserve(std::size_t(layout.texts.size()));
    for (const QString &text : layout.texts)
        course.layout.push_back(std::uint8_t(qMax(0, tileNumberOf(text))));
    return {std::move(course), {}, ExitSuccess};
}

QString courseSummary(const CourseInRom &course)
{
    const rom::CourseLayers &layers = course.layers;
    QStringList lines;
    lines.append(courseTitle(layers.id));
    lines.append(layerLine("theme", layers.theme, [](rom::Theme theme) {
        return QStringLiteral("theme: %1 (code %2)")
            .arg(QLatin1String(rom::themeName(theme).data()), tileText(int(theme)));
    }));
    lines.append(QStringLiteral("layout: %1 of %2 tiles described, at %3 as the course list "
                                "counts offsets")
                     .arg(course.tileCount)
                     .arg(course.layout.size())
                     .arg(fromStd(rom::hexText(std::size_t(course.listedOffset)))));
    lines.append(layerLine("items", layers.items, itemsLine));
    lines.append(layerLine("objects", layers.objects, objectsLine));
    lines.append(layerLine("start grid", layers.start, [&layers](const rom::StartGrid &start) {
        return startLine(start, layers.startSharers);
    }));
    lines.append(layerLine("lap line", layers.lap, lapLine));
    lines.append(layerLine("AI", layers.ai, [&layers](const rom::CourseAi &ai) {
        return aiLine(ai, layers.aiSharers);
    }));
    return lines.join(QLatin1Char('\n'));
}

int showCourse(const CommandArguments &arguments)
{
    const CourseReading reading = readCourseInRom(arguments.operands[0], arguments.operands[1]);
    if (!reading.course) {
        return reading.status == ExitUsage ? courseUsageError(reading.error, &courseCommands()[0])
                                           : report(Name, {false, reading.error});
    }
    if (!arguments.has(QStringLiteral("--json"))) {
        printLine(stdout, courseSummary(*reading.course));
        return ExitSuccess;
    }
    QString error;
    const std::optional<rom::CourseData> course = wholeCourse(*reading.course, &error);
    if (!course)
        return report(Name, {false, error});
    const std::optional<QByteArray> json = coursefile::write(*course, &error);
    if (!json)
        return report(Name, {false, QStringLiteral("%1 holds what a course file cannot: %2")
                                        .arg(courseTitle(course->id), error)});
    writeRaw(*json);
    return ExitSuccess;
}

int exportCourse(const CommandArguments &arguments)
{
    const QString &romPath = arguments.operands[0];
    const QString &outPath = arguments.operands[2];
    const CourseReading reading = readCourseInRom(romPath, arguments.operands[1]);
    if (!reading.course) {
        return reading.status == ExitUsage ? courseUsageError(reading.error, &courseCommands()[1])
                                           : report(Name, {false, reading.error});
    }
    QString error;
    if (!files::isUsableOutput(outPath, {{RomRole, romPath}}, &error))
        return report(Name, {false, error});
    const std::optional<rom::CourseData> course = wholeCourse(*reading.course, &error);
    if (!course)
        return report(Name, {false, error});
    const std::optional<QByteArray> json = coursefile::write(*course, &error);
    if (!json)
        return report(Name, {false, QStringLiteral("%1 holds what a course file cannot: %2")
                                        .arg(courseTitle(course->id), error)});
    if (!files::writeOutput(outPath, *json, &error))
        return report(Name, {false, error});
    return report(Name, {true, QStringLiteral("wrote %1 (%2 bytes): %3")
                                   .arg(files::shown(outPath))
                                   .arg(json->size())
                                   .arg(courseTitle(course->id))});
}

} // namespace velmor::tools
