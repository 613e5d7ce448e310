// Random data through both compressors: every stream must decode back to the data, and the
// optimal parse must never be longer than the greedy one.
#include "codec/codec.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace velmor::codec;
    const ByteView input(data, size);
    const Bytes optimal = compress(input);
    const Bytes greedy = compressGreedy(input);
    if (optimal.size() > greedy.size())
        std::abort();
    for (const Bytes *stream : {&optimal, &greedy}) {
        const DecodeResult back = decode(*stream);
        if (!back.ok || back.consumed != stream->size() || back.output.size() != size
            || !std::equal(back.output.begin(), back.output.end(), data))
            std::abort();
    }
    return 0;
}
