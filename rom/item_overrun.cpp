#include "rom/item_overrun.h"

#include "rom/course_catalogue.h"
#include "rom/race_map.h"

namespace velmor::rom {

std::optional<OverlayItems> readItemsPastSlot(const RomImage &rom, int id)
{
    const codec::ByteView game = rom.game();
    if (id < 0 || id >= CourseCount)
        return std::nullopt;
    constexpr std::size_t TileIndexLimit = std::size_t(map::MapSide) * map::MapSide;
    OverlayItems items;
    for (std::size_t at = map::ItemSlots + map::ItemSlotSize * std::size_t(id);
         fits(game.size(), at, map::ItemRecordSize); at += map::ItemRecordSize) {
        const std::uint16_t index = wordAt(game, at + 1);
        if (index == map::ItemListEnd)
            return items;
        if (index >= TileIndexLimit)
            return std::nullopt;
        items.push_back({game[at] >> map::ItemSizeShift, game[at] & map::ItemPatternMask,
                         index % map::MapSide, index / map::MapSide});
    }
    return std::nullopt;
}

} // namespace velmor::rom
