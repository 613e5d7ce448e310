#include "codec/fill_runs.h"

#include <algorithm>

namespace velmor::codec {

FillRuns::FillRuns(ByteView data)
    : mByte(data.size())
    , mWord(data.size())
    , mIncreasing(data.size())
{
    const std::size_t n = data.size();
    // Walk backwards so each run extends the one that starts a byte (or a word) later.
    std::vector<std::size_t> repeatsTwoBack(n + 1, 0); // bytes from p on with data[q] == data[q-2]
    for (std::size_t i = n; i-- > 0;) {
        const bool same = i + 1 < n && data[i + 1] == data[i];
        const bool next = i + 1 < n && data[i + 1] == std::uint8_t(data[i] + 1);
        mByte[i] = same ? mByte[i + 1] + 1 : 1;
        mIncreasing[i] = next ? mIncreasing[i + 1] + 1 : 1;
        if (i >= 2 && data[i] == data[i - 2])
            repeatsTwoBack[i] = repeatsTwoBack[i + 1] + 1;
    }
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t tail = i + 2 <= n ? repeatsTwoBack[i + 2] : 0;
        mWord[i] = std::min(n - i, 2 + tail);
        mByte[i] = std::min(mByte[i], LongMaxLength);
        mIncreasing[i] = std::min(mIncreasing[i], LongMaxLength);
        mWord[i] = std::min(mWord[i], LongMaxLength);
    }
}

} // namespace velmor::codec
