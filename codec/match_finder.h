#pragma once

#include "codec/codec.h"

#include <vector>

namespace velmor::codec {

// For every position of the data, the longest run each copy command can reproduce there, with a
// source that achieves it. A copy's size does not depend on its source, so the longest match is
// all the parse needs: every shorter length is possible from the same source.
class MatchFinder
{
public:
    struct Match
    {
        std::size_t length = 0;
        std::size_t source = 0; // absolute position in the data
    };
    struct Matches
    {
        Match absolute;
        Match absoluteInverted;
        Match relative;
        Match relativeInverted;
    };

    // Lengths are capped at LongMaxLength.
    explicit MatchFinder(ByteView data);

    const Matches &at(std::size_t position) const { return mMatches[position]; }

private:
    std::vector<Matches> mMatches;
};

} // namespace velmor::codec
