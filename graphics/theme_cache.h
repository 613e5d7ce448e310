#pragma once

#include "graphics/theme_graphics.h"
#include "graphics/tile_images.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

namespace velmor::graphics {

// A theme loaded from a ROM, ready to draw with.
struct LoadedTheme
{
    // Nothing when the ROM's tables or streams are broken.
    std::shared_ptr<const ThemeGraphics> graphics;
    // At the map's scale (16 x 16): for the map view and the tile set.
    TileImages tiles;
    // The course the theme was asked for, when it was asked by course.
    std::optional<int> courseId;
    // Why nothing could be loaded, in one line.
    QString error;
    // Loaded, with something the user should know: the ROM's theme table names no theme for the
    // course, so the original game's theme was taken.
    QString warning;

    bool ok() const { return graphics != nullptr; }
};

// Loads a course's theme from the working ROM's bytes and keeps the last theme loaded, so that
// switching between courses of one theme, or back to the same ROM, loads nothing again.
class ThemeCache
{
public:
    LoadedTheme forTheme(const QByteArray &romFile, rom::Theme theme);
    // By course ID (0x00-0x17); the theme comes from the ROM's own theme table.
    LoadedTheme forCourse(const QByteArray &romFile, int courseId);
    // By the offset the course list shows (a headered file offset); the course is found through
    // the ROM's own layout pointers, then the original game's places.
    LoadedTheme forListedOffset(const QByteArray &romFile, qint64 listedOffset);

    // Forget the kept theme, for instance after the ROM's file was replaced.
    void clear();

private:
    QByteArray mRom;
    std::optional<rom::Theme> mTheme;
    LoadedTheme mLoaded;
};

} // namespace velmor::graphics
