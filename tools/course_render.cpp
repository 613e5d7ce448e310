#include "tools/course_render.h"

#include "course/rom_course.h"
#include "course/track_file.h"
#include "course/track_format.h"
#include "graphics/course_image_export.h"
#include "graphics/course_renderer.h"
#include "graphics/theme_loader.h"
#include "document/map_geometry.h"
#include "document/tile_text.h"
#include "platform/file_access.h"
#include "rom/course_tables.h"
#include "rom/hex_offset.h"
#include "rom/rom_image.h"
#include "tools/tool_command_line.h"

#include <QFileInfo>

namespace velmor::tools {

namespace {

// Up to two digits is a course ID; longer hexadecimal texts are offsets from the course list.
constexpr int IdDigits = 2;

using files::shown;

QString fromStd(const std::string &text)
{
    return QString::fromStdString(text);
}

FileOutcome refused(const QString &message)
{
    return {false, message};
}

QString courseTitle(int id)
{
    return QStringLiteral("%1 (course %2)")
        .arg(QLatin1String(rom::courseById(id)->name.data()), tileText(id));
}

} // namespace

std::optional<CourseChoice> parseCourse(const QString &text, QString *error)
{
    if (const rom::Course *course = rom::courseNamed(text.toStdString()))
        return CourseChoice {course->id, std::nullopt};
    const std::optional<std::size_t> number = rom::parseHexOffset(text.toStdString());
    if (number && text.size() <= IdDigits) {
        if (*number < std::size_t(rom::CourseCount))
            return CourseChoice {int(*number), std::nullopt};
        *error = QStringLiteral("there is no course %1; course IDs go from 00 to 17").arg(text);
        return std::nullopt;
    }
    if (number)
        return CourseChoice {std::nullopt, qint64(*number)};
    *error = QStringLiteral("\"%1\" names no course: give a course ID (00 to 17), a name such as "
                            "\"%2\" or an offset from the course list such as %3")
                 .arg(text, exampleCourseName(), exampleCourseOffset());
    return std::nullopt;
}

FileOutcome renderCourse(const RenderRequest &request, const CourseChoice &course)
{
    QString error;
    const std::optional<QByteArray> romFile = files::readWhole(
        request.romPath, QStringLiteral("ROM file"), qint64(rom::MaxFileSize), &error);
    if (!romFile)
        return refused(error);
    const codec::ByteView bytes(
        reinterpret_cast<const std::uint8_t *>(romFile->constData()), std::size_t(romFile->size()));
    std::string notRom;
    const std::optional<rom::RomImage> image = rom::RomImage::open(bytes, &notRom);
    if (!image)
        return refused(
            QStringLiteral("the ROM file %1: %2").arg(shown(request.romPath), fromStd(notRom)));
    QList<std::pair<QString, QString>> inputs {{QStringLiteral("ROM file"), request.romPath}};
    if (!request.trackPath.isEmpty())
        inputs.append({QStringLiteral("track file"), request.trackPath});
    if (!files::isUsableOutput(request.outputPath, inputs, &error))
        return refused(error);

    // Which course, and where the ROM keeps it.
    int id = 0;
    std::optional<qint64> listed = course.listedOffset;
    if (course.id) {
        id = *course.id;
        const rom::CourseEntry entry = rom::readCourseTables(*image)[std::size_t(id)];
        if (entry.layoutOffset)
            listed = qint64(rom::listedOffsetOfGame(*entry.layoutOffset));
        else if (request.trackPath.isEmpty())
            return refused(QStringLiteral("cannot find %1 in this ROM: %2")
                               .arg(courseTitle(id), fromStd(entry.problem)));
    } else {
        const std::optional<std::size_t> game = rom::gameOffsetOfListed(std::size_t(*listed));
        const std::optional<int> found =
            game ? rom::courseIdStartingAt(*image, *game) : std::nullopt;
        if (!found)
            return refused(QStringLiteral("no course of this ROM starts at %1 (offsets as the "
                                          "course list shows them, for a ROM with the copier "
                                          "header)")
                               .arg(fromStd(rom::hexText(std::size_t(*listed)))));
        id = *found;
    }

    QStringList texts;
    if (!request.trackPath.isEmpty()) {
        const std::optional<QByteArray> track = files::readWhole(
            request.trackPath, QStringLiteral("track file"), track::MaxFileSize, &error);
        if (!track)
            return refused(error);
        const track::DecodedTrack decoded = track::decode(*track);
        if (!decoded.ok)
            return refused(QStringLiteral("the track file %1 is no valid track: %2")
                               .arg(shown(request.trackPath), decoded.error));
        // A picture of a part padded with tile 00 would pass for the course it is not.
        if (decoded.tileCount < CellCount)
            return refused(
                QStringLiteral("the track file %1 is no whole course: %2")
                    .arg(shown(request.trackPath), track::cellsDescribed(decoded.tileCount)));
        texts = decoded.texts;
    } else {
        const RomCourse read = readRomCourse(*romFile, *listed);
        if (!read.ok())
            return refused(
                QStringLiteral("cannot read %1 from the ROM: %2").arg(courseTitle(id), read.error));
        texts = read.texts;
    }

    const rom::CourseTheme theme = *rom::courseTheme(*image, id);
    const graphics::ThemeLoad loaded = graphics::loadTheme(*image, theme.theme);
    if (!loaded.ok())
        return refused(QStringLiteral("cannot draw %1 in the %2 theme: %3")
                           .arg(courseTitle(id), QLatin1String(rom::themeName(theme.theme).data()),
                               fromStd(loaded.error)));
    graphics::CourseRenderer renderer;
    renderer.setGraphics(loaded.graphics);
    renderer.render(texts);
    const graphics::ImageExport written =
        graphics::exportCourseImage(renderer.image(), request.outputPath, request.scale);
    if (!written.ok)
        return refused(written.error);

    const int side = graphics::CoursePixels * request.scale;
    const QString themeName = QLatin1String(rom::themeName(theme.theme).data());
    QString message = request.trackPath.isEmpty()
        ? QStringLiteral("wrote %1 (%2 x %2 pixels): %3 in the %4 theme")
              .arg(shown(request.outputPath))
              .arg(side)
              .arg(courseTitle(id), themeName)
        : QStringLiteral("wrote %1 (%2 x %2 pixels): the track file %3 in the "
                         "%4 theme of %5")
              .arg(shown(request.outputPath))
              .arg(side)
              .arg(shown(request.trackPath), themeName, courseTitle(id));
    const auto missing =
        std::count_if(texts.cbegin(), texts.cend(), [&loaded](const QString &text) {
            return !loaded.graphics->isDefined(tileNumberOf(text));
        });
    if (missing > 0)
        message += QStringLiteral("; %1 cells show tiles the theme does not define, drawn as "
                                  "placeholders")
                       .arg(missing);
    if (!theme.problem.empty())
        message += QStringLiteral("; ") + fromStd(theme.problem);
    return {true, message};
}

} // namespace velmor::tools
