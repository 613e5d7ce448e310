#pragma once

#include "rom/course_layers.h"

#include <QString>

#include <optional>

// velmor-course's subcommands over a ROM: each reads the course the command line names and
// reports in its own way.
namespace velmor::tools {

struct CommandArguments;

// One course as a ROM holds it: every race layer read on its own, and the layout.
struct CourseInRom
{
    QString romPath;
    rom::CourseLayers layers;
    codec::Bytes layout; // TrackTileLimit tiles; those the ROM did not describe are 0
    int tileCount = 0; // tiles the ROM's stream described
    qint64 listedOffset = 0;
};

// The outcome of reading: the course, or what was wrong and the exit status to end with (a
// COURSE that can name no course is a wrong command line; a file that cannot be read is refused).
struct CourseReading
{
    std::optional<CourseInRom> course;
    QString error;
    int status = 0;
};
CourseReading readCourseInRom(const QString &romPath, const QString &courseText);

// The readable summary: one line for the course and one for each block, unreadable ones saying why.
QString courseSummary(const CourseInRom &course);

// show ROM COURSE [--json] and export ROM COURSE OUT.vcourse.
int showCourse(const CommandArguments &arguments);
int exportCourse(const CommandArguments &arguments);

} // namespace velmor::tools
