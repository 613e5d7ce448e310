#include "rom/object_kinds.h"

namespace velmor::rom {

std::optional<std::uint8_t> objectKindOfTheme(Theme theme)
{
    switch (theme) {
    case Theme::GhostValley:
        return std::nullopt;
    case Theme::RainbowRoad:
        return std::uint8_t(Theme::BowserCastle);
    default:
        return std::uint8_t(theme);
    }
}

} // namespace velmor::rom
