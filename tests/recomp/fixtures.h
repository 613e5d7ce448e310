#pragma once

#include "recomp/codec.h"

#include <QByteArray>

#include <cstdint>
#include <random>

// Small synthetic inputs for the codec and insertion tests: never a real game ROM.
namespace velmor::test {

codec::Bytes bytesOf(const QByteArray &bytes);
QByteArray toQByteArray(const codec::Bytes &bytes);
codec::Bytes fromHex(const char *hex);

codec::Bytes randomBytes(std::mt19937 &rng, std::size_t size, int alphabet = 256);

// Track file groups as the editor writes them: fills of 1..32 (0x20..0x3F + tile), copies of
// 1..16 (0x00..0x0F + tiles), closed by 0xFF.
codec::Bytes trackStream(const codec::Bytes &cells);

// 128 x 128 cells: a road loop with kerbs, grass, and items scattered by the seed.
codec::Bytes courseLikeCells(unsigned seed);

// A ROM image of random filler: 524288 bytes, or 524800 with the copier header.
codec::Bytes syntheticRom(unsigned seed, bool copierHeader);

// The length of the shortest stream, end marker included, that a plain reference parse finds: at each position
// every command with its longest run found by comparing bytes against every source, then every
// length and both header forms. Quadratic; for inputs of a few thousand bytes.
std::size_t referenceShortest(codec::ByteView data);

} // namespace velmor::test
