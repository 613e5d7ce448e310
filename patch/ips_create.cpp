#include "patch/ips.h"

#include <algorithm>

namespace velmor::patch::ips {

namespace {

// A record's offset and size; a run-length record adds its count and byte.
constexpr std::size_t RecordHeader = 5;
constexpr std::size_t RunRecord = RecordHeader + 3;

void appendBig(Bytes &out, std::size_t value, int count)
{
    for (int shift = 8 * (count - 1); shift >= 0; shift -= 8)
        out.push_back(std::uint8_t(value >> shift));
}

// Writes the records for one stretch of the target that differs from the source.
class RecordWriter
{
public:
    RecordWriter(Bytes &out, ByteView target)
        : mOut(out)
        , mTarget(target)
    { }

    void stretch(std::size_t start, std::size_t end)
    {
        std::size_t pending = start;
        std::size_t pos = start;
        while (pos < end) {
            const std::uint8_t value = mTarget[pos];
            std::size_t run = 1;
            while (pos + run < end && run < MaxRecordSize && mTarget[pos + run] == value)
                ++run;
            // A run record costs 8 bytes, and splits the plain record around it into two, each
            // with a header of its own: worth it only when it saves more than that.
            const std::size_t cost = RunRecord - RecordHeader + (pos > pending ? RecordHeader : 0)
                + (pos + run < end ? RecordHeader : 0);
            if (run > cost && pos != EofOffset) {
                plain(pending, pos);
                appendBig(mOut, pos, 3);
                appendBig(mOut, 0, 2);
                appendBig(mOut, run, 2);
                mOut.push_back(value);
                pending = pos + run;
            }
            pos += run;
        }
        plain(pending, end);
    }

private:
    void plain(std::size_t start, std::size_t end)
    {
        while (start < end) {
            // The offset 0x454F46 reads as "EOF": start one byte earlier and write that byte too.
            const std::size_t from = start == EofOffset ? start - 1 : start;
            const std::size_t to = std::min(end, from + MaxRecordSize);
            appendBig(mOut, from, 3);
            appendBig(mOut, to - from, 2);
            mOut.insert(mOut.end(), mTarget.begin() + std::ptrdiff_t(from),
                mTarget.begin() + std::ptrdiff_t(to));
            start = to;
        }
    }

    Bytes &mOut;
    ByteView mTarget;
};

} // namespace

PatchResult create(ByteView source, ByteView target)
{
    if (source.size() > MaxSize || target.size() > MaxSize) {
        return PatchResult::failure(PatchFault::TooLarge,
            "IPS cannot describe a file of "
                + std::to_string(std::max(source.size(), target.size()))
                + " bytes: its offsets have 24 bits, enough for " + std::to_string(MaxSize)
                + " bytes; use BPS");
    }
    Bytes out(Magic.begin(), Magic.end());
    RecordWriter writer(out, target);
    const auto differs = [&](std::size_t at) {
        return at >= source.size() || source[at] != target[at];
    };
    std::size_t at = 0;
    while (at < target.size()) {
        if (!differs(at)) {
            ++at;
            continue;
        }
        const std::size_t start = at;
        std::size_t end = at + 1;
        // Equal bytes between two differences cost their own count inside one record, a header
        // as the start of another.
        for (std::size_t next = end; next < target.size() && next - end < RecordHeader; ++next) {
            if (differs(next))
                end = next + 1;
        }
        writer.stretch(start, end);
        at = end;
    }
    out.insert(out.end(), EndMarker.begin(), EndMarker.end());
    if (target.size() < source.size())
        appendBig(out, target.size(), 3);
    return PatchResult::success(std::move(out));
}

} // namespace velmor::patch::ips
