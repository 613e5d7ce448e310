#include "patch/bps_number.h"

#include <limits>

namespace velmor::patch::bps {

namespace {

constexpr std::uint8_t LastByte = 0x80;
constexpr std::uint8_t Payload = 0x7F;
constexpr std::uint64_t Max = std::numeric_limits<std::uint64_t>::max();

} // namespace

void appendNumber(Bytes &out, std::uint64_t value)
{
    for (;;) {
        const auto low = std::uint8_t(value & Payload);
        value >>= 7;
        if (value == 0) {
            out.push_back(LastByte | low);
            return;
        }
        out.push_back(low);
        value -= 1;
    }
}

std::size_t numberSize(std::uint64_t value)
{
    std::size_t size = 1;
    while ((value >>= 7) != 0) {
        value -= 1;
        ++size;
    }
    return size;
}

NumberRead readNumber(ByteView bytes, std::size_t &pos, std::size_t end)
{
    std::uint64_t data = 0;
    std::uint64_t shift = 1;
    for (std::size_t at = pos; at < end; ++at) {
        const std::uint64_t group = bytes[at] & Payload;
        if (group != 0 && shift > (Max - data) / group)
            return {NumberStatus::Overflow, 0};
        data += group * shift;
        if (bytes[at] & LastByte) {
            pos = at + 1;
            return {NumberStatus::Ok, data};
        }
        // The next group would be worth more than 64 bits can hold, even at its smallest.
        if (shift > (Max >> 7))
            return {NumberStatus::Overflow, 0};
        shift <<= 7;
        if (data > Max - shift)
            return {NumberStatus::Overflow, 0};
        data += shift;
    }
    return {NumberStatus::Truncated, 0};
}

} // namespace velmor::patch::bps
