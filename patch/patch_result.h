#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

// Bytes in, bytes out, and what went wrong as a value: the vocabulary of the patch formats.
namespace velmor::patch {

using Bytes = std::vector<std::uint8_t>;
using ByteView = std::span<const std::uint8_t>;

// The largest patch file read at all: four times the largest ROM, so that even an IPS patch of
// many small records that changes a whole 32 Mbit ROM fits.
inline constexpr std::size_t MaxPatchFileSize = std::size_t(16) << 20;

// Why a patch was refused, for callers that explain more than the one line (which ROM to use).
enum class PatchFault {
    None,
    NotAPatch, // neither magic word
    Malformed, // a field no writer produces (a number too large, an RLE count of zero, ...)
    Truncated, // the patch ends inside a field, or before its end marker
    WrongSource, // another source size or CRC32 than the patch was made for
    PastEnd, // an action or record reads or writes outside the bytes it may touch
    Checksum, // target or patch CRC32 differs: the patch or the result is damaged
    TooLarge, // more bytes than the format, or this program, can describe
};

// The outcome of creating or applying a patch: the bytes, or one line saying what failed and
// where (a byte offset in the patch when there is one).
struct PatchResult
{
    bool ok = false;
    Bytes bytes;
    std::string error;
    PatchFault fault = PatchFault::None;

    static PatchResult success(Bytes bytes)
    {
        PatchResult result;
        result.ok = true;
        result.bytes = std::move(bytes);
        return result;
    }
    static PatchResult failure(PatchFault fault, std::string error)
    {
        PatchResult result;
        result.fault = fault;
        result.error = std::move(error);
        return result;
    }
};

// "0x1234ABCD": how CRCs and offsets appear in messages.
std::string hex32(std::uint64_t value);

} // namespace velmor::patch
