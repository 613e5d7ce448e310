#include "rom/rom_identity.h"

#include "rom/checksum.h"
#include "rom/hex_offset.h"
#include "rom/rom_image.h"
#include "rom/rom_map.h"

#include <bit>
#include <cstdio>

namespace velmor::rom {

namespace {

constexpr std::size_t Megabit = 0x20000;
// 1024 << 12 is 4 MiB, the most this project reads.
constexpr std::uint8_t LargestSizeByte = 12;

RomHeader readHeader(codec::ByteView game)
{
    RomHeader result;
    result.title.assign(reinterpret_cast<const char *>(game.data() + header::Start),
        header::TitleLength);
    result.mapMode = game[header::MapMode];
    result.cartridgeType = game[header::CartridgeType];
    result.romSize = game[header::RomSize];
    result.ramSize = game[header::RamSize];
    result.destination = game[header::Destination];
    result.licensee = game[header::Licensee];
    result.version = game[header::Version];
    const ChecksumPair pair = storedChecksum(game);
    result.complement = pair.complement;
    result.checksum = pair.checksum;
    return result;
}

Region regionOf(std::uint8_t destination)
{
    switch (destination) {
    case header::DestinationUsa:
        return Region::UnitedStates;
    case header::DestinationJapan:
        return Region::Japan;
    case header::DestinationEurope:
        return Region::Europe;
    default:
        return Region::Other;
    }
}

// The title with its blanks and anything unprintable made visible.
std::string shownTitle(const std::string &title)
{
    std::string shown;
    for (const char c : title)
        shown += (c >= 0x20 && c < 0x7F) ? c : '?';
    while (!shown.empty() && shown.back() == ' ')
        shown.pop_back();
    return shown;
}

} // namespace

bool RomIdentity::isCleanUs() const
{
    return isUsGame() && gameSize == GameSize && header.romSize == header::GameRomSize
        && header.checksum == header::CleanUsChecksum
        && header.complement == header::CleanUsComplement && checksumTrue;
}

std::string RomIdentity::describe() const
{
    if (!readable)
        return "no ROM";
    if (!isGame)
        return "not this game (its header names \"" + shownTitle(header.title) + "\")";
    switch (region) {
    case Region::UnitedStates:
        return isCleanUs() ? "the US ROM of the game, clean" : "the US ROM of the game, modified";
    case Region::Japan:
        return "the Japanese ROM of the game";
    case Region::Europe:
        return "the European ROM of the game";
    case Region::Other:
        break;
    }
    return "a ROM of the game for an unknown region (destination " + hexText(header.destination)
        + ")";
}

namespace {

RomIdentity identify(codec::ByteView file, bool sum)
{
    RomIdentity identity;
    const std::optional<RomImage> image = RomImage::open(file, &identity.unreadable);
    if (!image)
        return identity;
    const codec::ByteView game = image->game();
    if (game.size() < header::End) {
        identity.unreadable = "a file of " + std::to_string(file.size())
            + " bytes is too short to hold a SNES header (at " + hexText(header::Start) + ")";
        return identity;
    }
    identity.readable = true;
    identity.copierHeader = image->hasHeader();
    identity.gameSize = game.size();
    identity.header = readHeader(game);
    identity.isGame = identity.header.title == header::GameTitle
        && identity.header.mapMode == header::GameMapMode
        && identity.header.cartridgeType == header::GameCartridgeType;
    identity.region = regionOf(identity.header.destination);
    if (!sum)
        return identity;
    identity.computedChecksum = computeChecksum(game);
    identity.checksumTrue = identity.header.checksum == identity.computedChecksum
        && identity.header.complement == (identity.computedChecksum ^ 0xFFFF);
    if (identity.header.romSize <= LargestSizeByte)
        identity.claimedSize = std::size_t(1024) << identity.header.romSize;
    identity.sizeAgrees = identity.claimedSize
        && (*identity.claimedSize == game.size()
            || *identity.claimedSize == std::bit_ceil(game.size()));
    return identity;
}

} // namespace

RomIdentity identifyRom(codec::ByteView file)
{
    return identify(file, true);
}

std::string regionRefusal(codec::ByteView file)
{
    return regionRefusal(identify(file, false));
}

std::string regionRefusal(const RomIdentity &identity)
{
    if (!identity.readable || !identity.isGame || identity.region == Region::UnitedStates)
        return {};
    if (identity.region == Region::Other) {
        return "This is a ROM of the game for an unknown region (destination "
            + hexText(identity.header.destination) + "); Velmor writes only into the US ROM.";
    }
    return "This is the " + std::string(identity.region == Region::Japan ? "Japanese" : "European")
        + " ROM of the game; Velmor writes only into the US ROM.";
}

std::string usWriteRefusal(const RomIdentity &identity)
{
    if (!identity.readable)
        return identity.unreadable;
    if (const std::string region = regionRefusal(identity); !region.empty())
        return region;
    if (!identity.isGame) {
        return "This file is not a ROM of Super Mario Kart (its header names \""
            + shownTitle(identity.header.title) + "\"); Velmor writes only into the US ROM.";
    }
    if (!identity.sizeAgrees) {
        const std::string claim = identity.claimedSize
            ? megabitText(*identity.claimedSize)
            : std::string("no size this game can have");
        return "The ROM's header claims " + claim + " (size byte "
            + hexText(identity.header.romSize) + ") but the file holds "
            + megabitText(identity.gameSize)
            + " of the game: another tool changed one without the other.";
    }
    return {};
}

std::string megabitText(std::size_t bytes)
{
    char text[32];
    if (bytes % Megabit == 0)
        std::snprintf(text, sizeof text, "%zu Mbit", bytes / Megabit);
    else
        std::snprintf(text, sizeof text, "%.1f Mbit", double(bytes) / double(Megabit));
    return text;
}

} // namespace velmor::rom
