#pragma once

#include <cstdint>
#include <vector>

namespace velmor::codec {

// Suffix array of a sequence of symbols with the longest-common-prefix lengths of neighbouring
// suffixes and a sparse table over them, so the common prefix of any two suffixes is one lookup.
// The compressor uses it to find, for every position, the longest earlier match in one pass.
class SuffixArray
{
public:
    // Symbols must lie in 0..alphabetSize-1. Common prefixes are reported up to prefixCap
    // (at most 65535), which is all a caller with a length limit needs and keeps the table small.
    SuffixArray(const std::vector<std::int32_t> &symbols, std::int32_t alphabetSize,
                std::int32_t prefixCap);

    std::int32_t size() const { return std::int32_t(mOrder.size()); }
    // Position of the suffix at a given rank, and rank of the suffix at a given position.
    std::int32_t suffixAt(std::int32_t rank) const { return mOrder[std::size_t(rank)]; }
    std::int32_t rankOf(std::int32_t position) const { return mRank[std::size_t(position)]; }
    // Common prefix length of the suffixes at two different ranks.
    std::int32_t commonPrefix(std::int32_t rankA, std::int32_t rankB) const;
    // Common prefix of the suffixes at rank and rank - 1 (rank >= 1).
    std::int32_t neighbourPrefix(std::int32_t rank) const { return mTable[0][std::size_t(rank)]; }

private:
    void buildOrder(const std::vector<std::int32_t> &symbols, std::int32_t alphabetSize);
    void buildCommonPrefixes(const std::vector<std::int32_t> &symbols, std::int32_t prefixCap);

    std::vector<std::int32_t> mOrder;
    std::vector<std::int32_t> mRank;
    // mTable[k][r] = min of the neighbour prefix lengths at ranks r .. r+2^k-1.
    std::vector<std::vector<std::uint16_t>> mTable;
};

} // namespace velmor::codec
