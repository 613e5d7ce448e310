#include "rom/tile_behaviour.h"

#include "codec/codec.h"
#include "rom/hex_offset.h"
#include "rom/race_map.h"

#include <algorithm>

namespace velmor::rom {

namespace {

constexpr std::size_t ThemeTiles = map::CommonTilesFirst;
constexpr std::size_t CommonTiles = 256 - ThemeTiles;

} // namespace

LayerRead<TileBehaviours> readTileBehaviours(const RomImage &rom, Theme theme)
{
    const codec::ByteView game = rom.game();
    const auto fault = [&](std::size_t at, const std::string &reason) {
        return refused<TileBehaviours>("tile behaviour at " + hexText(rom.fileOffset(at))
            + ": " + reason);
    };
    const std::size_t startWord = map::TileBehaviourStarts + std::size_t(theme);
    if (!fits(game.size(), startWord, 2) || game.size() <= map::TileBehaviourStream)
        return fault(map::TileBehaviourStream, "the table lies outside this ROM");
    const codec::DecodeResult table =
        codec::decodePrefix(game.subspan(map::TileBehaviourStream), map::TileBehaviourSize);
    if (!table.ok)
        return fault(map::TileBehaviourStream, table.error);
    const std::size_t start = wordAt(game, startWord);
    if (table.output.size() < CommonTiles || !fits(table.output.size(), start, ThemeTiles))
        return fault(startWord, "the theme's part ends past the " + std::to_string(table.output.size())
            + " bytes of the table");
    TileBehaviours behaviours {};
    std::copy_n(table.output.begin() + std::ptrdiff_t(start), ThemeTiles, behaviours.begin());
    std::copy_n(table.output.begin(), CommonTiles, behaviours.begin() + ThemeTiles);
    return {behaviours, {}};
}

bool isDrivable(std::uint8_t behaviour)
{
    return (behaviour >= map::FirstRoadFeature && behaviour <= map::LastRoadFeature)
        || (behaviour >= map::FirstSurface && behaviour <= map::LastSurface);
}

} // namespace velmor::rom
