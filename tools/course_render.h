#pragma once

#include "course/rom_file.h"
#include "tools/render_command_line.h"

#include <optional>

namespace velmor::tools {

// Which course a command line names: by ID (from a hexadecimal ID or a name), or by the offset
// the course list shows, which only the ROM can turn into a course.
struct CourseChoice
{
    std::optional<int> id;
    std::optional<qint64> listedOffset;
};

// Nothing when the text can name no course whatever the ROM holds; *error then says why.
std::optional<CourseChoice> parseCourse(const QString &text, QString *error);

// velmor-render's work: reads the ROM (and the track file), draws the course in its theme and
// writes the PNG atomically. The message is the success line or what failed and why.
FileOutcome renderCourse(const RenderRequest &request, const CourseChoice &course);

} // namespace velmor::tools
