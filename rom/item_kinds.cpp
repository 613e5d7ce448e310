#include "rom/item_kinds.h"

#include "rom/race_map.h"

#include <algorithm>

namespace velmor::rom {

namespace {

constexpr int Square = 0; // 2 x 2
constexpr int Across = 1; // 3 wide x 1
constexpr int Along = 2; // 1 x 3 tall
constexpr int Large = 3; // 5 x 5

constexpr std::array<ItemRange, ItemRangeCount> Ranges = {{
    {ItemKind::ItemBox, "Item Box", 0, 3, Square},
    {ItemKind::Coins, "Coin Group", 28, 55, Large},
    {ItemKind::Oil, "Oil Slick", 16, 19, Square},
    {ItemKind::DashPlate, "Dash Plate", 8, 11, Square},
    {ItemKind::JumpBar, "Jump Bar Across", 20, 23, Across},
    {ItemKind::JumpBar, "Jump Bar Along", 24, 27, Along},
    {ItemKind::UsedBox, "Used Item Box", 4, 7, Square},
    {ItemKind::SolidBlock, "Solid Block", 12, 15, Square},
}};

} // namespace

const std::array<ItemRange, ItemRangeCount> &itemRanges()
{
    return Ranges;
}

const ItemRange *itemRangeOf(int pattern)
{
    for (const ItemRange &range : Ranges) {
        if (pattern >= range.firstPattern && pattern <= range.lastPattern)
            return &range;
    }
    return nullptr;
}

std::string_view itemName(const OverlayItem &item)
{
    const ItemRange *range = itemRangeOf(item.pattern);
    return range ? range->name : std::string_view("Item");
}

std::vector<int> patternTiles(int pattern)
{
    const auto square = [](int first) { return std::vector<int> {first, first + 1, first + 2, first + 3}; };
    if (pattern >= 0 && pattern <= 11) // boxes, used boxes and dash plates: four tiles each
        return square(0xC0 + 4 * pattern);
    if (pattern >= 12 && pattern <= 15)
        return square(0xF0);
    if (pattern >= 16 && pattern <= 19)
        return square(0xFA);
    if (pattern >= 20 && pattern <= 23)
        return {0xF4, 0xF5, 0xF6};
    if (pattern >= 24 && pattern <= 27)
        return {0xF7, 0xF8, 0xF9};
    return {};
}

std::optional<std::vector<int>> readPatternTiles(const RomImage &rom, int pattern)
{
    const ItemRange *range = itemRangeOf(pattern);
    const codec::ByteView game = rom.game();
    const std::size_t entry = map::ItemPatternPointers + 2 * std::size_t(pattern);
    if (!range || entry + 2 > game.size())
        return std::nullopt;
    const std::size_t at = map::ItemPatternBank | (game[entry] | std::size_t(game[entry + 1]) << 8);
    const ItemExtent extent = itemExtent(range->sizeClass);
    const std::size_t count = std::size_t(extent.width * extent.height);
    if (at < map::ItemPatternData || at + count > map::ItemPatternDataEnd || at + count > game.size())
        return std::nullopt;
    std::vector<int> tiles;
    tiles.reserve(count);
    for (std::size_t k = 0; k < count; ++k)
        tiles.push_back(game[at + k] == map::ItemPatternClear ? -1 : int(game[at + k]));
    return tiles;
}

OverlayItem makeItem(int pattern, int col, int row)
{
    OverlayItem item;
    item.pattern = pattern;
    const ItemRange *range = itemRangeOf(pattern);
    item.size = range ? range->sizeClass : Square;
    return placedAt(item, col, row);
}

OverlayItem placedAt(OverlayItem item, int col, int row)
{
    const ItemExtent extent = itemExtent(item.size);
    item.col = std::clamp(col, 0, map::MapSide - std::max(1, extent.width));
    item.row = std::clamp(row, 0, map::MapSide - std::max(1, extent.height));
    return item;
}

} // namespace velmor::rom
