// Random bytes into the decoder: it must never crash or touch memory it does not own, and
// whatever it decodes must compress to a stream that decodes back to the same bytes.
#include "codec/codec.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace velmor::codec;
    const ByteView input(data, size);
    // The first byte picks a smaller output cap now and then, so the cap's checks are reached.
    const std::size_t cap = size > 0 && data[0] < 0x10 ? std::size_t(data[0]) * 64 : MaxOutput;
    const DecodeResult result = decode(input, cap);
    if (!result.ok) {
        if (result.errorOffset > size || result.error.empty())
            std::abort();
        return 0;
    }
    if (result.consumed == 0 || result.consumed > size || result.output.size() > cap)
        std::abort();
    // Compressing tens of kilobytes per input would slow the search to a crawl; the round-trip
    // fuzzer covers the compressor, this one checks it on what real streams decode to.
    constexpr std::size_t RoundTripLimit = 2048;
    if (result.output.size() > RoundTripLimit)
        return 0;
    const Bytes optimal = compress(result.output);
    const Bytes greedy = compressGreedy(result.output);
    if (optimal.size() > greedy.size())
        std::abort();
    for (const Bytes *stream : {&optimal, &greedy}) {
        const DecodeResult back = decode(*stream);
        if (!back.ok || back.output != result.output || back.consumed != stream->size())
            std::abort();
    }
    return 0;
}
