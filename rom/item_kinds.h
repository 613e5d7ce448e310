#pragma once

#include "rom/overlay_items.h"

#include <array>
#include <optional>
#include <string_view>
#include <vector>

// What the overlay items' patterns are in the game: which patterns make an item box, a coin
// group, an oil slick, and with which size class the game draws each kind.
namespace velmor::rom {

enum class ItemKind {
    ItemBox,
    CoinGroup,
    OilSlick,
    DashPlate,
    JumpBarAcross,
    JumpBarAlong,
    UsedBox,
    SolidBlock,
};
inline constexpr int ItemKindCount = 8;

struct ItemKindInfo
{
    ItemKind kind;
    std::string_view name; // "Item Box", as the undo steps and the palette name it
    int firstPattern;
    int lastPattern;
    int sizeClass; // the one the game draws the kind with; coin groups mostly 5 x 5
};

// In the order a palette shows them: the ones a course maker places most often first.
const std::array<ItemKindInfo, ItemKindCount> &itemKinds();
const ItemKindInfo &itemKindInfo(ItemKind kind);
// Nothing for a pattern the game does not define (56-63).
std::optional<ItemKind> itemKindOf(int pattern);
// "Item Box"; "Item" for a pattern the game does not define.
std::string_view itemName(const OverlayItem &item);

// The tile numbers a pattern stamps, row by row, for the patterns whose tiles the game's list
// names one by one (0-27; the order within a 2 x 2 square is inferred); empty for the coin
// groups, which mix tiles FE and FF in shapes of their own.
std::vector<int> patternTiles(int pattern);

// A new item of a pattern, with the size class its kind is drawn with, its top-left at a tile;
// kept whole on the map (a record past the right edge would wrap into the next row).
OverlayItem makeItem(int pattern, int col, int row);
// The top-left tile nearest to (col, row) where the item lies wholly on the 128 x 128 map.
OverlayItem placedAt(OverlayItem item, int col, int row);

} // namespace velmor::rom
