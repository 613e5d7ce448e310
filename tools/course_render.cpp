#include "tools/course_render.h"

#include "course/rom_course.h"
#include "course/track_file.h"
#include "course/track_format.h"
#include "document/course_document.h"
#include "document/layer.h"
#include "graphics/course_art.h"
#include "graphics/course_image_export.h"
#include "graphics/course_renderer.h"
#include "graphics/theme_loader.h"
#include "document/map_geometry.h"
#include "document/tile_text.h"
#include "platform/byte_span.h"
#include "platform/file_access.h"
#include "rom/rom_identity.h"
#include "rom/course_layers.h"
#include "rom/course_tables.h"
#include "rom/hex_offset.h"
#include "rom/rom_image.h"
#include "tools/tool_command_line.h"

#include <QFileInfo>

namespace velmor::tools {

namespace {

using files::shown;

QString fromStd(const std::string &text)
{
    return QString::fromStdString(text);
}

FileOutcome refused(const QString &message)
{
    return {false, message};
}

} // namespace

FileOutcome renderCourse(const RenderRequest &request, const CourseChoice &course)
{
    QString error;
    const std::optional<QByteArray> romFile = files::readWhole(
        request.romPath, QStringLiteral("ROM file"), qint64(rom::MaxFileSize), &error);
    if (!romFile)
        return refused(error);
    const codec::ByteView bytes = byteView(*romFile);
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

    // Another region's image keeps its tiles and courses elsewhere: drawn from the US offsets,
    // the picture would show what is no course.
    if (const std::string other = rom::regionRefusal(bytes); !other.empty())
        return refused(fromStd(other));

    // Which course, and where the ROM keeps it.
    const std::optional<CourseSite> site = locateCourse(*image, course, &error);
    if (!site)
        return refused(error);
    const int id = site->id;
    const std::optional<qint64> listed = site->listedOffset;
    if (!listed && request.trackPath.isEmpty())
        return refused(
            QStringLiteral("cannot find %1 in this ROM: %2").arg(courseTitle(id), site->problem));

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
    QString layersDrawn;
    graphics::ImageExport written;
    if (request.layers.isEmpty()) {
        graphics::CourseRenderer renderer;
        renderer.setGraphics(loaded.graphics);
        renderer.render(texts);
        written = graphics::exportCourseImage(renderer.image(), request.outputPath, request.scale);
    } else {
        // The race as the window draws it: the same document, its layers and their drawing.
        CourseDocument document;
        document.map().setAll(texts, document.map().marks());
        document.loadRace(rom::readCourseLayers(*image, id));
        for (const QString &key : request.layers) {
            Layer *layer = document.layer(key);
            if (!layer->unreadableReason().isEmpty())
                return refused(QStringLiteral("cannot draw the layer %1 of %2: %3")
                                   .arg(key, courseTitle(id), layer->unreadableReason()));
            layer->setVisible(true);
        }
        // At the picture's own size, so that the marks and numbers stay sharp.
        written = graphics::exportCourseImage(
            graphics::paintCourse(document, loaded.graphics, request.scale), request.outputPath, 1);
        layersDrawn = QStringLiteral(" with the layers %1").arg(request.layers.join(QStringLiteral(", ")));
    }
    if (!written.ok)
        return refused(written.error);

    const int side = graphics::CoursePixels * request.scale;
    const QString themeName = QLatin1String(rom::themeName(theme.theme).data());
    QString message = request.trackPath.isEmpty()
        ? QStringLiteral("wrote %1 (%2 x %2 pixels): %3 in the %4 theme")
              .arg(shown(request.outputPath))
              .arg(side)
              .arg(courseTitle(id), themeName)
              + layersDrawn
        : QStringLiteral("wrote %1 (%2 x %2 pixels): the track file %3 in the "
                         "%4 theme of %5")
              .arg(shown(request.outputPath))
              .arg(side)
              .arg(shown(request.trackPath), themeName, courseTitle(id))
              + layersDrawn;
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
