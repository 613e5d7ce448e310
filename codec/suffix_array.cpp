#include "codec/suffix_array.h"

#include <algorithm>
#include <bit>

namespace velmor::codec {

SuffixArray::SuffixArray(const std::vector<std::int32_t> &symbols, std::int32_t alphabetSize,
                         std::int32_t prefixCap)
{
    buildOrder(symbols, alphabetSize);
    buildCommonPrefixes(symbols, std::clamp(prefixCap, 0, 0xFFFF));
}

// Prefix doubling with counting sorts: O(n log n) whatever the data, so long repeats (the very
// thing a track file is full of) cost no more than noise.
void SuffixArray::buildOrder(const std::vector<std::int32_t> &symbols, std::int32_t alphabetSize)
{
    const std::size_t n = symbols.size();
    mOrder.assign(n, 0);
    mRank.assign(n, 0);
    if (n == 0)
        return;
    std::vector<std::int32_t> second(n);
    std::vector<std::int32_t> count(std::max<std::size_t>(std::size_t(alphabetSize), n) + 1, 0);
    for (std::size_t i = 0; i < n; ++i)
        ++count[std::size_t(mRank[i] = symbols[i])];
    for (std::size_t c = 1; c < count.size(); ++c)
        count[c] += count[c - 1];
    for (std::size_t i = n; i-- > 0;)
        mOrder[std::size_t(--count[std::size_t(mRank[i])])] = std::int32_t(i);

    std::size_t classes = std::size_t(alphabetSize);
    for (std::size_t step = 1;; step <<= 1) {
        // Order by the second half first: suffixes too short for it come first.
        std::size_t p = 0;
        for (std::size_t i = n - std::min(step, n); i < n; ++i)
            second[p++] = std::int32_t(i);
        for (std::size_t r = 0; r < n; ++r) {
            if (std::size_t(mOrder[r]) >= step)
                second[p++] = mOrder[r] - std::int32_t(step);
        }
        // Then a stable counting sort by the first half.
        std::fill(count.begin(), count.begin() + std::ptrdiff_t(classes + 1), 0);
        for (std::size_t i = 0; i < n; ++i)
            ++count[std::size_t(mRank[i])];
        for (std::size_t c = 1; c <= classes; ++c)
            count[c] += count[c - 1];
        for (std::size_t i = n; i-- > 0;) {
            const auto s = std::size_t(second[i]);
            mOrder[std::size_t(--count[std::size_t(mRank[s])])] = std::int32_t(s);
        }
        // New classes from (first half, second half) pairs; second is reused as the old ranks.
        second.swap(mRank);
        const auto key2 = [&](std::size_t pos) { return pos + step < n ? second[pos + step] : -1; };
        mRank[std::size_t(mOrder[0])] = 0;
        classes = 1;
        for (std::size_t r = 1; r < n; ++r) {
            const auto a = std::size_t(mOrder[r - 1]);
            const auto b = std::size_t(mOrder[r]);
            const bool same = second[a] == second[b] && key2(a) == key2(b);
            mRank[b] = std::int32_t(same ? classes - 1 : classes++);
        }
        if (classes == n)
            break;
    }
}

void SuffixArray::buildCommonPrefixes(const std::vector<std::int32_t> &symbols,
                                      std::int32_t prefixCap)
{
    const std::size_t n = symbols.size();
    std::vector<std::uint16_t> lcp(n, 0);
    // Kasai: the prefix shared with the rank neighbour drops by at most one from one text
    // position to the next.
    std::size_t h = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const auto r = std::size_t(mRank[i]);
        if (r == 0) {
            h = 0;
            continue;
        }
        const auto j = std::size_t(mOrder[r - 1]);
        while (i + h < n && j + h < n && symbols[i + h] == symbols[j + h])
            ++h;
        lcp[r] = std::uint16_t(std::min(h, std::size_t(prefixCap)));
        if (h > 0)
            --h;
    }
    mTable.clear();
    mTable.push_back(std::move(lcp));
    for (std::size_t width = 1; 2 * width <= n; width <<= 1) {
        const auto &prev = mTable.back();
        std::vector<std::uint16_t> next(n - 2 * width + 1);
        for (std::size_t r = 0; r < next.size(); ++r)
            next[r] = std::min(prev[r], prev[r + width]);
        mTable.push_back(std::move(next));
    }
}

std::int32_t SuffixArray::commonPrefix(std::int32_t rankA, std::int32_t rankB) const
{
    if (rankA > rankB)
        std::swap(rankA, rankB);
    // min over lcp[rankA+1 .. rankB]
    const auto from = std::size_t(rankA + 1);
    const auto span = std::size_t(rankB - rankA);
    const auto level = std::size_t(std::bit_width(span) - 1);
    const auto &row = mTable[level];
    return std::min(row[from], row[std::size_t(rankB) + 1 - (std::size_t(1) << level)]);
}

} // namespace velmor::codec
