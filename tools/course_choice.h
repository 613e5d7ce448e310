#pragma once

#include "rom/rom_image.h"

#include <QString>

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

// A chosen course in one ROM: its ID, and where the ROM keeps its layout as the course list
// counts offsets (nothing when the ROM's table does not say; *problem then says why).
struct CourseSite
{
    int id = 0;
    std::optional<qint64> listedOffset;
    QString problem;
};

// Nothing when no course of this ROM starts at the offset given; *error then says why.
std::optional<CourseSite> locateCourse(const rom::RomImage &image, const CourseChoice &choice,
                                       QString *error);

// "Mario Circuit 1 (course 07)".
QString courseTitle(int id);

} // namespace velmor::tools
