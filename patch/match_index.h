#pragma once

#include "patch/patch_result.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace velmor::patch {

// Finds earlier places in a buffer that start with the same few bytes as a given place: hash
// chains over every added position, newest first, so the creator can find moved or repeated data
// in time proportional to the input.
class MatchIndex
{
public:
    // Positions are keyed by this many bytes; shorter matches are never worth an action anyway.
    static constexpr std::size_t KeySize = 4;
    // How many candidates one lookup looks at: enough for real data, bounded for pathological.
    static constexpr int ChainDepth = 16;

    // At most 2^maxHashBits chains: 18 gives about one position each for a 512 KB ROM. Less data
    // gets fewer, so small inputs do not pay for clearing a table they never fill.
    static constexpr int MaxHashBits = 18;
    explicit MatchIndex(ByteView data, int maxHashBits = MaxHashBits);

    // Makes position pos findable; pos + KeySize must lie inside the data.
    void add(std::size_t pos);
    // Adds every position from `from` up to `to` that has a whole key.
    void addRange(std::size_t from, std::size_t to);
    // The same from the last position down, so that lookups meet the earliest places first: in
    // a run of equal bytes those give the longest matches.
    void addRangeEarliestFirst(std::size_t from, std::size_t to);

    struct Match
    {
        std::size_t position = 0;
        std::size_t length = 0;
    };
    // The longest match in the index for probe[at...], looking at ChainDepth candidates. A
    // candidate at or after `before` is skipped; lengths never reach past probe's end, and the
    // match may run on past `before` (a copy that overlaps what it writes).
    Match longest(ByteView probe, std::size_t at, std::size_t before) const;

private:
    static constexpr int MinHashBits = 8;
    static constexpr std::uint32_t None = 0xFFFFFFFFu;

    std::uint32_t hashAt(ByteView bytes, std::size_t pos) const;

    ByteView mData;
    int mHashBits = MinHashBits;
    std::vector<std::uint32_t> mHeads;
    // Left unset until add() writes it: a chain only ever leads to added positions, and clearing
    // two megabytes per ROM would cost more than all the lookups.
    std::unique_ptr<std::uint32_t[]> mPrevious;
};

} // namespace velmor::patch
