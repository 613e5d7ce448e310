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

} // namespace velmor::graphics
