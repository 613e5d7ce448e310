#pragma once

#include "rom/course_check.h"

#include <QByteArray>
#include <QString>

#include <optional>

// Gathers what a course check looks at from a ROM file's bytes: the course (as the ROM holds it,
// or as values from the editor or a course file), the theme's tile behaviour and graphics, where
// the objects' groups are live, and how the layout fits its slot. What cannot be read is a
// message in the input, and the rest is still gathered.
namespace velmor {

class CourseDocument;

// The course as the ROM holds it; `layout`, when given, stands for the ROM's own stream (the
// editor's map of that course).
rom::CheckInput romCheckInput(const QByteArray &romFile, int courseId,
                              std::optional<codec::Bytes> layout = std::nullopt);
// A course as values, checked against this ROM's tables.
rom::CheckInput courseCheckInput(const QByteArray &romFile, const rom::CourseData &course);

// The editor's course, checked against the ROM file's bytes: the document's own course as
// values when its layers hold one; else (a layer unreadable) the ROM's race data with the
// document's map, so what the ROM could not give is reported.
rom::CheckInput documentCheckInput(const CourseDocument &document, const QByteArray &romFile);

// The editor's map as a layout: nothing when a cell holds no tile number.
std::optional<codec::Bytes> layoutOfTexts(const QStringList &cellTexts);

} // namespace velmor
