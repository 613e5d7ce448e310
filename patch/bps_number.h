#pragma once

#include "patch/patch_result.h"

#include <cstdint>

// BPS's variable-length numbers: 7 bits a byte, least significant group first, bit 7 set on the
// last byte, and one added per continuation so that every number has exactly one encoding.
namespace velmor::patch::bps {

void appendNumber(Bytes &out, std::uint64_t value);
// Bytes appendNumber writes for value: 1 up to 127, 2 up to 16511, ...
std::size_t numberSize(std::uint64_t value);

enum class NumberStatus { Ok, Truncated, Overflow };

struct NumberRead
{
    NumberStatus status = NumberStatus::Truncated;
    std::uint64_t value = 0;
};

// Reads the number at `pos`, using no byte at or after `end` (<= bytes.size()); on success `pos`
// moves past it. A number that does not fit 64 bits is an overflow, not a wrap-around.
NumberRead readNumber(ByteView bytes, std::size_t &pos, std::size_t end);

} // namespace velmor::patch::bps
