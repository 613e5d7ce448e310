#include "rom/tile_behaviour.h"

#include "rom/hex_offset.h"
#include "rom/rom_map.h"

#include "codec/codec.h"

namespace velmor::rom {

namespace {

constexpr int CommonFirst = 0xC0;
constexpr int CommonCount = BehaviourTiles - CommonFirst;
constexpr std::uint8_t DrivableFirst = 0x40;
constexpr std::uint8_t DrivableLast = 0x5E;
constexpr std::uint8_t SolidFirst = 0x80;

std::string problem(Theme theme, std::size_t at, const std::string &reason)
{
    return std::string(themeName(theme)) + ": tile behaviour table at " + hexText(at) + ": "
        + reason;
}

} // namespace

Surface surfaceOf(std::uint8_t value)
{
    // Every value with bit 7 set makes karts bounce; the game's own walls are 0x80-0x84.
    if (value >= SolidFirst)
        return Surface::Wall;
    if (value >= DrivableFirst && value <= DrivableLast)
        return Surface::Drivable;
    switch (value) {
    case 0x10: // jump bar
    case 0x12: // small hops
    case 0x1C:
    case 0x14: // item box
    case 0x16: // dash plate
    case 0x18: // oil
    case 0x1A: // coin
    case 0x1E: // ramp
        return Surface::Special;
    case 0x20:
        return Surface::Fall;
    case 0x22:
        return Surface::DeepWater;
    case 0x24:
        return Surface::Lava;
    case 0x26:
        return Surface::OutOfCourse;
    case 0x28:
        return Surface::Pit;
    default:
        return Surface::Unknown;
    }
}

std::string_view surfaceName(Surface surface)
{
    switch (surface) {
    case Surface::Unknown:
        return "unknown";
    case Surface::Drivable:
        return "road";
    case Surface::Special:
        return "road feature";
    case Surface::Pit:
        return "pit";
    case Surface::Wall:
        return "wall";
    case Surface::Fall:
        return "fall";
    case Surface::DeepWater:
        return "deep water";
    case Surface::Lava:
        return "lava";
    case Surface::OutOfCourse:
        return "out of course";
    }
    return "unknown";
}

bool isForbidden(Surface surface)
{
    switch (surface) {
    case Surface::Wall:
    case Surface::Fall:
    case Surface::DeepWater:
    case Surface::Lava:
    case Surface::OutOfCourse:
        return true;
    default:
        return false;
    }
}

LayerRead<TileBehaviour> readTileBehaviour(const RomImage &rom, Theme theme)
{
    const codec::ByteView game = rom.game();
    const std::size_t startAt = map::TileBehaviourStarts + std::size_t(theme);
    if (!fits(game.size(), startAt, 2))
        return refused<TileBehaviour>(problem(theme, rom.fileOffset(startAt),
                                              "the theme's start lies outside this ROM"));
    const std::size_t start = wordAt(game, startAt);
    const std::size_t tableAt = map::TileBehaviourTable;
    if (tableAt >= game.size())
        return refused<TileBehaviour>(problem(theme, rom.fileOffset(tableAt),
                                              "the table lies outside this ROM"));
    const std::size_t wanted = std::min(start + CommonFirst, map::TileBehaviourMaxBytes);
    const codec::DecodeResult decoded = codec::decodePrefix(game.subspan(tableAt),
                                                            std::max<std::size_t>(wanted, CommonCount));
    if (!decoded.ok)
        return refused<TileBehaviour>(problem(theme, rom.fileOffset(tableAt + decoded.errorOffset),
                                              "the table does not decode: " + decoded.reason));
    const codec::Bytes &table = decoded.output;
    if (table.size() < std::size_t(CommonCount))
        return refused<TileBehaviour>(problem(theme, rom.fileOffset(tableAt),
            "it holds " + std::to_string(table.size()) + " bytes, fewer than the "
                + std::to_string(CommonCount) + " of the common tiles"));
    if (start >= table.size())
        return refused<TileBehaviour>(problem(theme, rom.fileOffset(startAt),
            "the theme starts at byte " + hexText(start) + ", past the table's "
                + std::to_string(table.size()) + " bytes"));
    TileBehaviour behaviour;
    behaviour.theme = theme;
    for (int k = 0; k < CommonCount; ++k)
        behaviour.values[std::size_t(CommonFirst + k)] = table[std::size_t(k)];
    for (int tile = 0; tile < CommonFirst && start + std::size_t(tile) < table.size(); ++tile)
        behaviour.values[std::size_t(tile)] = table[start + std::size_t(tile)];
    return {behaviour, {}};
}

} // namespace velmor::rom
