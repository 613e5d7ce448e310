#pragma once

#include "codec/codec.h"
#include "rom/race_read.h"

#include <cstdint>
#include <string>
#include <vector>

// The CPU drivers' road of one course as values: zones in race order, one target per zone, and
// the bytes they take in the game's own records.
namespace velmor::rom {

// The game's shape bytes. Triangles: rows of n, n-1 ... 1 cells from (x, y), going right or left,
// the rows going down or up. Diagonals: columns of n, n-1 ... cells going down, each next column
// one down and one left or right.
enum class ZoneShape : std::uint8_t {
    Rectangle = 0x00,
    TriangleRightDown = 0x02,
    TriangleLeftDown = 0x04,
    TriangleLeftUp = 0x06,
    TriangleRightUp = 0x08,
    DiagonalLeft = 0x0A,
    DiagonalRight = 0x0C,
};

bool isZoneShape(std::uint8_t code);
bool isTriangle(ZoneShape shape);
bool isDiagonal(ZoneShape shape);
// Bytes of the shape's record, shape byte included.
std::size_t zoneRecordSize(ZoneShape shape);

// One zone, in 16-pixel cells of the 64 x 64 zone grid. Fields a shape has not stay 0.
struct Zone
{
    ZoneShape shape = ZoneShape::Rectangle;
    int x = 0;
    int y = 0;
    int w = 0; // rectangle
    int h = 0; // rectangle
    int n = 0; // triangles and diagonals
    int a = 0; // diagonals: read by the game but unused

    bool operator==(const Zone &) const = default;
};

// Where the CPU drivers aim while in the zone of the same number, in tiles; speed class 0-3.
struct Target
{
    int x = 0;
    int y = 0;
    int speed = 0;
    // Bit 7 of the speed byte, whose meaning is unknown: kept so a course reads back byte for byte.
    bool unknownBit = false;

    bool operator==(const Target &) const = default;
};

struct CourseAi
{
    std::vector<Zone> zones;
    std::vector<Target> targets;
    // Whole target records some lists store after the last one the game reads (one per zone): never
    // read, kept as they are so a list writes back as it was read. A course file carries none.
    codec::Bytes spare;

    bool operator==(const CourseAi &) const = default;

    std::size_t zoneBytes() const; // end mark included
    std::size_t targetBytes() const; // spare records included
    std::size_t size() const { return zoneBytes() + targetBytes(); }
};

FieldProblem zoneProblem(const Zone &zone);
FieldProblem targetProblem(const Target &target);
// "" when the game can use the AI; else the first fault with its place as the course file names
// it: "zones: 130 zones; the game allows 127", "targets[12].speed: 7 is not 0–3".
std::string aiProblem(const CourseAi &ai);

// The game's records. Values are taken as they are: check them with aiProblem first.
codec::Bytes encodeZones(const std::vector<Zone> &zones);
codec::Bytes encodeTargets(const CourseAi &ai);

} // namespace velmor::rom
