#include "patch/bps.h"

#include "patch/bps_number.h"
#include "patch/crc32.h"

#include <algorithm>

namespace velmor::patch::bps {

namespace {

std::uint32_t readLittle32(ByteView bytes, std::size_t at)
{
    return std::uint32_t(bytes[at]) | std::uint32_t(bytes[at + 1]) << 8
        | std::uint32_t(bytes[at + 2]) << 16 | std::uint32_t(bytes[at + 3]) << 24;
}

PatchResult refuse(PatchFault fault, std::size_t at, const std::string &what)
{
    return PatchResult::failure(
        fault, "BPS patch refused at byte " + std::to_string(at) + ": " + what);
}

std::string bytesText(std::uint64_t count)
{
    return std::to_string(count) + (count == 1 ? " byte" : " bytes");
}

const char *actionName(Action action)
{
    switch (action) {
    case Action::SourceRead:
        return "SourceRead";
    case Action::TargetRead:
        return "TargetRead";
    case Action::SourceCopy:
        return "SourceCopy";
    case Action::TargetCopy:
        return "TargetCopy";
    }
    return "?";
}

// A number of the patch, read from `pos` up to the footer, or the refusal naming `what` it is.
std::optional<std::uint64_t> number(
    ByteView patch, std::size_t &pos, std::size_t end, const char *what, PatchResult *error)
{
    const std::size_t at = pos;
    const NumberRead read = readNumber(patch, pos, end);
    if (read.status == NumberStatus::Ok)
        return read.value;
    if (error) {
        *error = read.status == NumberStatus::Overflow
            ? refuse(PatchFault::Malformed, at,
                std::string("the ") + what + " is a number larger than 64 bits")
            : refuse(PatchFault::Truncated, at,
                std::string("the patch ends inside the ") + what + " (truncated)");
    }
    return std::nullopt;
}

// One pass over the actions. Without a target it checks all that the header's sizes can tell:
// every field whole, every read inside the source or the target so far, every write inside the
// target, and the lengths adding up to the target's size. With one it does the same and writes.
std::optional<PatchResult> runActions(
    ByteView source, ByteView patch, const Header &header, Bytes *target)
{
    PatchResult error;
    const std::size_t end = patch.size() - FooterSize;
    const std::uint64_t sourceSize = header.sourceSize;
    const std::uint64_t targetSize = header.targetSize;
    std::uint64_t out = 0;
    std::uint64_t sourceRelative = 0;
    std::uint64_t targetRelative = 0;
    std::size_t pos = header.actionsOffset;
    while (pos < end) {
        const std::size_t at = pos;
        const auto command = number(patch, pos, end, "action", &error);
        if (!command)
            return error;
        const auto action = Action(*command & 3);
        const std::uint64_t length = (*command >> 2) + 1;
        const std::string name = actionName(action);
        if (length > targetSize - out) {
            return refuse(PatchFault::PastEnd, at,
                name + " of " + bytesText(length) + " at target offset " + std::to_string(out)
                    + " writes past the end of the target (" + bytesText(targetSize) + ")");
        }
        switch (action) {
        case Action::SourceRead:
            if (length > sourceSize || out > sourceSize - length) {
                return refuse(PatchFault::PastEnd, at,
                    name + " of " + bytesText(length) + " at offset " + std::to_string(out)
                        + " reads past the end of the source (" + bytesText(sourceSize) + ")");
            }
            if (target) {
                std::copy_n(source.begin() + std::ptrdiff_t(out), std::size_t(length),
                    target->begin() + std::ptrdiff_t(out));
            }
            break;
        case Action::TargetRead:
            if (length > end - pos) {
                return refuse(PatchFault::Truncated, at,
                    name + " of " + bytesText(length)
                        + " runs into the checksums at the end (truncated)");
            }
            if (target) {
                std::copy_n(patch.begin() + std::ptrdiff_t(pos), std::size_t(length),
                    target->begin() + std::ptrdiff_t(out));
            }
            pos += std::size_t(length);
            break;
        case Action::SourceCopy:
        case Action::TargetCopy: {
            const bool fromSource = action == Action::SourceCopy;
            const auto delta = number(patch, pos, end, "copy offset", &error);
            if (!delta)
                return error;
            std::uint64_t &relative = fromSource ? sourceRelative : targetRelative;
            const std::uint64_t distance = *delta >> 1;
            const bool backwards = (*delta & 1) != 0;
            // Copies may only read what exists: the source, or the target written so far (the
            // last byte of a TargetCopy may be one it wrote itself, which is how runs repeat).
            const std::uint64_t limit = fromSource ? sourceSize : out;
            const char *buffer = fromSource ? "source (" : "target written so far (";
            if (backwards ? distance > relative : distance > limit - relative) {
                return refuse(PatchFault::PastEnd, at,
                    name + " moves its offset from " + std::to_string(relative)
                        + (backwards ? " back " : " on ") + "by " + std::to_string(distance)
                        + ", outside the " + buffer + bytesText(limit) + ")");
            }
            relative = backwards ? relative - distance : relative + distance;
            if (fromSource ? length > limit - relative : relative >= limit) {
                return refuse(PatchFault::PastEnd, at,
                    name + " of " + bytesText(length) + " from offset " + std::to_string(relative)
                        + " reads past the end of the " + buffer + bytesText(limit) + ")");
            }
            if (target && fromSource) {
                std::copy_n(source.begin() + std::ptrdiff_t(relative), std::size_t(length),
                    target->begin() + std::ptrdiff_t(out));
            } else if (target) {
                // Byte by byte on purpose: an overlapping copy repeats what it has just written.
                Bytes &t = *target;
                for (std::size_t k = 0; k < std::size_t(length); ++k)
                    t[std::size_t(out) + k] = t[std::size_t(relative) + k];
            }
            relative += length;
            break;
        }
        }
        out += length;
    }
    if (out != targetSize) {
        return refuse(PatchFault::Truncated, end,
            "the actions end after " + bytesText(out) + " of the target's " + bytesText(targetSize)
                + " (truncated)");
    }
    return std::nullopt;
}

} // namespace

bool hasMagic(ByteView patch)
{
    return patch.size() >= Magic.size() && std::equal(Magic.begin(), Magic.end(), patch.begin());
}

std::optional<Header> readHeader(ByteView patch, PatchResult *error)
{
    if (!hasMagic(patch)) {
        if (error)
            *error = refuse(PatchFault::NotAPatch, 0, "it does not start with \"BPS1\"");
        return std::nullopt;
    }
    if (patch.size() < MinimumSize) {
        if (error) {
            *error = refuse(PatchFault::Truncated, patch.size(),
                "the patch ends after " + bytesText(patch.size())
                    + ", before its header and checksums (truncated)");
        }
        return std::nullopt;
    }
    const std::size_t end = patch.size() - FooterSize;
    std::size_t pos = Magic.size();
    Header header;
    const auto sourceSize = number(patch, pos, end, "source size", error);
    if (!sourceSize)
        return std::nullopt;
    const auto targetSize = number(patch, pos, end, "target size", error);
    if (!targetSize)
        return std::nullopt;
    const std::size_t metadataAt = pos;
    const auto metadataSize = number(patch, pos, end, "metadata size", error);
    if (!metadataSize)
        return std::nullopt;
    if (*metadataSize > end - pos) {
        if (error) {
            *error = refuse(PatchFault::Truncated, metadataAt,
                "the metadata of " + bytesText(*metadataSize)
                    + " runs into the checksums at the end (truncated)");
        }
        return std::nullopt;
    }
    header.sourceSize = *sourceSize;
    header.targetSize = *targetSize;
    header.metadata.assign(
        patch.begin() + std::ptrdiff_t(pos), patch.begin() + std::ptrdiff_t(pos + *metadataSize));
    header.actionsOffset = pos + std::size_t(*metadataSize);
    header.sourceCrc = readLittle32(patch, end);
    header.targetCrc = readLittle32(patch, end + 4);
    header.patchCrc = readLittle32(patch, end + 8);
    return header;
}

PatchResult apply(ByteView source, ByteView patch, std::size_t maxTarget)
{
    PatchResult error;
    const std::optional<Header> header = readHeader(patch, &error);
    if (!header)
        return error;
    const std::size_t end = patch.size() - FooterSize;
    if (header->targetSize > maxTarget) {
        return refuse(PatchFault::TooLarge, Magic.size(),
            "the target would have " + bytesText(header->targetSize) + ", more than the "
                + bytesText(maxTarget) + " allowed");
    }
    // The patch is checked on its own before it is compared with the source: a damaged or cut
    // patch must be called that, not "made for another source" because its CRC field moved.
    if (auto broken = runActions(source, patch, *header, nullptr))
        return *broken;
    const std::uint32_t patchCrc = crc32(patch.first(patch.size() - 4));
    if (patchCrc != header->patchCrc) {
        return refuse(PatchFault::Checksum, end + 8,
            "the patch's own CRC32 is " + hex32(patchCrc) + ", it says " + hex32(header->patchCrc)
                + ": the patch is damaged");
    }
    if (header->sourceSize != source.size()) {
        return refuse(PatchFault::WrongSource, Magic.size(),
            "the patch was made for a source of " + bytesText(header->sourceSize)
                + ", this source has " + bytesText(source.size()));
    }
    const std::uint32_t sourceCrc = crc32(source);
    if (header->sourceCrc != sourceCrc) {
        return refuse(PatchFault::WrongSource, end,
            "the patch was made for another source: its source CRC32 is " + hex32(header->sourceCrc)
                + ", this source's is " + hex32(sourceCrc));
    }
    Bytes target(std::size_t(header->targetSize));
    if (auto broken = runActions(source, patch, *header, &target))
        return *broken;
    const std::uint32_t targetCrc = crc32(target);
    if (targetCrc != header->targetCrc) {
        return refuse(PatchFault::Checksum, end + 4,
            "the result's CRC32 is " + hex32(targetCrc) + ", the patch expects "
                + hex32(header->targetCrc) + ": the patch is damaged");
    }
    return PatchResult::success(std::move(target));
}

} // namespace velmor::patch::bps
