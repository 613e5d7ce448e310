#pragma once

#include "patch/patch_result.h"

#include <cstdint>

namespace velmor::patch {

// The CRC32 of zip and PNG (reflected, polynomial 0xEDB88320), which BPS stores for the source,
// the target and the patch itself.
std::uint32_t crc32(ByteView data);

} // namespace velmor::patch
