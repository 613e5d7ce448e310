#include "codec/chunk_writer.h"

namespace velmor::codec {

namespace {

std::size_t operandSize(Command command)
{
    switch (command) {
    case Command::DirectCopy:
        return 0;
    case Command::ByteFill:
    case Command::IncreasingFill:
    case Command::RelativeCopy:
    case Command::RelativeCopyInverted:
        return 1;
    case Command::WordFill:
    case Command::AbsoluteCopy:
    case Command::AbsoluteCopyInverted:
        return 2;
    }
    return 0;
}

} // namespace

std::size_t chunkSize(const Chunk &chunk)
{
    const std::size_t header = chunk.longHeader ? 2 : 1;
    const std::size_t body = chunk.command == Command::DirectCopy ? chunk.length
                                                                  : operandSize(chunk.command);
    return header + body;
}

bool chunkFits(const Chunk &chunk)
{
    if (chunk.length == 0)
        return false;
    if (!chunk.longHeader)
        return chunk.command != Command::RelativeCopyInverted && chunk.length <= ShortMaxLength;
    const std::size_t limit = chunk.command == Command::RelativeCopyInverted ? LongInvertedMaxLength
                                                                             : LongMaxLength;
    return chunk.length <= limit;
}

void appendChunk(Bytes &stream, const Chunk &chunk, ByteView data, std::size_t position)
{
    const auto command = std::size_t(chunk.command);
    const std::size_t field = chunk.length - 1;
    if (chunk.longHeader) {
        stream.push_back(std::uint8_t(LongHeaderMark | (command << 2) | (field >> 8)));
        stream.push_back(std::uint8_t(field & 0xFF));
    } else {
        stream.push_back(std::uint8_t((command << 5) | field));
    }
    switch (chunk.command) {
    case Command::DirectCopy:
        stream.insert(stream.end(), data.begin() + std::ptrdiff_t(position),
                      data.begin() + std::ptrdiff_t(position + chunk.length));
        break;
    case Command::ByteFill:
    case Command::IncreasingFill:
        stream.push_back(data[position]);
        break;
    case Command::WordFill:
        stream.push_back(data[position]);
        // A one-byte word fill never reads its second operand; repeat the first to stay in range.
        stream.push_back(data[position + (chunk.length > 1 ? 1 : 0)]);
        break;
    case Command::AbsoluteCopy:
    case Command::AbsoluteCopyInverted:
        stream.push_back(std::uint8_t(chunk.source & 0xFF));
        stream.push_back(std::uint8_t(chunk.source >> 8));
        break;
    case Command::RelativeCopy:
    case Command::RelativeCopyInverted:
        stream.push_back(std::uint8_t(chunk.source));
        break;
    }
}

} // namespace velmor::codec
