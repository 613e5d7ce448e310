#include "rom/checksum.h"

#include "rom/rom_map.h"

#include <bit>
#include <cstring>

namespace velmor::rom {

namespace {

// Eight bytes at a time: the bytes of a word added pairwise into four 16-bit lanes, which hold
// 128 rounds before they could overflow. A 4 MB image is summed in a few milliseconds.
std::uint32_t plainSum(codec::ByteView bytes)
{
    constexpr std::uint64_t Lanes = 0x00FF00FF00FF00FFull;
    constexpr std::size_t RoundsPerFlush = 128;
    std::uint32_t sum = 0;
    std::size_t at = 0;
    while (bytes.size() - at >= 8) {
        std::uint64_t lanes = 0;
        for (std::size_t round = 0; round < RoundsPerFlush && bytes.size() - at >= 8; ++round) {
            std::uint64_t word;
            std::memcpy(&word, bytes.data() + at, 8);
            lanes += (word & Lanes) + ((word >> 8) & Lanes);
            at += 8;
        }
        for (int lane = 0; lane < 4; ++lane)
            sum += std::uint32_t((lanes >> (16 * lane)) & 0xFFFF);
    }
    for (; at < bytes.size(); ++at)
        sum += bytes[at];
    return sum;
}

std::uint16_t word(codec::ByteView game, std::size_t at)
{
    return std::uint16_t(game[at] | (game[at + 1] << 8));
}

void setWord(codec::Bytes &file, std::size_t at, std::uint16_t value)
{
    file[at] = std::uint8_t(value & 0xFF);
    file[at + 1] = std::uint8_t(value >> 8);
}

} // namespace

std::uint16_t computeChecksum(codec::ByteView game)
{
    if (game.size() < header::End)
        return 0;
    const std::size_t whole = std::bit_floor(game.size());
    std::uint32_t sum = plainSum(game.first(whole));
    const std::size_t restSize = game.size() - whole;
    if (restSize > 0) {
        // The rest mirrored until it fills as much again as the power-of-two part.
        const codec::ByteView rest = game.subspan(whole);
        sum += std::uint32_t(whole / restSize) * plainSum(rest);
        sum += plainSum(rest.first(whole % restSize));
    }
    // The pair as it is stored counts its own four bytes; the rule counts FF FF 00 00 instead.
    const codec::ByteView pair = game.subspan(header::Complement, 4);
    sum -= plainSum(pair);
    sum += 0xFF + 0xFF;
    return std::uint16_t(sum & 0xFFFF);
}

ChecksumPair storedChecksum(codec::ByteView game)
{
    if (game.size() < header::End)
        return {};
    return {word(game, header::Checksum), word(game, header::Complement)};
}

void fixChecksum(codec::Bytes &file, std::size_t gameStart)
{
    if (file.size() < gameStart + header::End)
        return;
    const std::uint16_t sum = computeChecksum(codec::ByteView(file).subspan(gameStart));
    setWord(file, gameStart + header::Checksum, sum);
    setWord(file, gameStart + header::Complement, std::uint16_t(sum ^ 0xFFFF));
}

} // namespace velmor::rom
