#pragma once

namespace velmor::tools {

struct CommandArguments;

// check ROM COURSE, and check FILE.vcourse --rom ROM: the course check's findings, one line each
// ("error: start grid kart 3 at (52, 88) is on a wall tile 0x8A"). Exit 0 without errors, 1 with
// errors or when nothing could be checked.
int checkCourse(const CommandArguments &arguments);

} // namespace velmor::tools
