#pragma once

#include "rom/overlay_items.h"
#include "rom/rom_image.h"

#include <array>
#include <optional>
#include <string_view>
#include <vector>

// What a course maker places: the ranges of patterns the game draws as one sort of item (the
// jump bars across and along apart, as they differ in shape), and the size class each is drawn
// with.
namespace velmor::rom {

struct ItemRange
{
    ItemKind kind;
    std::string_view name; // "Item Box", as the undo steps and the palette name it
    int firstPattern;
    int lastPattern;
    int sizeClass; // the one the game draws the range with; coin groups mostly 5 x 5
};
inline constexpr int ItemRangeCount = 8;

// In the order a palette shows them: the ones a course maker places most often first.
const std::array<ItemRange, ItemRangeCount> &itemRanges();
// Nothing for a pattern the game does not define (56-63).
const ItemRange *itemRangeOf(int pattern);
// "Item Box"; "Item" for a pattern the game does not define.
std::string_view itemName(const OverlayItem &item);

// The tile numbers a pattern stamps, row by row, for the patterns whose tiles the game's list
// names one by one (0-27; the order within a 2 x 2 square is inferred); empty for the coin
// groups, which mix tiles FE and FF in shapes of their own.
std::vector<int> patternTiles(int pattern);
// The tiles a pattern stamps as the ROM's own pattern table gives them, row by row in the size
// class its kind is drawn with; -1 where the pattern leaves the layout's tile. Nothing when the
// pattern is none the game defines or its pointer leads outside the table's data.
std::optional<std::vector<int>> readPatternTiles(const RomImage &rom, int pattern);

// A new item of a pattern, with the size class its kind is drawn with, its top-left at a tile;
// kept whole on the map (a record past the right edge would wrap into the next row).
OverlayItem makeItem(int pattern, int col, int row);
// The top-left tile nearest to (col, row) where the item lies wholly on the 128 x 128 map.
OverlayItem placedAt(OverlayItem item, int col, int row);

} // namespace velmor::rom
