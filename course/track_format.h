#pragma once

#include <QtGlobal>

// The shape of a track file: groups of tiles in cell index order, closed by an end marker.
namespace velmor::track {

// A copy group: command byte 0x00..0x0F, then 1..16 tile bytes as they stand.
inline constexpr int MaxCopyCells = 16;
inline constexpr int CopyCommandBase = 0x00;
// A fill group: command byte 0x20..0x3F, then one tile byte repeated 1..32 times.
inline constexpr int MaxFillCells = 32;
inline constexpr int FillCommandBase = 0x20;
inline constexpr unsigned char EndMarker = 0xFF;

// The largest track file read at all: more than any track of one course map takes, and all one
// compressed stream can describe.
inline constexpr qint64 MaxFileSize = 64 * 1024;

// Each tile and each command byte takes two characters in the hexadecimal text.
inline constexpr int HexDigitsPerByte = 2;

// The track dialogs' proposals.
inline constexpr char TrackExtension[] = "bin";
inline constexpr char NewTrackFileName[] = "newtrack.bin";

} // namespace velmor::track
