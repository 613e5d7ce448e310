#pragma once

#include "codec/codec.h"
#include "rom/course_catalogue.h"

#include <optional>
#include <string>

// Compressed streams in a ROM file: where one may be written and how much room it has, putting
// one in and taking one out. Pure functions over bytes; every refusal says why, and the file side
// (locks, atomic writes) lives with the callers.
namespace velmor::rom {

// A course map has this many tiles: a track stream never decodes to more.
inline constexpr std::size_t TrackTileLimit = 16384;

// How the compressor's command line names this game's course compression ("format 4, format2
// 0"): what the editor passes to it, and the only format the project's own tools accept.
inline constexpr char CourseFormat[] = "4";
inline constexpr char CourseFormat2[] = "0";

// The room for a stream at one place in a ROM.
struct Slot
{
    std::size_t fileOffset = 0;
    // Bytes the stream there now takes, end mark included.
    std::size_t used = 0;
    // Bytes that may be written: the course's original slot when the ROM's own layout pointer
    // names this place as that course's (never less than `used`); else `used`.
    std::size_t capacity = 0;
    // The catalogue course whose original slot starts here, if any.
    const Course *course = nullptr;
    // Whether the stream there now decodes to a course map.
    bool holdsTrack = false;

    // "Mario Circuit 1's slot at 0x68f2c" or "the slot at 0x1000".
    std::string describe() const;
};

struct SlotResult
{
    std::optional<Slot> slot;
    std::string error; // when there is no slot: why, in one line
};

// Refuses a file that is no ROM, an offset past the end or in the copier header, an offset inside
// a course's original slot but not at its start, and a place that holds no valid stream.
SlotResult slotAt(codec::ByteView romFile, std::size_t fileOffset);

struct InsertOutcome
{
    bool ok = false;
    codec::Bytes rom; // the whole new ROM, on success
    std::size_t written = 0; // compressed bytes written, end mark included
    Slot slot; // the place written to, as it was before
    bool tooLarge = false; // refused only because the compressed input outgrows the slot
    std::string message; // the success line, or what was refused and why
};

// Compresses input and writes it over the stream at fileOffset. Every byte outside the written
// ones stays as it was: the rest of a longer slot is left unused behind the new end mark.
InsertOutcome insertIntoRom(codec::ByteView romFile, codec::ByteView input, std::size_t fileOffset);

struct ExtractOutcome
{
    bool ok = false;
    codec::Bytes data;
    std::size_t used = 0; // bytes of the stream, end mark included
    std::string message;
};

// Decodes the stream at fileOffset of any file (reading changes nothing, so no ROM shape is
// needed).
ExtractOutcome extractFromRom(codec::ByteView file, std::size_t fileOffset);

} // namespace velmor::rom
