#include "rom/rom_report.h"

#include "rom/added_room.h"
#include "rom/course_placement.h"
#include "rom/course_tables.h"
#include "rom/hex_offset.h"
#include "rom/rom_identity.h"
#include "rom/rom_image.h"
#include "rom/rom_map.h"

#include <cstdio>

namespace velmor::rom {

namespace {

std::string hex4(unsigned value)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", value & 0xFFFF);
    return text;
}

std::string regionName(const RomIdentity &identity)
{
    switch (identity.header.destination) {
    case header::DestinationUsa:
        return "USA";
    case header::DestinationJapan:
        return "Japan";
    case header::DestinationEurope:
        return "Europe";
    default:
        return "unknown";
    }
}

void addRoomLines(const RomImage &rom, std::vector<std::string> &lines)
{
    const CourseTables tables = readCourseTables(rom);
    const AddedRoom room = scanAddedRoom(rom, tables);
    if (!room.expanded) {
        lines.push_back("added banks: none (a 4 Mbit image; Expand ROM adds them)");
        return;
    }
    if (!room.problem.empty()) {
        lines.push_back("added banks: unusable: " + room.problem);
        return;
    }
    lines.push_back("added banks: " + std::to_string(room.blocks.size())
        + " course(s) placed, " + std::to_string(room.freeBytes()) + " bytes free ("
        + (room.fromTable ? "table of moved layouts at " + hexText(rom.fileOffset(added::TableOffset))
                          : std::string("no table yet: found by the layout pointers"))
        + ")");
    for (const PlacedBlock &block : room.blocks) {
        const Course *course = courseById(block.courseId);
        char line[200];
        std::snprintf(line, sizeof line, "  %02X  %-15s  at %s (%s)  %zu bytes, %zu free after it",
            unsigned(block.courseId), std::string(course->name).c_str(),
            hexText(rom.fileOffset(block.offset)).c_str(),
            addressText(wholeBankPointer(block.offset)).c_str(), block.length,
            room.freeAfter(block.end()));
        lines.emplace_back(line);
    }
}

} // namespace

RomReport reportRom(codec::ByteView file)
{
    RomReport report;
    const RomIdentity identity = identifyRom(file);
    if (!identity.readable) {
        report.lines.push_back(identity.unreadable);
        return report;
    }
    report.ok = true;
    std::vector<std::string> &lines = report.lines;
    const RomHeader &h = identity.header;
    lines.push_back("file: " + std::to_string(file.size()) + " bytes, "
        + (identity.copierHeader ? "with" : "without") + " the 512-byte copier header, "
        + megabitText(identity.gameSize));
    std::string title;
    for (const char c : h.title)
        title += (c >= 0x20 && c < 0x7F) ? c : '?';
    lines.push_back("title: \"" + title + "\"");
    lines.push_back("map mode " + hexText(h.mapMode) + ", cartridge type " + hexText(h.cartridgeType)
        + ", size byte " + hexText(h.romSize)
        + (identity.claimedSize ? " (" + megabitText(*identity.claimedSize) + ")" : std::string())
        + ", RAM size " + hexText(h.ramSize) + ", destination " + hexText(h.destination) + " ("
        + regionName(identity) + "), licensee " + hexText(h.licensee) + ", version "
        + hexText(h.version));
    lines.push_back("identity: " + identity.describe());
    lines.push_back("checksum " + hex4(h.checksum) + ", complement " + hex4(h.complement) + ": "
        + (identity.checksumTrue ? std::string("true")
                                 : "wrong (the image sums to " + hex4(identity.computedChecksum)
                                     + ")"));
    if (!identity.sizeAgrees)
        lines.push_back("size: the size byte does not agree with the file");
    if (const std::string refusal = usWriteRefusal(identity); !refusal.empty()) {
        lines.push_back("writing: refused: " + refusal);
        return report;
    }
    addRoomLines(*RomImage::open(file), lines);
    return report;
}

} // namespace velmor::rom
