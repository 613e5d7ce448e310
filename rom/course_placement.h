#pragma once

#include "codec/codec.h"
#include "rom/added_room.h"

#include <optional>
#include <string>

// Where a course's layout lives in a ROM and how much room it has there, and putting a new layout
// in: into the room it has, back into its original slot, or, when it outgrows both, into free
// room of an expanded image's added banks with its pointer rewritten. Every write fixes the
// header's checksum. Pure over bytes.
namespace velmor::rom {

struct CourseHome
{
    enum class Kind {
        OriginalSlot, // where the original game keeps it
        AddedBlock, // in a block of the added banks
        Elsewhere, // somewhere another tool put it
    };
    Kind kind = Kind::OriginalSlot;
    int courseId = 0;
    std::size_t gameOffset = 0;
    std::size_t used = 0; // bytes the stream there takes
    // Bytes a layout may take there: the slot, or the block and the free room right after it.
    std::size_t capacity = 0;
    std::size_t fileOffset = 0;

    // "Mario Circuit 1's slot at 0x68f2c", "Mario Circuit 1's block at 0x80300 ($C8:0100)".
    std::string describe() const;
};

struct HomeResult
{
    std::optional<CourseHome> home;
    std::string error;
};

// Refuses what is no US image of the game and a course whose pointer is unusable.
HomeResult courseHome(codec::ByteView romFile, int courseId);

struct PlaceOutcome
{
    bool ok = false;
    codec::Bytes rom; // the whole new ROM, on success
    std::size_t written = 0; // compressed bytes
    CourseHome home; // where the layout lives now
    bool moved = false; // the layout pointer was rewritten
    // Refused because a 4 Mbit image has no room for it: Expand ROM would make room.
    bool needsExpansion = false;
    std::string message; // the success line, or what was refused and why
};

// Compresses the track (a whole course) and writes it for course `courseId`.
PlaceOutcome insertCourse(codec::ByteView romFile, codec::ByteView track, int courseId);

// The 24-bit pointer in the $C0-$FF form, which reaches a whole bank.
SnesAddress wholeBankPointer(std::size_t gameOffset);

} // namespace velmor::rom
