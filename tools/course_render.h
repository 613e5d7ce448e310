#pragma once

#include "course/rom_file.h"
#include "tools/course_choice.h"
#include "tools/render_command_line.h"

#include <optional>

namespace velmor::tools {

// velmor-render's work: reads the ROM (and the track file), draws the course in its theme and
// writes the PNG atomically. The message is the success line or what failed and why.
FileOutcome renderCourse(const RenderRequest &request, const CourseChoice &course);

} // namespace velmor::tools
