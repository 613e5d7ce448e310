#pragma once

#include "codec/codec.h"

#include <string>
#include <vector>

// What `velmor-rom info` prints about a ROM: its header, which ROM it is, whether the checksum is
// true, and in an expanded image the courses that live in the added banks and the room left.
namespace velmor::rom {

struct RomReport
{
    bool ok = false; // false when the file is no ROM at all (then lines holds the reason)
    std::vector<std::string> lines;
};

RomReport reportRom(codec::ByteView file);

} // namespace velmor::rom
