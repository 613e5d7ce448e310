#include "patch/bps.h"

#include "patch/bps_number.h"
#include "patch/crc32.h"
#include "patch/match_index.h"

#include <algorithm>
#include <limits>

namespace velmor::patch::bps {

namespace {

// What one action would cover and what it costs in patch bytes; TargetRead costs one byte per
// byte, so an action pays off by how much its length exceeds its cost.
struct Candidate
{
    Action action = Action::TargetRead;
    std::size_t from = 0;
    std::size_t length = 0;
    std::size_t cost = 0;

    std::ptrdiff_t gain() const { return std::ptrdiff_t(length) - std::ptrdiff_t(cost); }
};

std::uint64_t command(Action action, std::size_t length)
{
    return (std::uint64_t(length - 1) << 2) | std::uint64_t(action);
}

std::uint64_t offsetDelta(std::size_t relative, std::size_t from)
{
    return from >= relative ? std::uint64_t(from - relative) << 1
                            : (std::uint64_t(relative - from) << 1) | 1;
}

// The target index holds only new and repeated bytes, far fewer than the source's positions.
constexpr int TargetHashBits = 16;

// Writes the actions, keeping the two relative pointers and the pending new bytes.
class ActionWriter
{
public:
    ActionWriter(Bytes &out, ByteView target)
        : mOut(out)
        , mTarget(target)
    { }

    bool hasLiteral() const { return mLiteralLength > 0; }
    void literal(std::size_t at)
    {
        if (mLiteralLength == 0)
            mLiteralStart = at;
        ++mLiteralLength;
    }
    void flushLiteral()
    {
        if (mLiteralLength == 0)
            return;
        appendNumber(mOut, command(Action::TargetRead, mLiteralLength));
        const auto start = mTarget.begin() + std::ptrdiff_t(mLiteralStart);
        mOut.insert(mOut.end(), start, start + std::ptrdiff_t(mLiteralLength));
        mLiteralLength = 0;
    }

    std::size_t copyCost(Action action, std::size_t from, std::size_t length) const
    {
        const std::size_t relative =
            action == Action::SourceCopy ? mSourceRelative : mTargetRelative;
        return numberSize(command(action, length)) + numberSize(offsetDelta(relative, from));
    }

    void write(const Candidate &chosen)
    {
        flushLiteral();
        appendNumber(mOut, command(chosen.action, chosen.length));
        if (chosen.action == Action::SourceRead)
            return;
        std::size_t &relative =
            chosen.action == Action::SourceCopy ? mSourceRelative : mTargetRelative;
        appendNumber(mOut, offsetDelta(relative, chosen.from));
        relative = chosen.from + chosen.length;
    }

private:
    Bytes &mOut;
    ByteView mTarget;
    std::size_t mLiteralStart = 0;
    std::size_t mLiteralLength = 0;
    std::size_t mSourceRelative = 0;
    std::size_t mTargetRelative = 0;
};

std::size_t commonLength(ByteView a, ByteView b, std::size_t at)
{
    const std::size_t limit = std::min(a.size(), b.size());
    std::size_t length = 0;
    while (at + length < limit && a[at + length] == b[at + length])
        ++length;
    return length;
}

void appendLittle32(Bytes &out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(std::uint8_t(value >> shift));
}

} // namespace

PatchResult create(ByteView source, ByteView target, std::string_view metadata)
{
    if (source.size() > MaxImageSize || target.size() > MaxImageSize) {
        return PatchResult::failure(PatchFault::TooLarge,
            "cannot make a BPS patch of files larger than " + std::to_string(MaxImageSize)
                + " bytes");
    }
    Bytes out(Magic.begin(), Magic.end());
    appendNumber(out, source.size());
    appendNumber(out, target.size());
    appendNumber(out, metadata.size());
    out.insert(out.end(), metadata.begin(), metadata.end());

    MatchIndex sourceIndex(source);
    sourceIndex.addRangeEarliestFirst(0, source.size());
    // What SourceRead covers is not added here: SourceCopy reaches it in the source as cheaply.
    // What the other actions wrote is, so that a run or pattern of them can go on repeating.
    MatchIndex targetIndex(target, TargetHashBits);
    ActionWriter writer(out, target);
    constexpr std::size_t Anywhere = std::numeric_limits<std::size_t>::max();

    std::size_t at = 0;
    while (at < target.size()) {
        Candidate best;
        const std::size_t unchanged = commonLength(source, target, at);
        if (unchanged > 0) {
            best = {Action::SourceRead, at, unchanged,
                numberSize(command(Action::SourceRead, unchanged))};
        }
        // A long unchanged run is as good as it gets; looking further would only cost time.
        constexpr std::size_t LongEnough = 64;
        if (unchanged < LongEnough) {
            const MatchIndex::Match moved = sourceIndex.longest(target, at, Anywhere);
            if (moved.length > 0) {
                const Candidate copy {Action::SourceCopy, moved.position, moved.length,
                    writer.copyCost(Action::SourceCopy, moved.position, moved.length)};
                if (copy.gain() > best.gain())
                    best = copy;
            }
            const MatchIndex::Match repeated = targetIndex.longest(target, at, at);
            if (repeated.length > 0) {
                const Candidate copy {Action::TargetCopy, repeated.position, repeated.length,
                    writer.copyCost(Action::TargetCopy, repeated.position, repeated.length)};
                if (copy.gain() > best.gain())
                    best = copy;
            }
        }
        // Breaking a run of new bytes costs the next TargetRead's own action number.
        const std::ptrdiff_t needed = writer.hasLiteral() ? 2 : 1;
        if (best.length == 0 || best.gain() < needed) {
            writer.literal(at);
            targetIndex.addRange(at, at + 1);
            ++at;
            continue;
        }
        writer.write(best);
        if (best.action != Action::SourceRead)
            targetIndex.addRange(at, at + best.length);
        at += best.length;
    }
    writer.flushLiteral();

    appendLittle32(out, crc32(source));
    appendLittle32(out, crc32(target));
    appendLittle32(out, crc32(out));
    return PatchResult::success(std::move(out));
}

} // namespace velmor::patch::bps
