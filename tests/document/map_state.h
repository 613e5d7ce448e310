#pragma once

#include "document/course_map.h"

#include <QList>
#include <QStringList>

namespace velmor::test {

// Everything a map holds, comparable at once: what an undo must give back exactly.
struct MapState
{
    QStringList texts;
    QList<Mark> marks;
    bool operator==(const MapState &) const = default;
};

inline MapState stateOf(const CourseMap &map)
{
    return {map.texts(), map.marks()};
}

} // namespace velmor::test
