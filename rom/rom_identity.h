#pragma once

#include "codec/codec.h"

#include <cstdint>
#include <optional>
#include <string>

// Which ROM a file is, from its internal header: the game or not, which region's, clean or
// modified, whether the header's checksum is true and its size byte agrees with the file. The
// tables' offsets the project knows are the US image's; the other regions keep theirs elsewhere.
namespace velmor::rom {

enum class Region { UnitedStates, Japan, Europe, Other };

struct RomHeader
{
    std::string title; // 21 characters as stored
    std::uint8_t mapMode = 0;
    std::uint8_t cartridgeType = 0;
    std::uint8_t romSize = 0;
    std::uint8_t ramSize = 0;
    std::uint8_t destination = 0;
    std::uint8_t licensee = 0;
    std::uint8_t version = 0;
    std::uint16_t complement = 0;
    std::uint16_t checksum = 0;
};

struct RomIdentity
{
    // Nothing more is known when the size is no ROM size or the file is too short for a header.
    bool readable = false;
    std::string unreadable; // why, when not readable
    bool copierHeader = false;
    std::size_t gameSize = 0; // bytes without the copier header
    RomHeader header;
    // Title, map mode and cartridge type are this game's.
    bool isGame = false;
    Region region = Region::Other;
    std::uint16_t computedChecksum = 0;
    bool checksumTrue = false; // checksum as computed, complement its XOR 0xFFFF
    // The bytes the size byte claims (1024 << byte); nothing for a byte past 32 Mbit.
    std::optional<std::size_t> claimedSize;
    // The claim covers the file: equal, or the next power of two of a size that is none.
    bool sizeAgrees = false;

    bool isUsGame() const { return readable && isGame && region == Region::UnitedStates; }
    // The US game, 4 Mbit, its checksum pair the clean image's and true.
    bool isCleanUs() const;
    // "the US ROM of the game, modified", "the Japanese ROM of the game", "not this game".
    std::string describe() const;
};

RomIdentity identifyRom(codec::ByteView file);

// For a ROM of the game made for another region: the message that refuses it, reading or
// writing alike; empty otherwise.
std::string regionRefusal(const RomIdentity &identity);
// The same from the header alone, without summing the image: for readers that only need to know
// whether the US places hold what they look for.
std::string regionRefusal(codec::ByteView file);

// Why the game's data may not be written at the US offsets into this file: another region, not
// this game at all, or a header whose size byte claims another size than the file's. Empty when
// the file is the US game.
std::string usWriteRefusal(const RomIdentity &identity);

// "4 Mbit", "8 Mbit", "12.5 Mbit".
std::string megabitText(std::size_t bytes);

} // namespace velmor::rom
