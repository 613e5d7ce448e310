#include "codec/match_finder.h"

#include "codec/suffix_array.h"

#include <algorithm>
#include <limits>

namespace velmor::codec {

namespace {

constexpr std::int32_t Separator = 256;

// The few sources a relative copy may use (the last MaxRelativeDistance positions), kept as a
// sorted array of suffix ranks: small enough that insertion by moving memory beats any tree, and
// the longest common prefix with any member is found at a rank neighbour of the query.
class NearSources
{
public:
    explicit NearSources(const SuffixArray &suffixes) : mSuffixes(suffixes) {}

    void insert(std::int32_t position)
    {
        const std::int32_t rank = mSuffixes.rankOf(position);
        mRanks.insert(std::lower_bound(mRanks.begin(), mRanks.end(), rank), rank);
    }
    void erase(std::int32_t position)
    {
        const std::int32_t rank = mSuffixes.rankOf(position);
        mRanks.erase(std::lower_bound(mRanks.begin(), mRanks.end(), rank));
    }

    // Longest prefix of the suffix at query shared with a member, and that member's position.
    std::pair<std::int32_t, std::int32_t> longest(std::int32_t query) const
    {
        const std::int32_t rank = mSuffixes.rankOf(query);
        std::pair<std::int32_t, std::int32_t> best{0, 0};
        const auto consider = [&](std::int32_t other) {
            const std::int32_t length = mSuffixes.commonPrefix(rank, other);
            if (length > best.first)
                best = {length, mSuffixes.suffixAt(other)};
        };
        const auto after = std::lower_bound(mRanks.begin(), mRanks.end(), rank);
        if (after != mRanks.end())
            consider(*after);
        if (after != mRanks.begin())
            consider(*std::prev(after));
        return best;
    }

private:
    const SuffixArray &mSuffixes;
    std::vector<std::int32_t> mRanks;
};

struct Found
{
    std::int32_t length = 0;
    std::int32_t source = 0;
};

void keepLonger(Found &kept, Found candidate)
{
    if (candidate.length > kept.length)
        kept = candidate;
}

// Longest match of each data suffix with an earlier data suffix. Among the earlier suffixes the
// best one is the nearest in suffix order on either side, which a monotonic stack finds for all
// positions in one sweep; the stack also carries the common prefix lengths between its entries.
void earlierMatches(const SuffixArray &suffixes, std::int32_t n, bool forward,
                    std::vector<Found> &found)
{
    struct Entry
    {
        std::int32_t position;
        std::int32_t prefixWithBelow;
    };
    std::vector<Entry> stack;
    std::int32_t prefixWithTop = 0;
    const std::int32_t ranks = suffixes.size();
    for (std::int32_t step = 0; step < ranks; ++step) {
        const std::int32_t rank = forward ? step : ranks - 1 - step;
        if (step > 0)
            prefixWithTop = std::min(prefixWithTop, suffixes.neighbourPrefix(forward ? rank : rank + 1));
        const std::int32_t position = suffixes.suffixAt(rank);
        if (position >= n)
            continue;
        while (!stack.empty() && stack.back().position > position) {
            prefixWithTop = std::min(prefixWithTop, stack.back().prefixWithBelow);
            stack.pop_back();
        }
        if (!stack.empty())
            keepLonger(found[std::size_t(position)], {prefixWithTop, stack.back().position});
        stack.push_back({position, prefixWithTop});
        prefixWithTop = std::numeric_limits<std::int32_t>::max();
    }
}

// Longest match of each data suffix with an inverted suffix that starts earlier. Candidates and
// queries differ here, so the query searches the stack (positions rise towards its top).
void earlierInvertedMatches(const SuffixArray &suffixes, std::int32_t n, bool forward,
                            std::vector<Found> &found)
{
    struct Entry
    {
        std::int32_t position; // in the data
        std::int32_t rank;
    };
    std::vector<Entry> stack;
    const std::int32_t ranks = suffixes.size();
    for (std::int32_t step = 0; step < ranks; ++step) {
        const std::int32_t rank = forward ? step : ranks - 1 - step;
        const std::int32_t at = suffixes.suffixAt(rank);
        if (at > n) {
            const std::int32_t position = at - n - 1;
            while (!stack.empty() && stack.back().position > position)
                stack.pop_back();
            stack.push_back({position, rank});
        } else if (at < n) {
            const auto below = std::lower_bound(stack.begin(), stack.end(), at,
                                                [](const Entry &e, std::int32_t p) {
                                                    return e.position < p;
                                                });
            if (below != stack.begin()) {
                const Entry &source = *std::prev(below);
                keepLonger(found[std::size_t(at)],
                           {suffixes.commonPrefix(rank, source.rank), source.position});
            }
        }
    }
}

} // namespace

MatchFinder::MatchFinder(ByteView data)
{
    const auto n = std::int32_t(data.size());
    mMatches.resize(data.size());
    if (n == 0)
        return;
    // The data, a separator no byte can equal, then the data inverted: one suffix array answers
    // both plain and inverted matches, and the separator keeps them from running into each other.
    std::vector<std::int32_t> symbols;
    symbols.reserve(2 * data.size() + 1);
    for (const std::uint8_t b : data)
        symbols.push_back(b);
    symbols.push_back(Separator);
    for (const std::uint8_t b : data)
        symbols.push_back(b ^ InvertMask);
    const SuffixArray suffixes(symbols, Separator + 1, std::int32_t(LongMaxLength));
    const std::int32_t invertedStart = n + 1;

    std::vector<Found> plain(data.size());
    std::vector<Found> inverted(data.size());
    for (const bool forward : {true, false}) {
        earlierMatches(suffixes, n, forward, plain);
        earlierInvertedMatches(suffixes, n, forward, inverted);
    }

    NearSources plainNear(suffixes);
    NearSources invertedNear(suffixes);
    const auto window = std::int32_t(MaxRelativeDistance);
    const auto toMatch = [&](Found found, std::int32_t i) {
        if (found.length == 0)
            return Match{};
        const auto cap = std::min<std::int32_t>(std::int32_t(LongMaxLength), n - i);
        return Match{std::size_t(std::min(found.length, cap)), std::size_t(found.source)};
    };
    for (std::int32_t i = 0; i < n; ++i) {
        if (i > 0) {
            // A copy may start at any earlier byte; its run may overlap the bytes it writes.
            plainNear.insert(i - 1);
            invertedNear.insert(invertedStart + i - 1);
        }
        if (i > window) {
            plainNear.erase(i - 1 - window);
            invertedNear.erase(invertedStart + i - 1 - window);
        }
        Matches &m = mMatches[std::size_t(i)];
        m.absolute = toMatch(plain[std::size_t(i)], i);
        m.absoluteInverted = toMatch(inverted[std::size_t(i)], i);
        const auto near = plainNear.longest(i);
        m.relative = toMatch({near.first, near.second}, i);
        const auto nearInverted = invertedNear.longest(i);
        m.relativeInverted = toMatch({nearInverted.first, nearInverted.second - invertedStart}, i);
    }
}

} // namespace velmor::codec
