#include "graphics/theme_cache.h"

#include "platform/byte_span.h"
#include "graphics/theme_loader.h"
#include "rom/rom_identity.h"
#include "rom/course_tables.h"
#include "rom/hex_offset.h"
#include "rom/rom_image.h"

#include <QCoreApplication>

namespace velmor::graphics {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("velmor::graphics::ThemeCache", text);
}

LoadedTheme failure(const QString &error)
{
    LoadedTheme loaded;
    loaded.error = error;
    return loaded;
}

} // namespace

LoadedTheme ThemeCache::forTheme(const QByteArray &romFile, rom::Theme theme)
{
    if (mTheme == theme && mRom.size() == romFile.size() && mRom == romFile) {
        LoadedTheme kept = mLoaded;
        kept.courseId.reset();
        kept.warning.clear();
        return kept;
    }
    clear();
    std::string notRom;
    const std::optional<rom::RomImage> image = rom::RomImage::open(byteView(romFile), &notRom);
    if (!image)
        return failure(QString::fromStdString(notRom));
    if (const std::string region = rom::regionRefusal(byteView(romFile));
        !region.empty())
        return failure(QString::fromStdString(region));
    const ThemeLoad load = loadTheme(*image, theme);
    if (!load.ok())
        return failure(QString::fromStdString(load.error));
    mLoaded.graphics = load.graphics;
    mLoaded.tiles = TileImages(*load.graphics);
    mRom = romFile;
    mTheme = theme;
    return mLoaded;
}

LoadedTheme ThemeCache::forCourse(const QByteArray &romFile, int courseId)
{
    std::string notRom;
    const std::optional<rom::RomImage> image = rom::RomImage::open(byteView(romFile), &notRom);
    if (!image)
        return failure(QString::fromStdString(notRom));
    if (const std::string region = rom::regionRefusal(byteView(romFile));
        !region.empty())
        return failure(QString::fromStdString(region));
    const std::optional<rom::CourseTheme> theme = rom::courseTheme(*image, courseId);
    if (!theme)
        return failure(tr("there is no course %1; course IDs go from 00 to 17")
                           .arg(courseId, 2, 16, QLatin1Char('0')));
    LoadedTheme loaded = forTheme(romFile, theme->theme);
    loaded.courseId = courseId;
    loaded.warning = QString::fromStdString(theme->problem);
    return loaded;
}

LoadedTheme ThemeCache::forListedOffset(const QByteArray &romFile, qint64 listedOffset)
{
    std::string notRom;
    const std::optional<rom::RomImage> image = rom::RomImage::open(byteView(romFile), &notRom);
    if (!image)
        return failure(QString::fromStdString(notRom));
    if (const std::string region = rom::regionRefusal(byteView(romFile));
        !region.empty())
        return failure(QString::fromStdString(region));
    const auto listed = std::size_t(listedOffset);
    const std::optional<std::size_t> game = rom::gameOffsetOfListed(listed);
    const std::optional<int> id = game ? rom::courseIdStartingAt(*image, *game) : std::nullopt;
    if (!id)
        return failure(tr("no course of this ROM starts at %1")
                           .arg(QString::fromStdString(rom::hexText(listed))));
    return forCourse(romFile, *id);
}

void ThemeCache::clear()
{
    mRom.clear();
    mTheme.reset();
    mLoaded = LoadedTheme();
}

} // namespace velmor::graphics
