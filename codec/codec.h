#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The game's compression format (command + length headers, ended by 0xFF). Plain C++ with no Qt
// so the fuzzers and the command-line tools can use it on their own.
namespace velmor::codec {

using Bytes = std::vector<std::uint8_t>;
using ByteView = std::span<const std::uint8_t>;

inline constexpr std::uint8_t EndMarker = 0xFF;
// The absolute-copy operand is 16 bits wide, so no stream can describe more than this.
inline constexpr std::size_t MaxOutput = 65536;

// Header forms: one byte CCCLLLLL (commands 0..6, 1..32 bytes) or two bytes 111CCCLL LLLLLLLL
// (commands 0..7, 1..1024 bytes). A long relative inverted copy would start with 0xFF at 769 and
// more, which is the end marker, so that command stops at 768.
inline constexpr std::size_t ShortMaxLength = 32;
inline constexpr std::size_t LongMaxLength = 1024;
inline constexpr std::size_t LongInvertedMaxLength = 768;
inline constexpr std::uint8_t LongHeaderMark = 0xE0;
inline constexpr std::size_t MaxRelativeDistance = 255;
inline constexpr std::uint8_t InvertMask = 0xFF;

enum class Command : std::uint8_t {
    DirectCopy = 0,
    ByteFill = 1,
    WordFill = 2,
    IncreasingFill = 3,
    AbsoluteCopy = 4,
    AbsoluteCopyInverted = 5,
    RelativeCopy = 6,
    RelativeCopyInverted = 7,
};

struct DecodeResult
{
    bool ok = false;
    Bytes output;
    // Input bytes the stream used, end marker included: the length of a course's slot in a ROM.
    std::size_t consumed = 0;
    // On failure: what went wrong and the input offset of the chunk (or byte) at fault.
    std::string error;
    std::size_t errorOffset = 0;
    // The same failure without the offset, for callers that name the place in their own terms.
    std::string reason;
};

// Strict and bounded: every read is checked against the input, every write against maxOutput.
DecodeResult decode(ByteView input, std::size_t maxOutput = MaxOutput);

// Decodes only as far as a reader needs: stops at the end marker or as soon as `wanted` bytes are
// out, whichever comes first, and never gives more than `wanted` bytes (the chunk that reaches
// that size is cut there). A stream whose data runs on past what is needed without an end mark
// then reads as the game reads it. `consumed` counts the input bytes read, end marker included
// when there was one. Every read is checked against the input, as in decode().
DecodeResult decodePrefix(ByteView input, std::size_t wanted);

// The shortest stream the format allows for data (an optimal parse over all commands).
// data.size() must not exceed MaxOutput.
Bytes compress(ByteView data);

// A one-pass greedy parse over the same commands; kept only to measure what the optimal parse gains.
Bytes compressGreedy(ByteView data);

} // namespace velmor::codec
