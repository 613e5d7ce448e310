#pragma once

#include "codec/codec.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

// What the readers and writers of a course's race data share: a layer's value or why it could not
// be read, the words of the messages, and bounded little-endian access to the game's bytes.
namespace velmor::rom {

// The game's bytes (the copier header left out), for the writers.
using GameBytes = std::span<std::uint8_t>;

// One layer as read from a ROM: its value, or a message naming the course, the table and the byte
// offset of what is malformed.
template <typename T>
struct LayerRead
{
    std::optional<T> value;
    std::string error;

    bool ok() const { return value.has_value(); }
};

template <typename T>
LayerRead<T> refused(std::string error)
{
    return {std::nullopt, std::move(error)};
}

// "Mario Circuit 1: AI zones at 0x60531: " + reason. The offset is a file offset.
std::string layerMessage(int courseId, const char *table, std::size_t fileOffset,
                         const std::string &reason);

// "" when low <= value <= high; else "70 is not 0–63".
std::string rangeProblem(long long value, long long low, long long high);

// What is wrong with one field of a record: its name as the course file writes it ("x") and why.
struct FieldProblem
{
    std::string field;
    std::string reason;

    bool found() const { return !reason.empty(); }
};

FieldProblem fieldRange(const char *field, long long value, long long low, long long high);

// "zones[3].x: 70 is not 0–63": a value's place as the course file names it, and the reason.
std::string keyProblem(const std::string &path, const std::string &reason);

// Whether `size` bytes from `at` lie inside `bytes`.
inline bool fits(std::size_t size, std::size_t at, std::size_t count)
{
    return at <= size && size - at >= count;
}

inline std::uint16_t wordAt(codec::ByteView bytes, std::size_t at)
{
    return std::uint16_t(bytes[at] | (bytes[at + 1] << 8));
}

inline void putWord(GameBytes bytes, std::size_t at, std::uint16_t word)
{
    bytes[at] = std::uint8_t(word & 0xFF);
    bytes[at + 1] = std::uint8_t(word >> 8);
}

bool isBattleCourse(int courseId);
// Course IDs 0x00-0x13: the ones with a lap line and object positions.
bool isRaceCourse(int courseId);
// The course's name, or "course 0x1a" for an ID the game has not.
std::string courseLabel(int courseId);

} // namespace velmor::rom
