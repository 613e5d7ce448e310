#pragma once

#include "rom/course_catalogue.h"
#include "rom/race_read.h"
#include "rom/rom_image.h"

#include <array>
#include <cstdint>

// What each of a theme's 256 tiles does to a kart (road, sand, wall, pit, deep water ...), as the
// game's behaviour table gives it.
namespace velmor::rom {

using TileBehaviours = std::array<std::uint8_t, 256>;

LayerRead<TileBehaviours> readTileBehaviours(const RomImage &rom, Theme theme);

// A kart can drive there: a surface, or a feature lying on the road. Falls, water, lava, pits, the
// course's outside, walls and values of unknown meaning are not.
bool isDrivable(std::uint8_t behaviour);

} // namespace velmor::rom
