#pragma once

#include "recomp/codec.h"

#include <optional>
#include <string>
#include <string_view>

// Putting a compressed stream into a ROM image and taking one out, as pure functions over bytes.
// Insertion refuses whatever could damage the ROM and says why; the file side lives in rom_file.h.
namespace velmor::recomp {

// The copier header that many dumps carry in front of the game's bytes. A ROM with it has a
// size of a whole number of granules plus the header.
inline constexpr std::size_t CopierHeaderSize = 0x200;
inline constexpr std::size_t RomSizeGranule = 1024;
// A course map has this many tiles: a track stream never decodes to more.
inline constexpr std::size_t TrackTileLimit = 16384;

struct InsertOutcome
{
    bool ok = false;
    codec::Bytes rom;          // the whole new ROM, on success
    std::size_t written = 0;   // compressed bytes written, end marker included
    std::size_t slot = 0;      // length of the stream that was there
    std::string message;       // the success line, or what was refused and why
};

// Compresses input and writes it over the stream at offset, leaving every other byte as it was
// (the old slot's tail included: the new end marker makes it unused).
InsertOutcome insertIntoRom(codec::ByteView rom, codec::ByteView input, std::size_t offset);

struct ExtractOutcome
{
    bool ok = false;
    codec::Bytes data;
    std::size_t slot = 0;
    std::string message;
};

ExtractOutcome extractFromRom(codec::ByteView rom, std::size_t offset);

// "68f2c", "5D6": hexadecimal without prefix. Nothing for anything else or past 32 bits.
std::optional<std::size_t> parseHexOffset(std::string_view text);
std::string hexText(std::size_t value); // "0x68f2c"

} // namespace velmor::recomp
