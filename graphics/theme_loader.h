#pragma once

#include "graphics/theme_graphics.h"
#include "rom/rom_image.h"

#include <memory>
#include <optional>
#include <string>

// Reads a theme's graphics out of a user's ROM: the theme's tile and palette pointers from the
// ROM's own tables, the common tiles from their fixed address, every stream decoded only as far
// as the game reads it. A broken table or stream gives one line saying what and where.
namespace velmor::graphics {

struct ThemeLoad
{
    // Nothing when a table or stream is broken.
    std::shared_ptr<const ThemeGraphics> graphics;
    // On failure: what is broken and where (pointer, file offset), in one line.
    std::string error;

    bool ok() const { return graphics != nullptr; }
};

ThemeLoad loadTheme(const rom::RomImage &rom, rom::Theme theme);

// The theme a course is drawn in: the code in the ROM's theme table when it is one, else the
// original game's theme for that course ID.
struct CourseTheme
{
    rom::Theme theme = rom::Theme::MarioCircuit;
    // Empty when the ROM's table gave the theme; else why it could not, and what was taken.
    std::string problem;
};

// Nothing when courseId is no course ID (0x00-0x17).
std::optional<CourseTheme> courseTheme(const rom::RomImage &rom, int courseId);

// The course whose layout starts at a game offset: by the ROM's own pointer table, else by the
// original game's places. Nothing when no course starts there.
std::optional<int> courseStartingAt(const rom::RomImage &rom, std::size_t gameOffset);

} // namespace velmor::graphics
