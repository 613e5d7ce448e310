#pragma once

#include "rom/ai_tables.h"

#include <array>
#include <string>
#include <vector>

// Every course's AI at once, as the game's AI block must hold it: one set per owner, courses that
// share a set pointing at the owner's. A repacking writes all sets anew into the AI block.
namespace velmor::rom {

struct AiSets
{
    // By course ID; only the owners' entries are used.
    std::array<CourseAi, CourseCount> ai;
    // The course whose set each course uses: itself, or an owner (a course that uses its own).
    std::array<int, CourseCount> setOf {};

    const CourseAi &of(int id) const { return ai[std::size_t(setOf[std::size_t(id)])]; }
    // The set a course uses, to change it (for every course that shares it).
    CourseAi &setFor(int id) { return ai[std::size_t(setOf[std::size_t(id)])]; }
    // The other courses that use the same set.
    std::vector<int> sharers(int id) const;
    // Gives the course a copy of its set of its own; the other sharers keep theirs.
    void split(int id);
};

// Nothing unless every course's AI reads; the error is then the first unreadable course's.
LayerRead<AiSets> readAiSets(const RomImage &rom);

// Writes every owner's zones and targets into the AI block, packed from its start in the order
// the lists lie in now, the room after them filled with map::AiFreeByte, and points both tables
// at them. Refused, with nothing written: a set the game cannot use (over 127 zones, a target
// count other than the zone count, a value out of range), a set of a course that uses another's,
// and sets that together do not fit the block (by how many bytes, the three largest named).
std::string repackAi(GameBytes game, const AiSets &sets);

} // namespace velmor::rom
