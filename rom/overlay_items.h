#pragma once

#include "rom/race_read.h"
#include "rom/rom_image.h"

#include <string>
#include <vector>

// What the game stamps onto a course's map after loading it (item boxes, coins, oil, dash plates,
// jump bars, blocks): a list of up to 41 records in the course's 128-byte slot.
namespace velmor::rom {

struct OverlayItem
{
    int size = 0; // size class 0-3: 2 x 2, 3 x 1, 1 x 3, 5 x 5 tiles
    int pattern = 0; // 0-63; the game defines 0-55
    int col = 0; // top-left tile
    int row = 0;

    bool operator==(const OverlayItem &) const = default;
};

struct ItemExtent
{
    int width = 0;
    int height = 0;
};
// Tiles a size class covers; nothing for a class the game has not.
ItemExtent itemExtent(int sizeClass);

using OverlayItems = std::vector<OverlayItem>;

// What an item's pattern stamps, by the game's ranges of patterns; Unknown past the 56 it defines.
enum class ItemKind { ItemBox, UsedBox, DashPlate, SolidBlock, Oil, JumpBar, Coins, Unknown };
ItemKind itemKind(int pattern);

// "" when the game can use the list; else the first fault as the course file names it
// ("items: 42 items; the game allows 41", "items[3].col: 200 is not 0–127").
std::string itemsProblem(const OverlayItems &items);

// Bounded by the 41 records the slot holds: a list without its end mark there, or a tile index
// past the 128 x 128 map, is refused.
LayerRead<OverlayItems> readOverlayItems(const RomImage &rom, int id);
// The records and the end mark, in place; the slot's other bytes (among them the first byte of
// the end record, which the game does not read) stay as they are. "" on success; on a refusal
// nothing is written.
std::string writeOverlayItems(GameBytes game, int id, const OverlayItems &items);

} // namespace velmor::rom
