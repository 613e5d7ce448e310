#pragma once

#include "course/rom_file.h"

#include <QString>

#include <optional>

// Courses shared as patches: a patch made from two ROM files, and a patch applied to a ROM file
// to make a new one. Patches always describe the game's bytes without the copier header; either
// ROM may carry one, and the ROM a patch makes keeps the header form of the ROM it was applied to.
// Outputs are written whole or not at all; no input is ever written, and every refusal leaves
// every file as it was.
namespace velmor {

enum class PatchFormat { Bps, Ips };

// The format an output name asks for: ".bps" or ".ips" in any letter case, nothing otherwise.
std::optional<PatchFormat> patchFormatOf(const QString &path);

// Writes the patch that turns the original ROM's game into the modified one's, in the format the
// output's name gives. Refused: another extension, a file that is no ROM by its size, two ROMs
// with the same game, an output that is one of the ROMs, a folder or read-only.
FileOutcome createPatchFile(
    const QString &originalPath, const QString &modifiedPath, const QString &outPath);

// Applies a BPS or IPS patch (told apart by their first bytes) to the ROM's game and writes the
// result, with the ROM's copier header in front when it has one, to outPath. Refused: a BPS made
// for another ROM (its size or CRC32 says so), a damaged patch, an IPS that writes past the end
// of the game, a result that is no ROM size, an output that is the ROM or the patch, a folder or
// read-only.
FileOutcome applyPatchFile(
    const QString &romPath, const QString &patchPath, const QString &outPath);

} // namespace velmor
