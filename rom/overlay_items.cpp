#include "rom/overlay_items.h"

#include "rom/course_catalogue.h"
#include "rom/hex_offset.h"
#include "rom/race_map.h"

namespace velmor::rom {

namespace {

constexpr int TileIndexLimit = map::MapSide * map::MapSide;

std::size_t slotOf(int id)
{
    return map::ItemSlots + map::ItemSlotSize * std::size_t(id);
}

} // namespace

ItemExtent itemExtent(int sizeClass)
{
    switch (sizeClass) {
    case 0:
        return {2, 2};
    case 1:
        return {3, 1};
    case 2:
        return {1, 3};
    case 3:
        return {5, 5};
    default:
        return {};
    }
}

ItemKind itemKind(int pattern)
{
    // Four patterns a kind up to the jump bars (across, then along), then the coin groups.
    constexpr int LastJumpBar = 27;
    constexpr int LastCoins = 55;
    if (pattern < 0)
        return ItemKind::Unknown;
    if (pattern <= LastJumpBar) {
        static constexpr ItemKind ByFour[] = {ItemKind::ItemBox, ItemKind::UsedBox,
            ItemKind::DashPlate, ItemKind::SolidBlock, ItemKind::Oil, ItemKind::JumpBar,
            ItemKind::JumpBar};
        return ByFour[pattern / 4];
    }
    return pattern <= LastCoins ? ItemKind::Coins : ItemKind::Unknown;
}

std::string itemsProblem(const OverlayItems &items)
{
    if (items.size() > std::size_t(map::MaxItems))
        return keyProblem("items", std::to_string(items.size()) + " items; the game allows "
                + std::to_string(map::MaxItems));
    const int lastTile = map::MapSide - 1;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const OverlayItem &item = items[i];
        FieldProblem problem = fieldRange("pattern", item.pattern, 0, map::ItemPatterns - 1);
        if (!problem.found())
            problem = fieldRange("size", item.size, 0, map::ItemSizeClasses - 1);
        if (!problem.found())
            problem = fieldRange("col", item.col, 0, lastTile);
        if (!problem.found())
            problem = fieldRange("row", item.row, 0, lastTile);
        if (problem.found())
            return keyProblem("items[" + std::to_string(i) + "]." + problem.field, problem.reason);
    }
    return {};
}

LayerRead<OverlayItems> readOverlayItems(const RomImage &rom, int id)
{
    const codec::ByteView game = rom.game();
    const std::size_t slot = slotOf(id);
    const auto fault = [&](const std::string &reason) {
        return refused<OverlayItems>(layerMessage(id, "overlay items", rom.fileOffset(slot), reason));
    };
    if (id < 0 || id >= CourseCount || !fits(game.size(), slot, map::ItemSlotSize))
        return fault("the slot lies outside this ROM");
    OverlayItems items;
    for (int k = 0; k <= map::MaxItems; ++k) {
        const std::size_t at = slot + map::ItemRecordSize * std::size_t(k);
        const std::uint16_t index = wordAt(game, at + 1);
        if (index == map::ItemListEnd)
            return {std::move(items), {}};
        if (k == map::MaxItems)
            break;
        if (index >= TileIndexLimit)
            return fault("item " + std::to_string(k) + " at " + hexText(rom.fileOffset(at))
                + ": tile index " + hexText(index) + " is past the 128 x 128 map");
        const std::uint8_t head = game[at];
        items.push_back({head >> map::ItemSizeShift, head & map::ItemPatternMask,
                         index % map::MapSide, index / map::MapSide});
    }
    return fault("no end mark within " + std::to_string(map::MaxItems) + " records");
}

std::string writeOverlayItems(GameBytes game, int id, const OverlayItems &items)
{
    const std::string who = courseLabel(id) + ": overlay items: ";
    const std::size_t slot = slotOf(id);
    if (id < 0 || id >= CourseCount || !fits(game.size(), slot, map::ItemSlotSize))
        return who + "the slot lies outside this ROM";
    if (const std::string problem = itemsProblem(items); !problem.empty())
        return who + problem;
    std::size_t at = slot;
    for (const OverlayItem &item : items) {
        game[at] = std::uint8_t((item.size << map::ItemSizeShift) | item.pattern);
        putWord(game, at + 1, std::uint16_t(item.row * map::MapSide + item.col));
        at += map::ItemRecordSize;
    }
    putWord(game, at + 1, map::ItemListEnd);
    return {};
}

} // namespace velmor::rom
