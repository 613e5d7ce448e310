#pragma once

#include "rom/course_data.h"

#include <QByteArray>
#include <QString>

#include <optional>

// The course file (.vcourse): one course whole as JSON, to keep in version control and to share
// without the ROM. Pure functions over bytes; the file itself is written and read by the layers
// above through the platform's file helpers.
//
// The file carries neither the spare target records some ROM lists store after the ones the game
// reads nor the unknown bit 7 of a target's speed byte: a course read from a file has none.
namespace velmor::coursefile {

inline constexpr char Format[] = "velmor-course";
inline constexpr int Version = 1;
inline constexpr qsizetype MaxFileSize = 1024 * 1024;
inline constexpr int LayoutRows = 128;
inline constexpr int LayoutRowDigits = 256; // two per tile

// UTF-8 JSON with the keys in the documented order, the layout as 128 strings of 256 upper-case
// hexadecimal digits. Nothing when the course holds a value the game cannot use; *error then
// gives its key path and the reason.
std::optional<QByteArray> write(const rom::CourseData &course, QString *error = nullptr);

struct ReadResult
{
    std::optional<rom::CourseData> course;
    // When refused: the key path and the reason ("ai.targets[12].speed: 7 is not 0–3").
    QString error;

    bool ok() const { return course.has_value(); }
};

// Strict and bounded: a file over 1 MB, no JSON, a wrong format or version, a missing or unknown
// key, a wrong type and a value out of range are refused. Hexadecimal digits in either case.
ReadResult read(const QByteArray &bytes);

} // namespace velmor::coursefile
