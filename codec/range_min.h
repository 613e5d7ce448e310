#pragma once

#include <cstdint>
#include <limits>
#include <vector>

namespace velmor::codec {

// Minimum over a range of slots that are filled one at a time (a bottom-up segment tree).
// Values carry their slot in the low bits, so the minimum also tells where it was found.
class RangeMin
{
public:
    static constexpr std::uint64_t Empty = std::numeric_limits<std::uint64_t>::max();

    explicit RangeMin(std::size_t slots)
        : mSize(slots)
        , mTree(2 * slots, Empty)
    {}

    void set(std::size_t slot, std::uint32_t value)
    {
        std::size_t node = slot + mSize;
        mTree[node] = (std::uint64_t(value) << 32) | slot;
        for (node >>= 1; node >= 1; node >>= 1)
            mTree[node] = std::min(mTree[2 * node], mTree[2 * node + 1]);
    }

    // Smallest value in slots [from, to) with its slot; Empty when the range holds none.
    std::uint64_t query(std::size_t from, std::size_t to) const
    {
        std::uint64_t best = Empty;
        for (from += mSize, to += mSize; from < to; from >>= 1, to >>= 1) {
            if (from & 1)
                best = std::min(best, mTree[from++]);
            if (to & 1)
                best = std::min(best, mTree[--to]);
        }
        return best;
    }

    static std::uint32_t valueOf(std::uint64_t entry) { return std::uint32_t(entry >> 32); }
    static std::size_t slotOf(std::uint64_t entry) { return std::size_t(entry & 0xFFFFFFFFu); }

private:
    std::size_t mSize;
    std::vector<std::uint64_t> mTree;
};

} // namespace velmor::codec
