#include "patch/match_index.h"

#include <algorithm>

namespace velmor::patch {

MatchIndex::MatchIndex(ByteView data, int maxHashBits)
    : mData(data)
    , mPrevious(std::make_unique_for_overwrite<std::uint32_t[]>(data.size()))
{
    while (mHashBits < maxHashBits && (std::size_t(1) << mHashBits) < data.size())
        ++mHashBits;
    mHeads.assign(std::size_t(1) << mHashBits, None);
}

std::uint32_t MatchIndex::hashAt(ByteView bytes, std::size_t pos) const
{
    const std::uint32_t key = std::uint32_t(bytes[pos]) | std::uint32_t(bytes[pos + 1]) << 8
        | std::uint32_t(bytes[pos + 2]) << 16 | std::uint32_t(bytes[pos + 3]) << 24;
    return (key * 2654435761u) >> (32 - mHashBits);
}

void MatchIndex::add(std::size_t pos)
{
    const std::uint32_t hash = hashAt(mData, pos);
    mPrevious[pos] = mHeads[hash];
    mHeads[hash] = std::uint32_t(pos);
}

void MatchIndex::addRange(std::size_t from, std::size_t to)
{
    if (mData.size() < KeySize)
        return;
    const std::size_t last = std::min(to, mData.size() - KeySize + 1);
    for (std::size_t pos = from; pos < last; ++pos)
        add(pos);
}

void MatchIndex::addRangeEarliestFirst(std::size_t from, std::size_t to)
{
    if (mData.size() < KeySize)
        return;
    for (std::size_t pos = std::min(to, mData.size() - KeySize + 1); pos > from; --pos)
        add(pos - 1);
}

MatchIndex::Match MatchIndex::longest(ByteView probe, std::size_t at, std::size_t before) const
{
    Match best;
    if (probe.size() < KeySize || at > probe.size() - KeySize)
        return best;
    const std::size_t room = probe.size() - at;
    std::uint32_t candidate = mHeads[hashAt(probe, at)];
    for (int depth = 0; depth < ChainDepth && candidate != None; ++depth) {
        const std::size_t pos = candidate;
        candidate = mPrevious[pos];
        if (pos >= before)
            continue;
        const std::size_t limit = std::min(room, mData.size() - pos);
        std::size_t length = 0;
        while (length < limit && mData[pos + length] == probe[at + length])
            ++length;
        if (length > best.length)
            best = {pos, length};
    }
    return best;
}

} // namespace velmor::patch
