#include "codec/chunk_writer.h"
#include "codec/codec.h"
#include "codec/fill_runs.h"
#include "codec/match_finder.h"
#include "codec/range_min.h"

#include <algorithm>
#include <array>
#include <deque>
#include <limits>

namespace velmor::codec {

namespace {

// What the parse may do at one position: a command with its longest possible length there.
struct Option
{
    Command command;
    std::size_t longest;
    std::size_t source;
};

// A cost with the position where the rest of the stream starts.
struct Step
{
    std::uint32_t cost = std::numeric_limits<std::uint32_t>::max();
    std::size_t next = 0;
};

} // namespace

// Shortest path from the first byte to the end, computed backwards: best[i] is the fewest
// stream bytes that describe data[i..]. Every command except direct copy costs the same whatever
// its length, so at each position it only needs the cheapest best[j] over the lengths it can
// reach; a direct copy costs its length, so it looks for the cheapest best[j] + j instead.
// Lengths up to 32 are answered from running minimums over the next 32 positions, longer ones
// from a range-minimum tree (and a sliding window for direct copies): O(n log n), still exact.
Bytes compress(ByteView data)
{
    if (data.size() > MaxOutput)
        return {};
    const std::size_t n = data.size();
    const FillRuns fills(data);
    const MatchFinder matches(data);

    std::vector<std::uint32_t> best(n + 1, 0);
    std::vector<Chunk> choice(n + 1);
    RangeMin restCost(n + 1);
    restCost.set(n, 0);
    // Positions i+33 .. i+1024 in order of rising best[j] + j, for long direct copies.
    std::deque<std::size_t> window;
    std::array<Step, ShortMaxLength + 1> nearCost{};     // min best[j], j in i+1 .. i+k
    std::array<Step, ShortMaxLength + 1> nearCopyCost{}; // min best[j] + j, same range

    for (std::size_t i = n; i-- > 0;) {
        const std::size_t nearReach = std::min(ShortMaxLength, n - i);
        for (std::size_t k = 1; k <= nearReach; ++k) {
            const std::size_t j = i + k;
            nearCost[k] = nearCost[k - 1];
            if (k == 1 || best[j] < nearCost[k].cost)
                nearCost[k] = {best[j], j};
            nearCopyCost[k] = nearCopyCost[k - 1];
            if (k == 1 || best[j] + j < nearCopyCost[k].cost)
                nearCopyCost[k] = {std::uint32_t(best[j] + j), j};
        }
        if (i + ShortMaxLength + 1 <= n) {
            const std::size_t entering = i + ShortMaxLength + 1;
            while (!window.empty() && best[window.front()] + window.front()
                                          >= best[entering] + entering)
                window.pop_front();
            window.push_front(entering);
            if (window.back() > i + LongMaxLength)
                window.pop_back();
        }

        std::uint32_t bestCost = std::numeric_limits<std::uint32_t>::max();
        Chunk bestChunk;
        const auto offer = [&](Step step, std::size_t size, Chunk chunk) {
            chunk.length = step.next - i;
            if (step.cost + size < bestCost) {
                bestCost = std::uint32_t(step.cost + size);
                bestChunk = chunk;
            }
        };
        // Direct copy: header + length + best[j], j = i + length, i.e. header + (best[j] + j) - i.
        const Step nearCopy = nearCopyCost[nearReach];
        offer({std::uint32_t(nearCopy.cost - i), nearCopy.next}, 1, {Command::DirectCopy, 0, false, 0});
        if (!window.empty()) {
            const std::size_t j = window.back();
            offer({std::uint32_t(best[j] + j - i), j}, 2, {Command::DirectCopy, 0, true, 0});
        }

        const MatchFinder::Matches &m = matches.at(i);
        const Option options[] = {
            {Command::ByteFill, fills.byteFill(i), 0},
            {Command::WordFill, fills.wordFill(i), 0},
            {Command::IncreasingFill, fills.increasingFill(i), 0},
            {Command::AbsoluteCopy, m.absolute.length, m.absolute.source},
            {Command::AbsoluteCopyInverted, m.absoluteInverted.length, m.absoluteInverted.source},
            {Command::RelativeCopy, m.relative.length, i - m.relative.source},
            {Command::RelativeCopyInverted, m.relativeInverted.length,
             i - m.relativeInverted.source},
        };
        for (const Option &option : options) {
            if (option.longest == 0)
                continue;
            const bool longOnly = option.command == Command::RelativeCopyInverted;
            const Chunk shortChunk{option.command, 0, false, option.source};
            const Chunk longChunk{option.command, 0, true, option.source};
            const Step near = nearCost[std::min(option.longest, ShortMaxLength)];
            // Up to 32 bytes the short header does the same for one byte less.
            offer(near, chunkSize(longOnly ? longChunk : shortChunk), longOnly ? longChunk : shortChunk);
            if (option.longest > ShortMaxLength) {
                const std::size_t limit = longOnly ? LongInvertedMaxLength : LongMaxLength;
                const std::size_t reach = std::min(option.longest, limit);
                const auto entry = restCost.query(i + ShortMaxLength + 1, i + reach + 1);
                offer({RangeMin::valueOf(entry), RangeMin::slotOf(entry)}, chunkSize(longChunk),
                      longChunk);
            }
        }
        best[i] = bestCost;
        choice[i] = bestChunk;
        restCost.set(i, bestCost);
    }

    Bytes stream;
    stream.reserve(best[0] + 1);
    for (std::size_t i = 0; i < n; i += choice[i].length)
        appendChunk(stream, choice[i], data, i);
    stream.push_back(EndMarker);
    return stream;
}

} // namespace velmor::codec
