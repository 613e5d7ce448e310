#include "rom/snes_address.h"

#include <cstdio>
#include <string>

namespace velmor::rom {

namespace {

// Banks that map the ROM's 64 KB whole, and banks that map only its upper 32 KB at $8000-$FFFF.
bool mapsWholeBank(std::uint8_t bank)
{
    return (bank >= 0xC0) || (bank >= 0x40 && bank <= 0x7D);
}

bool mapsUpperHalf(std::uint8_t bank)
{
    return bank <= 0x3F || (bank >= 0x80 && bank <= 0xBF);
}

constexpr std::uint16_t UpperHalf = 0x8000;
constexpr std::uint8_t BankMask = 0x3F;

} // namespace

std::optional<SnesAddress> readPointer(codec::ByteView game, std::size_t at)
{
    if (at > game.size() || game.size() - at < PointerSize)
        return std::nullopt;
    return SnesAddress {game[at + 2], std::uint16_t(game[at] | (game[at + 1] << 8))};
}

std::optional<std::size_t> gameOffsetOf(SnesAddress address)
{
    if (!mapsWholeBank(address.bank)
        && !(mapsUpperHalf(address.bank) && address.address >= UpperHalf))
        return std::nullopt;
    return (std::size_t(address.bank & BankMask) << 16) | address.address;
}

std::string addressText(SnesAddress address)
{
    char text[16];
    std::snprintf(text, sizeof text, "$%02X:%04X", address.bank, address.address);
    return text;
}

} // namespace velmor::rom
