#pragma once

#include "codec/codec.h"

namespace velmor::codec {

// One chunk of a stream as the compressors choose it: what it does, how many bytes it yields,
// and which header form carries it.
struct Chunk
{
    Command command = Command::DirectCopy;
    std::size_t length = 0;
    bool longHeader = false;
    // Absolute copies: the source position; relative copies: the distance back. Unused otherwise.
    std::size_t source = 0;
};

// Bytes a chunk takes in the stream, header included.
std::size_t chunkSize(const Chunk &chunk);

// Whether the header form can carry the command and length at all.
bool chunkFits(const Chunk &chunk);

// Appends the chunk that reproduces data[position, position + chunk.length).
void appendChunk(Bytes &stream, const Chunk &chunk, ByteView data, std::size_t position);

} // namespace velmor::codec
