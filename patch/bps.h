#pragma once

#include "patch/patch_result.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// BPS, the "beat" patch format: a checked description of a target in terms of a source. Every
// size and CRC32 is in the patch, so applying it to the wrong file is refused, never guessed.
namespace velmor::patch::bps {

inline constexpr std::string_view Magic = "BPS1";
// Source CRC32, target CRC32, patch CRC32, four bytes each, little-endian.
inline constexpr std::size_t FooterSize = 12;
// Magic, three one-byte numbers and the footer: nothing shorter is a BPS patch.
inline constexpr std::size_t MinimumSize = 4 + 3 + FooterSize;
// No ROM of any console comes near this; a patch that claims more is refused before anything is
// allocated for it.
inline constexpr std::size_t MaxImageSize = std::size_t(64) << 20;

enum class Action : std::uint8_t { SourceRead = 0, TargetRead = 1, SourceCopy = 2, TargetCopy = 3 };

// Everything a patch says about itself before its actions.
struct Header
{
    std::uint64_t sourceSize = 0;
    std::uint64_t targetSize = 0;
    std::string metadata;
    std::uint32_t sourceCrc = 0;
    std::uint32_t targetCrc = 0;
    std::uint32_t patchCrc = 0;
    // Where the actions start.
    std::size_t actionsOffset = 0;
};

bool hasMagic(ByteView patch);

// The header and the CRC32s of a patch; *error says what is wrong when there is nothing.
std::optional<Header> readHeader(ByteView patch, PatchResult *error = nullptr);

// A patch that turns source into target: SourceRead for what stayed in place, SourceCopy and
// TargetCopy for what moved or repeats, TargetRead only for what is new.
PatchResult create(ByteView source, ByteView target, std::string_view metadata = {});

// The target, after every check: first the patch on its own (every field whole, every action
// inside the sizes the header gives, the lengths adding up to the target's size, its own CRC32),
// then the source's size and CRC32, and at the end the target's CRC32. A target larger than
// maxTarget is refused before anything is allocated for it.
PatchResult apply(ByteView source, ByteView patch, std::size_t maxTarget = MaxImageSize);

} // namespace velmor::patch::bps
