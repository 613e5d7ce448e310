#include "rom/course_ai.h"

#include "rom/race_map.h"
#include "rom/race_read.h"

namespace velmor::rom {

bool isZoneShape(std::uint8_t code)
{
    return code % 2 == 0 && code <= std::uint8_t(ZoneShape::DiagonalRight);
}

bool isTriangle(ZoneShape shape)
{
    return shape != ZoneShape::Rectangle && !isDiagonal(shape);
}

bool isDiagonal(ZoneShape shape)
{
    return shape == ZoneShape::DiagonalLeft || shape == ZoneShape::DiagonalRight;
}

std::size_t zoneRecordSize(ZoneShape shape)
{
    // shape, x, y, then w h / n / a n
    return isTriangle(shape) ? 4 : 5;
}

std::size_t CourseAi::zoneBytes() const
{
    std::size_t bytes = 1;
    for (const Zone &zone : zones)
        bytes += zoneRecordSize(zone.shape);
    return bytes;
}

std::size_t CourseAi::targetBytes() const
{
    return targets.size() * map::TargetRecordSize + spare.size();
}

FieldProblem zoneProblem(const Zone &zone)
{
    const int lastCell = map::ZoneGridSide - 1;
    FieldProblem problem = fieldRange("x", zone.x, 0, lastCell);
    if (!problem.found())
        problem = fieldRange("y", zone.y, 0, lastCell);
    if (problem.found())
        return problem;
    if (zone.shape == ZoneShape::Rectangle) {
        problem = fieldRange("w", zone.w, 0, map::ZoneGridSide);
        if (!problem.found())
            problem = fieldRange("h", zone.h, 0, map::ZoneGridSide);
        return problem;
    }
    if (isDiagonal(zone.shape)) {
        problem = fieldRange("a", zone.a, 0, map::MaxByte);
        if (problem.found())
            return problem;
    }
    return fieldRange("n", zone.n, 0, map::ZoneGridSide);
}

FieldProblem targetProblem(const Target &target)
{
    const int lastTile = map::MapSide - 1;
    FieldProblem problem = fieldRange("x", target.x, 0, lastTile);
    if (!problem.found())
        problem = fieldRange("y", target.y, 0, lastTile);
    if (!problem.found())
        problem = fieldRange("speed", target.speed, 0, map::MaxSpeedClass);
    return problem;
}

std::string aiProblem(const CourseAi &ai)
{
    if (ai.zones.size() > std::size_t(map::MaxZones))
        return keyProblem("zones", std::to_string(ai.zones.size()) + " zones; the game allows "
                + std::to_string(map::MaxZones));
    if (ai.targets.size() != ai.zones.size())
        return keyProblem("targets", std::to_string(ai.targets.size()) + " targets for "
                + std::to_string(ai.zones.size()) + " zones; the game reads one per zone");
    for (std::size_t i = 0; i < ai.zones.size(); ++i) {
        const Zone &zone = ai.zones[i];
        if (!isZoneShape(std::uint8_t(zone.shape)))
            return keyProblem("zones[" + std::to_string(i) + "].shape",
                std::to_string(int(zone.shape)) + " is none of the shapes 0, 2, 4, 6, 8, 10, 12");
        if (const FieldProblem problem = zoneProblem(zone); problem.found())
            return keyProblem("zones[" + std::to_string(i) + "]." + problem.field, problem.reason);
    }
    for (std::size_t i = 0; i < ai.targets.size(); ++i) {
        if (const FieldProblem problem = targetProblem(ai.targets[i]); problem.found())
            return keyProblem("targets[" + std::to_string(i) + "]." + problem.field, problem.reason);
    }
    return {};
}

codec::Bytes encodeZones(const std::vector<Zone> &zones)
{
    codec::Bytes bytes;
    bytes.reserve(zones.size() * 5 + 1);
    for (const Zone &zone : zones) {
        bytes.push_back(std::uint8_t(zone.shape));
        bytes.push_back(std::uint8_t(zone.x));
        bytes.push_back(std::uint8_t(zone.y));
        if (zone.shape == ZoneShape::Rectangle) {
            bytes.push_back(std::uint8_t(zone.w));
            bytes.push_back(std::uint8_t(zone.h));
        } else {
            if (isDiagonal(zone.shape))
                bytes.push_back(std::uint8_t(zone.a));
            bytes.push_back(std::uint8_t(zone.n));
        }
    }
    bytes.push_back(map::ZoneListEnd);
    return bytes;
}

codec::Bytes encodeTargets(const CourseAi &ai)
{
    codec::Bytes bytes;
    bytes.reserve(ai.targetBytes());
    for (const Target &target : ai.targets) {
        bytes.push_back(std::uint8_t(target.x));
        bytes.push_back(std::uint8_t(target.y));
        bytes.push_back(std::uint8_t(target.speed | (target.unknownBit ? map::TargetUnknownBit : 0)));
    }
    bytes.insert(bytes.end(), ai.spare.begin(), ai.spare.end());
    return bytes;
}

} // namespace velmor::rom
