#include "rom/course_listing.h"

#include "rom/course_placement.h"
#include "rom/course_tables.h"
#include "rom/rom_identity.h"
#include "rom/hex_offset.h"
#include "rom/rom_image.h"
#include "rom/rom_streams.h"

#include <cstdio>

namespace velmor::rom {

namespace {

std::string tableStatus(const CourseEntry &entry, const Course &course, const RomImage &rom)
{
    if (entry.agreesWithCatalogue())
        return "agrees";
    if (!entry.usable())
        return entry.problem;
    std::string status;
    if (entry.layoutOffset != course.layoutOffset)
        status = "layout pointer " + addressText(*entry.pointer) + " sends it to "
            + hexText(rom.fileOffset(*entry.layoutOffset));
    if (entry.theme != course.theme) {
        status += (status.empty() ? "" : "; ") + std::string("theme ")
            + std::string(themeName(*entry.theme));
    }
    return status;
}

} // namespace

CourseListing listCourses(codec::ByteView romFile)
{
    CourseListing listing;
    const std::optional<RomImage> rom = RomImage::open(romFile, &listing.error);
    if (!rom)
        return listing;
    // Another region's image keeps its courses elsewhere: listing the US places would mislead.
    const std::string region = regionRefusal(romFile);
    if (!region.empty()) {
        listing.error = region;
        return listing;
    }
    const CourseTables tables = readCourseTables(*rom);
    const bool usGame = usWriteRefusal(identifyRom(romFile)).empty();
    for (const Course &course : courses()) {
        CourseStatus status;
        status.course = &course;
        status.fileOffset = rom->fileOffset(course.layoutOffset);
        const SlotResult slot = slotAt(romFile, status.fileOffset);
        if (slot.slot) {
            status.used = slot.slot->used;
            status.capacity = slot.slot->capacity;
        }
        // A course lives where its pointer sends it; in the US game it is measured there, which
        // may be a block of the added banks.
        const CourseEntry &entry = tables[std::size_t(course.id)];
        if (entry.layoutOffset && *entry.layoutOffset != course.layoutOffset)
            status.lives = hexText(rom->fileOffset(*entry.layoutOffset));
        const HomeResult home = usGame ? courseHome(romFile, course.id) : HomeResult{};
        if (home.home && home.home->kind != CourseHome::Kind::OriginalSlot) {
            status.used = home.home->used;
            status.capacity = home.home->capacity;
        }
        status.table = tableStatus(tables[std::size_t(course.id)], course, *rom);
        listing.courses.push_back(status);
    }
    return listing;
}

std::vector<std::string> listingLines(const CourseListing &listing)
{
    std::vector<std::string> lines;
    char line[512];
    std::snprintf(line, sizeof line, "%-2s  %-6s  %-15s  %-13s  %-8s  %5s  %8s  %s", "ID",
        "OFFSET", "COURSE", "THEME", "LIVES", "USED", "CAPACITY", "TABLE");
    lines.emplace_back(line);
    for (const CourseStatus &status : listing.courses) {
        const std::string used = status.used ? std::to_string(*status.used) : "-";
        const std::string capacity = status.used ? std::to_string(status.capacity) : "-";
        std::snprintf(line, sizeof line, "%02X  %-6s  %-15s  %-13s  %-8s  %5s  %8s  %s",
            unsigned(status.course->id),
            bareHex(listedOffsetOfGame(status.course->layoutOffset), 5).c_str(),
            std::string(status.course->name).c_str(),
            std::string(themeName(status.course->theme)).c_str(), status.lives.c_str(),
            used.c_str(), capacity.c_str(),
            status.table.c_str());
        lines.emplace_back(line);
    }
    return lines;
}

} // namespace velmor::rom
