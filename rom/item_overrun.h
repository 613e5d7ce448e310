#pragma once

#include "rom/overlay_items.h"

#include <optional>

// A course's overlay items as the game reads them, record after record up to the end mark even
// past the course's slot: how a list of 42 or more items looks to the game, which the editor's
// own reader refuses.
namespace velmor::rom {

// Nothing when no end mark comes before the ROM ends or a tile index lies past the map.
std::optional<OverlayItems> readItemsPastSlot(const RomImage &rom, int id);

} // namespace velmor::rom
