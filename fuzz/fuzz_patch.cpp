// Random bytes as patches, and random data through the creators. Applying must never crash or
// touch memory it does not own, and must refuse with a reason or give a result within its limits;
// what the creators make from the input's two halves must turn the first into the second.
#include "patch/bps.h"
#include "patch/crc32.h"
#include "patch/ips.h"

#include <cstdlib>

namespace {

using namespace velmor::patch;

// Small limits keep every input cheap, including those that ask for huge targets.
constexpr std::size_t TargetLimit = 1 << 16;

const Bytes &smallSource()
{
    static const Bytes source = [] {
        Bytes bytes(512);
        for (std::size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = std::uint8_t(i * 37 + (i >> 5));
        return bytes;
    }();
    return source;
}

void check(bool holds)
{
    if (!holds)
        std::abort();
}

void applyAsIs(ByteView input)
{
    const Bytes &source = smallSource();
    const PatchResult bps = bps::apply(source, input, TargetLimit);
    check(bps.ok ? bps.bytes.size() <= TargetLimit : !bps.error.empty() && bps.bytes.empty());
    const PatchResult ips = ips::apply(source, input, TargetLimit);
    check(ips.ok ? ips.bytes.size() <= TargetLimit : !ips.error.empty() && ips.bytes.empty());
}

void put32(Bytes &bytes, std::size_t at, std::uint32_t value)
{
    for (int k = 0; k < 4; ++k)
        bytes[at + std::size_t(k)] = std::uint8_t(value >> (8 * k));
}

// Random bytes almost never carry the source's and their own CRC32; put right, the actions are
// carried out for real, reading the source and the target written so far.
void applyWithChecksumsPutRight(ByteView input)
{
    if (input.size() < bps::MinimumSize)
        return;
    const Bytes &source = smallSource();
    Bytes patch(input.begin(), input.end());
    put32(patch, patch.size() - 12, crc32(source));
    put32(patch, patch.size() - 4, crc32(ByteView(patch).first(patch.size() - 4)));
    const PatchResult applied = bps::apply(source, patch, TargetLimit);
    if (!applied.ok) {
        check(!applied.error.empty());
        return;
    }
    // Accepted: its header's target size and CRC32 are what came out.
    const auto header = bps::readHeader(patch);
    check(header && header->targetSize == applied.bytes.size()
        && header->targetCrc == crc32(applied.bytes));
}

void roundTrip(ByteView input)
{
    const ByteView first = input.first(input.size() / 2);
    const ByteView second = input.subspan(input.size() / 2);
    const PatchResult bps = bps::create(first, second);
    check(bps.ok);
    const PatchResult bpsBack = bps::apply(first, bps.bytes);
    check(bpsBack.ok
        && std::equal(bpsBack.bytes.begin(), bpsBack.bytes.end(), second.begin(), second.end()));
    const PatchResult ips = ips::create(first, second);
    check(ips.ok);
    const PatchResult ipsBack = ips::apply(first, ips.bytes);
    check(ipsBack.ok
        && std::equal(ipsBack.bytes.begin(), ipsBack.bytes.end(), second.begin(), second.end()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const ByteView input(data, size);
    applyAsIs(input);
    applyWithChecksumsPutRight(input);
    roundTrip(input);
    return 0;
}
