#include "recomp/rom_insert.h"

namespace velmor::recomp {

namespace {

std::string noStreamMessage(codec::ByteView rom, std::size_t offset,
                            const codec::DecodeResult &attempt)
{
    std::string message = "no valid compressed stream at " + hexText(offset) + " ("
                          + attempt.reason + " at " + hexText(offset + attempt.errorOffset) + ")";
    // The course table counts the copier header; a ROM without one holds the course 0x200
    // bytes earlier, which is the likeliest reason for a miss.
    if (rom.size() % RomSizeGranule == 0 && offset >= CopierHeaderSize) {
        const std::size_t earlier = offset - CopierHeaderSize;
        if (codec::decode(rom.subspan(earlier)).ok) {
            message += "; a valid stream starts at " + hexText(earlier)
                       + ": the course table's offsets are for ROMs with the 512-byte copier "
                         "header, and this ROM has none";
        }
    }
    return message;
}

bool isTrackStream(const codec::DecodeResult &decoded)
{
    if (!decoded.ok)
        return false;
    const codec::DecodeResult inner = codec::decode(decoded.output, TrackTileLimit);
    return inner.ok && inner.consumed == decoded.output.size();
}

std::string trackProblem(codec::ByteView input)
{
    const codec::DecodeResult track = codec::decode(input, TrackTileLimit);
    if (!track.ok)
        return track.error;
    if (track.consumed != input.size()) {
        return std::to_string(input.size() - track.consumed)
               + " bytes follow the end marker at input offset " + hexText(track.consumed - 1);
    }
    return {};
}

} // namespace

InsertOutcome insertIntoRom(codec::ByteView rom, codec::ByteView input, std::size_t offset)
{
    InsertOutcome outcome;
    if (offset >= rom.size()) {
        outcome.message = "offset " + hexText(offset) + " lies past the end of the ROM ("
                          + std::to_string(rom.size()) + " bytes)";
        return outcome;
    }
    const codec::DecodeResult current = codec::decode(rom.subspan(offset));
    if (!current.ok) {
        outcome.message = noStreamMessage(rom, offset, current);
        return outcome;
    }
    outcome.slot = current.consumed;
    if (input.size() > codec::MaxOutput) {
        outcome.message = "the input holds " + std::to_string(input.size())
                          + " bytes, more than the " + std::to_string(codec::MaxOutput)
                          + " one compressed stream can describe";
        return outcome;
    }
    // A course slot must receive a course: anything else would leave the game reading garbage.
    if (isTrackStream(current)) {
        const std::string problem = trackProblem(input);
        if (!problem.empty()) {
            outcome.message = "the slot at " + hexText(offset)
                              + " holds a course, but the input is not a valid track file: "
                              + problem;
            return outcome;
        }
    }
    const codec::Bytes packed = codec::compress(input);
    if (packed.size() > outcome.slot) {
        outcome.message = "needs " + std::to_string(packed.size()) + " bytes, the slot at "
                          + hexText(offset) + " holds " + std::to_string(outcome.slot);
        return outcome;
    }
    outcome.rom.assign(rom.begin(), rom.end());
    std::copy(packed.begin(), packed.end(), outcome.rom.begin() + std::ptrdiff_t(offset));
    // Never hand back a ROM whose slot does not give the input back.
    const codec::DecodeResult check = codec::decode(codec::ByteView(outcome.rom).subspan(offset));
    if (!check.ok || check.output.size() != input.size()
        || !std::equal(check.output.begin(), check.output.end(), input.begin())) {
        outcome.rom.clear();
        outcome.message = "internal error: the compressed data at " + hexText(offset)
                          + " does not decode back to the input; nothing was written";
        return outcome;
    }
    outcome.ok = true;
    outcome.written = packed.size();
    outcome.message = "wrote " + std::to_string(packed.size()) + " bytes at " + hexText(offset)
                      + " (slot " + std::to_string(outcome.slot) + " bytes, "
                      + std::to_string(outcome.slot - packed.size()) + " free)";
    return outcome;
}

ExtractOutcome extractFromRom(codec::ByteView rom, std::size_t offset)
{
    ExtractOutcome outcome;
    if (offset >= rom.size()) {
        outcome.message = "offset " + hexText(offset) + " lies past the end of the ROM ("
                          + std::to_string(rom.size()) + " bytes)";
        return outcome;
    }
    codec::DecodeResult decoded = codec::decode(rom.subspan(offset));
    if (!decoded.ok) {
        outcome.message = noStreamMessage(rom, offset, decoded);
        return outcome;
    }
    outcome.ok = true;
    outcome.slot = decoded.consumed;
    outcome.data = std::move(decoded.output);
    return outcome;
}

std::optional<std::size_t> parseHexOffset(std::string_view text)
{
    constexpr std::size_t MaxDigits = 8;
    if (text.empty() || text.size() > MaxDigits)
        return std::nullopt;
    std::size_t value = 0;
    for (const char c : text) {
        int digit = 0;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return std::nullopt;
        value = value * 16 + std::size_t(digit);
    }
    return value;
}

std::string hexText(std::size_t value)
{
    static const char digits[] = "0123456789abcdef";
    std::string text;
    do {
        text.insert(text.begin(), digits[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    return "0x" + text;
}

} // namespace velmor::recomp
