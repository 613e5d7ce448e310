#include "codec/chunk_writer.h"
#include "codec/codec.h"
#include "codec/fill_runs.h"
#include "codec/match_finder.h"

#include <algorithm>

namespace velmor::codec {

namespace {

Chunk fitted(Command command, std::size_t length, std::size_t source)
{
    Chunk chunk{command, std::min(length, ShortMaxLength), false, source};
    if (command == Command::RelativeCopyInverted || length > ShortMaxLength) {
        chunk.longHeader = true;
        chunk.length = std::min(length, command == Command::RelativeCopyInverted
                                            ? LongInvertedMaxLength
                                            : LongMaxLength);
    }
    return chunk;
}

void flushLiterals(Bytes &stream, ByteView data, std::size_t from, std::size_t to)
{
    while (from < to) {
        const Chunk chunk = fitted(Command::DirectCopy, to - from, 0);
        appendChunk(stream, chunk, data, from);
        from += chunk.length;
    }
}

} // namespace

// At each position take the command that saves the most bytes over copying the same bytes
// directly, as long as it saves any; otherwise the byte joins a pending direct copy.
Bytes compressGreedy(ByteView data)
{
    if (data.size() > MaxOutput)
        return {};
    const std::size_t n = data.size();
    const FillRuns fills(data);
    const MatchFinder matches(data);
    Bytes stream;
    std::size_t literalsFrom = 0;
    std::size_t i = 0;
    while (i < n) {
        const MatchFinder::Matches &m = matches.at(i);
        const Chunk candidates[] = {
            fitted(Command::ByteFill, fills.byteFill(i), 0),
            fitted(Command::WordFill, fills.wordFill(i), 0),
            fitted(Command::IncreasingFill, fills.increasingFill(i), 0),
            fitted(Command::AbsoluteCopy, m.absolute.length, m.absolute.source),
            fitted(Command::AbsoluteCopyInverted, m.absoluteInverted.length,
                   m.absoluteInverted.source),
            fitted(Command::RelativeCopy, m.relative.length, i - m.relative.source),
            fitted(Command::RelativeCopyInverted, m.relativeInverted.length,
                   i - m.relativeInverted.source),
        };
        const Chunk *chosen = nullptr;
        long bestSaving = 0;
        for (const Chunk &chunk : candidates) {
            if (chunk.length == 0)
                continue;
            const long saving = long(chunk.length) + 1 - long(chunkSize(chunk));
            if (saving > bestSaving) {
                bestSaving = saving;
                chosen = &chunk;
            }
        }
        if (chosen == nullptr) {
            ++i;
            continue;
        }
        flushLiterals(stream, data, literalsFrom, i);
        appendChunk(stream, *chosen, data, i);
        i += chosen->length;
        literalsFrom = i;
    }
    flushLiterals(stream, data, literalsFrom, n);
    stream.push_back(EndMarker);
    return stream;
}

} // namespace velmor::codec
