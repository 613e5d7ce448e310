#pragma once

#include "rom/course_ai.h"
#include "rom/course_catalogue.h"
#include "rom/race_read.h"
#include "rom/rom_image.h"

#include <array>
#include <cstdint>
#include <vector>

// Every course's AI as the ROM keeps it: two tables of 16-bit pointers into bank $C6, a zone
// list and a target list behind each. Reading is bounded by the AI block (or, for lists another
// tool put elsewhere, by the bank) and refuses what the game could not use.
namespace velmor::rom {

struct AiPointers
{
    std::array<std::uint16_t, CourseCount> zones {};
    std::array<std::uint16_t, CourseCount> targets {};

    std::size_t zonesAt(int id) const;
    std::size_t targetsAt(int id) const;
    // The other course IDs whose zone and target pointers are both this course's: one set shared.
    std::vector<int> sharers(int id) const;
    // The lowest course ID that shares this course's set (the course itself when it has its own).
    int setOwner(int id) const;
};

LayerRead<AiPointers> readAiPointers(const RomImage &rom);

LayerRead<CourseAi> readCourseAi(const RomImage &rom, int id);
LayerRead<CourseAi> readCourseAi(const RomImage &rom, const AiPointers &pointers, int id);

// Writes the course's zones at game offset zonesAt and its targets at targetsAt (both inside bank
// $C6, the lists wholly inside it) and points the course's two pointers at them. Where the lists
// may go without covering other data is the caller's to know. "" on success; on a refusal nothing
// is written.
std::string writeCourseAi(GameBytes game, int id, const CourseAi &ai, std::size_t zonesAt,
                          std::size_t targetsAt);
void setAiPointers(GameBytes game, int id, std::size_t zonesAt, std::size_t targetsAt);

} // namespace velmor::rom
