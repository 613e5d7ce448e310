#include "rom/race_read.h"

#include "rom/course_catalogue.h"
#include "rom/hex_offset.h"
#include "rom/race_map.h"

namespace velmor::rom {

std::string layerMessage(int courseId, const char *table, std::size_t fileOffset,
                         const std::string &reason)
{
    return courseLabel(courseId) + ": " + table + " at " + hexText(fileOffset) + ": " + reason;
}

std::string rangeProblem(long long value, long long low, long long high)
{
    if (value >= low && value <= high)
        return {};
    // The dash between the bounds is an en dash, as the course file's readers see it.
    return std::to_string(value) + " is not " + std::to_string(low) + "\xE2\x80\x93"
        + std::to_string(high);
}

FieldProblem fieldRange(const char *field, long long value, long long low, long long high)
{
    return {field, rangeProblem(value, low, high)};
}

std::string keyProblem(const std::string &path, const std::string &reason)
{
    return path + ": " + reason;
}

bool isBattleCourse(int courseId)
{
    return courseId >= map::FirstBattleCourse && courseId < CourseCount;
}

bool isRaceCourse(int courseId)
{
    return courseId >= 0 && courseId < map::FirstBattleCourse;
}

std::string courseLabel(int courseId)
{
    if (const Course *course = courseById(courseId))
        return std::string(course->name);
    return "course " + hexText(std::size_t(courseId));
}

} // namespace velmor::rom
