#include "rom/course_layers.h"

#include "rom/course_data.h"
#include "rom/item_kinds.h"

namespace velmor::rom {

namespace {

// A layer that only race courses have: empty for battle courses, else the reader's outcome.
template <typename T>
LayerRead<std::optional<T>> raceOnly(int id, LayerRead<T> (*reader)(const RomImage &, int),
                                     const RomImage &rom)
{
    if (!isRaceCourse(id))
        return {std::optional<T>(), {}};
    LayerRead<T> read = reader(rom, id);
    if (!read.ok())
        return refused<std::optional<T>>(std::move(read.error));
    return {std::optional<T>(std::move(read.value)), {}};
}

} // namespace

std::vector<std::string> CourseLayers::errors() const
{
    std::vector<std::string> messages;
    for (const std::string *error :
         {&theme.error, &items.error, &objects.error, &start.error, &lap.error, &ai.error}) {
        if (!error->empty())
            messages.push_back(*error);
    }
    return messages;
}

std::optional<CourseData> CourseLayers::course(codec::Bytes layout) const
{
    if (!theme.ok() || !items.ok() || !objects.ok() || !start.ok() || !lap.ok() || !ai.ok())
        return std::nullopt;
    const Course *known = courseById(id);
    return CourseData {id, known ? std::string(known->name) : courseLabel(id), *theme.value,
                       std::move(layout), *items.value, *objects.value, *start.value, *lap.value,
                       *ai.value};
}

CourseLayers readCourseLayers(const RomImage &rom, int id)
{
    CourseLayers layers;
    layers.id = id;
    layers.theme = readTheme(rom, id);
    layers.items = readOverlayItems(rom, id);
    layers.objects = raceOnly(id, &readObjectPositions, rom);
    // The Ghost Valley kind has no objects: the game shows none, whatever the record holds.
    if (layers.objects.ok() && *layers.objects.value
        && readObjectKind(rom, id) == objectKindOf(Theme::GhostValley))
        layers.objects.value->reset();
    layers.start = readStartGrid(rom, id);
    layers.lap = raceOnly(id, &readLapLine, rom);
    const LayerRead<AiPointers> pointers = readAiPointers(rom);
    if (pointers.ok()) {
        layers.ai = readCourseAi(rom, *pointers.value, id);
        layers.aiSharers = pointers.value->sharers(id);
    } else {
        layers.ai = refused<CourseAi>(courseLabel(id) + ": " + pointers.error);
    }
    layers.startSharers = startSharers(rom, id);
    layers.areas = raceOnly(id, &readObjectAreas, rom);
    for (int pattern = 0; pattern < map::DefinedItemPatterns; ++pattern)
        layers.patterns[std::size_t(pattern)] = readPatternTiles(rom, pattern);
    for (int theme = 0; theme < ThemeCount; ++theme) {
        LayerRead<TileBehaviour> read = readTileBehaviour(rom, Theme(theme * 2));
        layers.behaviours[std::size_t(theme)] = std::move(read.value);
    }
    return layers;
}

} // namespace velmor::rom
