#include "codec/codec.h"

#include <algorithm>

namespace velmor::codec {

namespace {

std::string hexOffset(std::size_t offset)
{
    static const char digits[] = "0123456789abcdef";
    std::string text;
    do {
        text.insert(text.begin(), digits[offset & 0xF]);
        offset >>= 4;
    } while (offset != 0);
    return "0x" + text;
}

DecodeResult failure(std::string what, std::size_t offset)
{
    DecodeResult result;
    result.error = what + " at input offset " + hexOffset(offset);
    result.reason = std::move(what);
    result.errorOffset = offset;
    return result;
}

// What to do when the output would grow past its limit: refuse the chunk (a strict decode), or
// take the chunk's first bytes up to the limit and stop there (a prefix decode).
enum class AtLimit { Refuse, Stop };

DecodeResult success(Bytes &&out, std::size_t consumed)
{
    DecodeResult result;
    result.ok = true;
    result.output = std::move(out);
    result.consumed = consumed;
    return result;
}

DecodeResult run(ByteView input, std::size_t maxOutput, AtLimit atLimit)
{
    Bytes out;
    // A reader that says how much it needs gets one buffer of that size.
    if (atLimit == AtLimit::Stop)
        out.reserve(std::min(maxOutput, MaxOutput));
    std::size_t pos = 0;
    while (true) {
        if (atLimit == AtLimit::Stop && out.size() >= maxOutput)
            return success(std::move(out), pos);
        if (pos >= input.size())
            return failure("stream ends without the 0xFF end marker", pos);
        const std::size_t chunkStart = pos;
        const std::uint8_t first = input[pos++];
        // The end marker wins over every other reading of the byte.
        if (first == EndMarker)
            return success(std::move(out), pos);
        unsigned command = 0;
        std::size_t length = 0;
        if ((first & LongHeaderMark) == LongHeaderMark) {
            if (pos >= input.size())
                return failure("long chunk header cut short", chunkStart);
            command = (first >> 2) & 0x7;
            length = ((std::size_t(first & 0x3) << 8) | input[pos++]) + 1;
        } else {
            command = first >> 5;
            length = std::size_t(first & 0x1F) + 1;
        }
        if (atLimit == AtLimit::Stop && out.size() + length > maxOutput) {
            length = maxOutput - out.size();
        } else if (out.size() + length > maxOutput) {
            return failure("chunk would make the output longer than " + std::to_string(maxOutput)
                               + " bytes",
                           chunkStart);
        }

        const auto need = [&](std::size_t count) { return input.size() - pos >= count; };
        switch (Command(command)) {
        case Command::DirectCopy:
            if (!need(length))
                return failure("direct copy of " + std::to_string(length) + " bytes cut short",
                               chunkStart);
            out.insert(out.end(), input.begin() + std::ptrdiff_t(pos),
                       input.begin() + std::ptrdiff_t(pos + length));
            pos += length;
            break;
        case Command::ByteFill:
            if (!need(1))
                return failure("byte fill cut short", chunkStart);
            out.insert(out.end(), length, input[pos++]);
            break;
        case Command::WordFill: {
            if (!need(2))
                return failure("word fill cut short", chunkStart);
            const std::uint8_t pair[2] = {input[pos], input[pos + 1]};
            pos += 2;
            for (std::size_t k = 0; k < length; ++k)
                out.push_back(pair[k & 1]);
            break;
        }
        case Command::IncreasingFill: {
            if (!need(1))
                return failure("increasing fill cut short", chunkStart);
            const std::uint8_t start = input[pos++];
            for (std::size_t k = 0; k < length; ++k)
                out.push_back(std::uint8_t(start + k));
            break;
        }
        case Command::AbsoluteCopy:
        case Command::AbsoluteCopyInverted:
        case Command::RelativeCopy:
        case Command::RelativeCopyInverted: {
            const bool absolute = command == unsigned(Command::AbsoluteCopy)
                                  || command == unsigned(Command::AbsoluteCopyInverted);
            const bool inverted = command == unsigned(Command::AbsoluteCopyInverted)
                                  || command == unsigned(Command::RelativeCopyInverted);
            if (!need(absolute ? 2 : 1))
                return failure("copy chunk cut short", chunkStart);
            std::size_t source = 0;
            if (absolute) {
                source = std::size_t(input[pos]) | (std::size_t(input[pos + 1]) << 8);
                pos += 2;
                if (source >= out.size())
                    return failure("absolute copy from " + hexOffset(source)
                                       + ", which is not yet written (output has "
                                       + std::to_string(out.size()) + " bytes)",
                                   chunkStart);
            } else {
                const std::size_t distance = input[pos++];
                if (distance == 0 || distance > out.size())
                    return failure("relative copy from " + std::to_string(distance)
                                       + " bytes back, outside the "
                                       + std::to_string(out.size()) + " bytes written",
                                   chunkStart);
                source = out.size() - distance;
            }
            const std::uint8_t mask = inverted ? InvertMask : 0;
            // Byte by byte: a source that runs into the bytes being written repeats them.
            for (std::size_t k = 0; k < length; ++k)
                out.push_back(std::uint8_t(out[source + k] ^ mask));
            break;
        }
        }
    }
}

} // namespace

DecodeResult decode(ByteView input, std::size_t maxOutput)
{
    return run(input, maxOutput, AtLimit::Refuse);
}

DecodeResult decodePrefix(ByteView input, std::size_t wanted)
{
    return run(input, wanted, AtLimit::Stop);
}

} // namespace velmor::codec
