#pragma once

#include "codec/codec.h"

#include <cstdint>

// The internal header's checksum pair, which emulators check: the 16-bit sum of the game's bytes
// (the copier header left out) and its complement.
namespace velmor::rom {

struct ChecksumPair
{
    std::uint16_t checksum = 0;
    std::uint16_t complement = 0;

    bool operator==(const ChecksumPair &) const = default;
};

// The sum as emulators take it: the checksum word counted as 0xFFFF and its complement as 0x0000,
// and an image whose size is no power of two summed as its first power-of-two part plus the rest
// repeated to fill that size again. `game` excludes the copier header; it must hold the header.
std::uint16_t computeChecksum(codec::ByteView game);

// The pair as the header stores it; zeros when the image is too short to hold the header.
ChecksumPair storedChecksum(codec::ByteView game);

// Writes the true pair into the header of the game's bytes starting at `gameStart` of `file`.
void fixChecksum(codec::Bytes &file, std::size_t gameStart);

} // namespace velmor::rom
