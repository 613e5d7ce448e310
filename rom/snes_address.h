#pragma once

#include "codec/codec.h"

#include <cstdint>
#include <optional>

// The game's own pointers: three bytes, low byte first, an address within a bank and the bank.
// The game is a HiROM cartridge and reaches its ROM through two bank forms, $80-$87 (upper half
// of the bank) and $C0-$C7 (the whole bank); other tools may write the mirrors $00-$3F and $40-$7D.
namespace velmor::rom {

inline constexpr std::size_t PointerSize = 3;

struct SnesAddress
{
    std::uint8_t bank = 0;
    std::uint16_t address = 0;

    std::uint32_t value() const { return (std::uint32_t(bank) << 16) | address; }
};

// The pointer at game offset `at`; nothing when its three bytes are not all inside `game`.
std::optional<SnesAddress> readPointer(codec::ByteView game, std::size_t at);

// The game offset that an address reaches: ((bank & 0x3F) << 16) | address. Nothing for an
// address that is no ROM (work RAM, registers, the lower half of a bank that maps only its upper).
std::optional<std::size_t> gameOffsetOf(SnesAddress address);

// "$C6:0189".
std::string addressText(SnesAddress address);

} // namespace velmor::rom
