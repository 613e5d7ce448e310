#pragma once

#include "codec/codec.h"

#include <vector>

namespace velmor::codec {

// For every position, how many bytes each fill command can produce there (capped at
// LongMaxLength). Every shorter fill is possible too, so the longest is all a parse needs.
class FillRuns
{
public:
    explicit FillRuns(ByteView data);

    std::size_t byteFill(std::size_t position) const { return mByte[position]; }
    std::size_t wordFill(std::size_t position) const { return mWord[position]; }
    std::size_t increasingFill(std::size_t position) const { return mIncreasing[position]; }

private:
    std::vector<std::size_t> mByte;
    std::vector<std::size_t> mWord;
    std::vector<std::size_t> mIncreasing;
};

} // namespace velmor::codec
