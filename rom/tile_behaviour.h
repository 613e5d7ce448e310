#pragma once

#include "rom/course_catalogue.h"
#include "rom/race_read.h"
#include "rom/rom_image.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

// What a tile does to a kart, as the theme's behaviour table in the ROM says: road, a wall, a
// fall, lava and the rest. The course check asks it where karts can be and where they cannot.
namespace velmor::rom {

enum class Surface {
    Unknown, // no value for the tile, or one whose meaning is not known
    Drivable, // road, sand, ice, grass, shallow water, mud ...
    Special, // jump bar, hop, item box, dash plate, oil, coin, ramp: karts drive over them
    Pit,
    Wall,
    Fall,
    DeepWater,
    Lava,
    OutOfCourse,
};

Surface surfaceOf(std::uint8_t value);
// "wall", "fall", "deep water", "lava", "out of course", "pit", "road", ...
std::string_view surfaceName(Surface surface);
// Where no kart may be put: a wall, a fall, deep water, lava, out of course.
bool isForbidden(Surface surface);
// Where karts drive: drivable surfaces and what lies on them.
inline bool isDrivable(Surface surface)
{
    return surface == Surface::Drivable || surface == Surface::Special;
}

inline constexpr int BehaviourTiles = 256;

// The value of every tile number of one theme; nothing for a tile the table does not reach.
struct TileBehaviour
{
    Theme theme = Theme::MarioCircuit;
    std::array<std::optional<std::uint8_t>, BehaviourTiles> values {};

    Surface surface(int tile) const
    {
        if (tile < 0 || tile >= BehaviourTiles || !values[std::size_t(tile)])
            return Surface::Unknown;
        return surfaceOf(*values[std::size_t(tile)]);
    }
};

// Bounded: a table that does not decode, a theme start past the decoded table or a table too
// short for the common tiles is refused with what and where; theme tiles past a short table are
// left without a value.
LayerRead<TileBehaviour> readTileBehaviour(const RomImage &rom, Theme theme);

} // namespace velmor::rom
