#pragma once

#include "rom/course_catalogue.h"

#include <cstdint>
#include <optional>

// The kind of a course's objects (pipes, moles, plants, fish, Thwomps) that each theme's courses
// have in the game: the per-course byte at map::ObjectKinds holds these theme-like codes.
namespace velmor::rom {

// Nothing for Ghost Valley, whose courses have no objects of their own kind (their pillars are
// drawn elsewhere). Bowser Castle and Rainbow Road share the Thwomps.
std::optional<std::uint8_t> objectKindOfTheme(Theme theme);

} // namespace velmor::rom
