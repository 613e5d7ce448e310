#include "course/course_check_input.h"

#include "course/rom_course.h"
#include "course/slot_budget.h"
#include "course/track_file.h"
#include "document/course_document.h"
#include "document/tile_text.h"
#include "graphics/theme_loader.h"
#include "platform/byte_span.h"
#include "rom/course_tables.h"
#include "rom/item_overrun.h"
#include "rom/race_map.h"
#include "rom/rom_identity.h"
#include "rom/rom_streams.h"

#include <QStringList>

namespace velmor {

namespace {

// The room the course's layout has where the ROM's pointer puts it: at the original place the
// original slot, even when a longer stream already runs past it into what follows (which the
// insertion's own measure, never less than what is there, would let pass); elsewhere what the
// stream there takes, the room around it being unknown.
std::size_t roomOf(const rom::RomImage &rom, const rom::Course &course, const QByteArray &romFile)
{
    const rom::CourseEntry entry = rom::readCourseTables(rom)[std::size_t(course.id)];
    if (!entry.layoutOffset || *entry.layoutOffset == course.layoutOffset)
        return course.slotLength;
    const rom::SlotResult slot = rom::slotAt(byteView(romFile), rom.fileOffset(*entry.layoutOffset));
    return slot.slot ? slot.slot->capacity : courseCapacity(course, romFile);
}

// What the layout takes in its slot. The greedy parse is quick and never shorter than the optimal
// one a save writes: when it fits, so does the course, and only a course that may not fit costs
// the optimal parse. Nothing when the layout cannot be encoded.
std::optional<rom::SlotUse> slotUse(const codec::Bytes &layout, std::size_t capacity)
{
    const std::optional<QByteArray> track = track::toBytes(track::encode(tileTexts(layout)));
    if (!track)
        return std::nullopt;
    const std::size_t greedy = codec::compressGreedy(byteView(*track)).size();
    if (greedy <= capacity)
        return rom::SlotUse {greedy, capacity};
    return rom::SlotUse {codec::compress(byteView(*track)).size(), capacity};
}

// The ROM's tables for the course in `input`. Their messages go first: they are what keeps the
// rest of the check from seeing the course as the game does.
void addTables(rom::CheckInput &input, const rom::RomImage &rom, const QByteArray &romFile)
{
    std::vector<std::string> problems;
    const rom::CourseData &course = input.course;
    const bool layout = course.layout.size() == rom::TrackTileLimit;
    rom::LayerRead<rom::TileBehaviour> behaviour = rom::readTileBehaviour(rom, course.theme);
    if (behaviour.ok() && layout)
        input.behaviour = std::move(behaviour.value);
    else if (!behaviour.ok())
        problems.push_back(behaviour.error);

    const graphics::ThemeLoad theme = graphics::loadTheme(rom, course.theme);
    if (theme.ok() && layout) {
        std::bitset<rom::BehaviourTiles> defined;
        for (int tile = 0; tile < rom::BehaviourTiles; ++tile)
            defined.set(std::size_t(tile), theme.graphics->isDefined(tile));
        input.definedTiles = defined;
    } else if (!theme.ok()) {
        problems.push_back(std::string(rom::themeName(course.theme)) + " graphics: " + theme.error);
    }

    if (course.objects) {
        rom::LayerRead<rom::ObjectAreas> zones = rom::readObjectAreas(rom, course.id);
        if (zones.ok())
            input.objectZones = zones.value;
        else
            input.objectZonesProblem = zones.error;
    }

    const rom::Course *known = rom::courseById(course.id);
    if (known && layout)
        input.slot = slotUse(course.layout, roomOf(rom, *known, romFile));
    input.unreadable.insert(input.unreadable.begin(), problems.begin(), problems.end());
}

// The layout as the ROM's stream for the course holds it; nothing with *error set when it cannot.
std::optional<codec::Bytes> romLayout(const rom::RomImage &rom, const QByteArray &romFile, int id,
                                      std::string *error)
{
    const rom::CourseEntry entry = rom::readCourseTables(rom)[std::size_t(id)];
    if (!entry.layoutOffset) {
        *error = rom::courseLabel(id) + ": layout: " + entry.problem;
        return std::nullopt;
    }
    const RomCourse read = readRomCourse(romFile, qint64(rom::listedOffsetOfGame(*entry.layoutOffset)));
    if (!read.ok()) {
        *error = rom::courseLabel(id) + ": layout: " + read.error.toStdString();
        return std::nullopt;
    }
    return layoutOfTexts(read.texts);
}

// The ROM whose tables the check reads. Another region's image keeps them elsewhere: what the
// US offsets hold there would give findings about data that is not the course's.
std::optional<rom::RomImage> openForCheck(const QByteArray &romFile, std::string *error)
{
    if (std::string other = rom::regionRefusal(byteView(romFile)); !other.empty()) {
        *error = std::move(other);
        return std::nullopt;
    }
    return rom::RomImage::open(byteView(romFile), error);
}

} // namespace

std::optional<codec::Bytes> layoutOfTexts(const QStringList &cellTexts)
{
    codec::Bytes layout;
    layout.reserve(std::size_t(cellTexts.size()));
    for (const QString &text : cellTexts) {
        const int tile = tileNumberOf(text);
        if (tile < 0)
            return std::nullopt;
        layout.push_back(std::uint8_t(tile));
    }
    return layout;
}

rom::CheckInput romCheckInput(const QByteArray &romFile, int courseId,
                              std::optional<codec::Bytes> layout)
{
    std::string error;
    const std::optional<rom::RomImage> rom = openForCheck(romFile, &error);
    if (!rom) {
        rom::CheckInput input;
        input.course.id = courseId;
        input.course.layout = layout.value_or(codec::Bytes());
        input.hasTheme = input.hasItems = input.hasObjects = input.hasStart = input.hasLap =
            input.hasAi = false;
        input.unreadable.push_back("the ROM: " + error);
        return input;
    }
    std::string layoutError;
    if (!layout)
        layout = romLayout(*rom, romFile, courseId, &layoutError);
    const rom::CourseLayers layers = rom::readCourseLayers(*rom, courseId);
    rom::CheckInput input = rom::checkInputOf(layers, layout.value_or(codec::Bytes()));
    // A list too long for its slot is refused by the reader, but the game reads on: the check
    // then says how many items there are rather than that the list could not be read.
    if (!input.hasItems) {
        const std::optional<rom::OverlayItems> items = rom::readItemsPastSlot(*rom, courseId);
        if (items && items->size() > std::size_t(rom::map::MaxItems)) {
            input.course.items = *items;
            input.hasItems = true;
            std::erase(input.unreadable, layers.items.error);
        }
    }
    if (!layoutError.empty())
        input.unreadable.insert(input.unreadable.begin(), layoutError);
    addTables(input, *rom, romFile);
    return input;
}

rom::CheckInput documentCheckInput(const CourseDocument &document, const QByteArray &romFile)
{
    if (const std::optional<rom::CourseData> course = document.courseData())
        return courseCheckInput(romFile, *course);
    const rom::Course *course = document.course().course();
    const std::optional<codec::Bytes> layout = layoutOfTexts(document.map().texts());
    rom::CheckInput input = romCheckInput(romFile, course ? course->id : 0,
                                          layout.value_or(codec::Bytes()));
    // What keeps the check from the course comes before what the ROM could not give.
    std::vector<std::string> first;
    if (!course)
        first.emplace_back("no course is chosen");
    if (!layout)
        first.emplace_back("the map: a cell holds no tile number, so no tile is checked");
    input.unreadable.insert(input.unreadable.begin(), first.begin(), first.end());
    return input;
}

rom::CheckInput courseCheckInput(const QByteArray &romFile, const rom::CourseData &course)
{
    rom::CheckInput input;
    input.course = course;
    std::string error;
    const std::optional<rom::RomImage> rom = openForCheck(romFile, &error);
    if (!rom) {
        input.unreadable.push_back("the ROM: " + error);
        return input;
    }
    addTables(input, *rom, romFile);
    return input;
}

} // namespace velmor
