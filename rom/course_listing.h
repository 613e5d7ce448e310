#pragma once

#include "codec/codec.h"
#include "rom/course_catalogue.h"

#include <optional>
#include <string>
#include <vector>

// Every course of a ROM at a glance: where the catalogue puts it, what its stream takes now, how
// much room it has, and whether the ROM's own tables still agree with the original game.
namespace velmor::rom {

struct CourseStatus
{
    const Course *course = nullptr;
    std::size_t fileOffset = 0; // where the catalogue puts the course in this file
    // Compressed bytes the course takes now; nothing when no valid stream is there.
    std::optional<std::size_t> used;
    std::size_t capacity = 0;
    // Where the course lives in the US game: "slot", or "0x80300" for a block in the added banks
    // (its capacity then counts the free room after it) or wherever another tool put it.
    std::string lives = "slot";
    // "agrees", or what the ROM's tables say instead.
    std::string table;
};

struct CourseListing
{
    std::vector<CourseStatus> courses; // by course ID
    std::string error; // when the file is no ROM: why (then courses is empty)
};

CourseListing listCourses(codec::ByteView romFile);

// The listing as text: a heading line, then one line per course, columns separated by blanks.
std::vector<std::string> listingLines(const CourseListing &listing);

} // namespace velmor::rom
