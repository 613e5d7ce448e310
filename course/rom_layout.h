#pragma once

#include <QtGlobal>

namespace velmor::rom {

// The copier header that many .smc dumps carry in front of the game's bytes.
inline constexpr qint64 kCopierHeaderSize = 0x200;
// A dump without the header is a whole number of these; one with it is this plus the header.
inline constexpr qint64 kSizeGranule = 1024;

// A course line starts with the course offset as this many hexadecimal digits.
inline constexpr int kCourseOffsetDigits = 5;

// The compressor's format selectors for this game's courses.
inline constexpr char kRecompFormat[] = "4";
inline constexpr char kRecompFormat2[] = "0";

} // namespace velmor::rom
