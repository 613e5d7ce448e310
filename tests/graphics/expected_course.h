#pragma once

#include "graphics/tile_images.h"
#include "document/tile_text.h"
#include "tests/support/synthetic_graphics.h"

#include <QImage>
#include <QStringList>

// What a course drawn from a synthetic ROM must look like, pixel for pixel, worked out from the
// bytes the ROM builder wrote; cells that name no tile the theme has show the placeholder.
namespace velmor::test {

inline QImage expectedCourseImage(const GameRom &rom, rom::Theme theme, const QStringList &texts)
{
    constexpr int Side = graphics::TileSide;
    const QImage placeholder = graphics::TileImages::makePlaceholder(Side);
    QImage image(graphics::CoursePixels, graphics::CoursePixels, QImage::Format_RGB32);
    for (int index = 0; index < graphics::CourseTiles * graphics::CourseTiles; ++index) {
        const int left = (index % graphics::CourseTiles) * Side;
        const int top = (index / graphics::CourseTiles) * Side;
        const int tile = index < texts.size() ? tileNumberOf(texts.at(index)) : -1;
        const bool defined = tile >= 0 && expectedIndex(rom, theme, tile, 0, 0).has_value();
        for (int y = 0; y < Side; ++y) {
            for (int x = 0; x < Side; ++x) {
                image.setPixel(left + x, top + y,
                    defined ? *expectedPixel(rom, theme, tile, x, y) : placeholder.pixel(x, y));
            }
        }
    }
    return image;
}

// The first pixel where two pictures differ, for a message; empty when they are equal.
inline QString firstDifference(const QImage &actual, const QImage &expected)
{
    if (actual.size() != expected.size())
        return QStringLiteral("size %1 x %2, expected %3 x %4")
            .arg(actual.width())
            .arg(actual.height())
            .arg(expected.width())
            .arg(expected.height());
    for (int y = 0; y < actual.height(); ++y) {
        for (int x = 0; x < actual.width(); ++x) {
            if (actual.pixel(x, y) != expected.pixel(x, y))
                return QStringLiteral("pixel (%1, %2) is %3, expected %4")
                    .arg(x)
                    .arg(y)
                    .arg(actual.pixel(x, y), 8, 16)
                    .arg(expected.pixel(x, y), 8, 16);
        }
    }
    return QString();
}

} // namespace velmor::test
