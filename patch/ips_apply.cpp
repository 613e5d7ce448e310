#include "patch/ips.h"

#include <algorithm>

namespace velmor::patch::ips {

namespace {

constexpr std::size_t OffsetSize = 3;
constexpr std::size_t LengthSize = 2;

std::size_t readBig(ByteView bytes, std::size_t at, std::size_t count)
{
    std::size_t value = 0;
    for (std::size_t k = 0; k < count; ++k)
        value = (value << 8) | bytes[at + k];
    return value;
}

PatchResult refuse(PatchFault fault, std::size_t at, const std::string &what)
{
    return PatchResult::failure(
        fault, "IPS patch refused at byte " + std::to_string(at) + ": " + what);
}

std::string span(std::size_t from, std::size_t length)
{
    return hex32(from) + "-" + hex32(from + length - 1);
}

} // namespace

bool hasMagic(ByteView patch)
{
    return patch.size() >= Magic.size() && std::equal(Magic.begin(), Magic.end(), patch.begin());
}

PatchResult apply(ByteView source, ByteView patch, std::size_t limit)
{
    if (!hasMagic(patch))
        return refuse(PatchFault::NotAPatch, 0, "it does not start with \"PATCH\"");
    Bytes out(source.begin(), source.end());
    std::size_t pos = Magic.size();
    for (;;) {
        const std::size_t at = pos;
        if (patch.size() - pos < EndMarker.size()) {
            return refuse(
                PatchFault::Truncated, at, "the patch ends without its \"EOF\" marker (truncated)");
        }
        if (std::equal(EndMarker.begin(), EndMarker.end(), patch.begin() + std::ptrdiff_t(pos))) {
            pos += EndMarker.size();
            break;
        }
        if (patch.size() - pos < OffsetSize + LengthSize)
            return refuse(PatchFault::Truncated, at, "the patch ends inside a record's header");
        const std::size_t offset = readBig(patch, pos, OffsetSize);
        std::size_t length = readBig(patch, pos + OffsetSize, LengthSize);
        pos += OffsetSize + LengthSize;
        const bool run = length == 0;
        if (run) {
            if (patch.size() - pos < LengthSize + 1) {
                return refuse(PatchFault::Truncated, at,
                    "the patch ends inside the run-length record at " + hex32(offset));
            }
            length = readBig(patch, pos, LengthSize);
            if (length == 0) {
                return refuse(PatchFault::Malformed, at,
                    "the run-length record at " + hex32(offset) + " repeats 0 times");
            }
        } else if (patch.size() - pos < length) {
            return refuse(PatchFault::Truncated, at,
                "the record of " + std::to_string(length) + " bytes at " + hex32(offset)
                    + " is cut off by the end of the patch (truncated)");
        }
        if (offset + length > limit) {
            return refuse(PatchFault::PastEnd, at,
                "the record for " + span(offset, length) + " runs past the end of the "
                    + std::to_string(limit) + " bytes it may change");
        }
        // Past the end is how IPS makes a file longer; a gap before the record reads as zeros.
        if (offset + length > out.size())
            out.resize(offset + length, 0);
        if (run) {
            std::fill_n(out.begin() + std::ptrdiff_t(offset), length, patch[pos + LengthSize]);
            pos += LengthSize + 1;
        } else {
            std::copy_n(
                patch.begin() + std::ptrdiff_t(pos), length, out.begin() + std::ptrdiff_t(offset));
            pos += length;
        }
    }
    const std::size_t rest = patch.size() - pos;
    if (rest == OffsetSize) {
        const std::size_t size = readBig(patch, pos, OffsetSize);
        if (size > limit) {
            return refuse(PatchFault::PastEnd, pos,
                "the size to truncate to, " + std::to_string(size) + " bytes, is past the "
                    + std::to_string(limit) + " bytes the result may have");
        }
        out.resize(size, 0);
    } else if (rest != 0) {
        return refuse(PatchFault::Malformed, pos,
            std::to_string(rest)
                + " bytes follow \"EOF\", where only a 3-byte size to "
                  "truncate to may");
    }
    return PatchResult::success(std::move(out));
}

} // namespace velmor::patch::ips
