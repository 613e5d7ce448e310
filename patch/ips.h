#pragma once

#include "patch/patch_result.h"

#include <string_view>

// IPS: records of bytes to write at 24-bit offsets, with run-length records and an optional size
// to truncate to. It carries no checksums: applied to the wrong file it gives garbage silently,
// so what can be checked (every record whole, every write inside its limit) is.
namespace velmor::patch::ips {

inline constexpr std::string_view Magic = "PATCH";
inline constexpr std::string_view EndMarker = "EOF";
// Offsets and the truncate size have three bytes: IPS cannot describe a byte at or past this.
inline constexpr std::size_t MaxSize = std::size_t(1) << 24;
// A record at this offset would read as the end marker ("EOF" in ASCII).
inline constexpr std::size_t EofOffset = 0x454F46;
inline constexpr std::size_t MaxRecordSize = 0xFFFF;

bool hasMagic(ByteView patch);

// A patch that turns source into target: records for the bytes that differ (gaps of a few equal
// bytes included where that is shorter), run-length records where those are shorter, and a
// truncate size when the target is shorter than the source.
PatchResult create(ByteView source, ByteView target);

// The source with every record written over it. A record past the end of the source extends it
// (zeros fill any gap), but none may write past `limit`; a record cut short by the end of the
// patch, or a patch without its end marker, is refused as truncated.
PatchResult apply(ByteView source, ByteView patch, std::size_t limit = MaxSize);

} // namespace velmor::patch::ips
