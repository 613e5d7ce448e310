#pragma once

#include <QString>

// velmor-course import: a course file written into a ROM.
namespace velmor::tools {

struct CommandArguments;

// import ROM COURSE IN.vcourse [--output NEW.smc] [--change-shared] [--split-ai]
int importCourse(const CommandArguments &arguments);
QString importCourseHelp();

} // namespace velmor::tools
