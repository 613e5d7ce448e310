#include "patch/patch_result.h"

#include <cstdio>

namespace velmor::patch {

std::string hex32(std::uint64_t value)
{
    char text[24];
    std::snprintf(text, sizeof text, "0x%08llX", static_cast<unsigned long long>(value));
    return text;
}

} // namespace velmor::patch
