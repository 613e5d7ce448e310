#include "course/course_file.h"

#include "rom/race_map.h"

#include <string>
#include <vector>

namespace velmor::coursefile {

namespace {

using Lines = std::vector<std::string>;

std::string quoted(const std::string &text)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            out += "\\u00";
            out += digits[byte >> 4];
            out += digits[byte & 0xF];
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string number(int value)
{
    return std::to_string(value);
}

// {"a": 1, "b": 2}, keys in the order given.
std::string object(std::initializer_list<std::pair<const char *, std::string>> members)
{
    std::string out = "{";
    for (const auto &[key, value] : members)
        out += (out.size() > 1 ? ", " : "") + quoted(key) + ": " + value;
    return out + "}";
}

std::string inlineArray(const std::vector<int> &values)
{
    std::string out = "[";
    for (const int value : values)
        out += (out.size() > 1 ? ", " : "") + number(value);
    return out + "]";
}

// One element a line, each indented one step more than the array's own line.
std::string blockArray(const Lines &elements, const std::string &indent)
{
    if (elements.empty())
        return "[]";
    std::string out = "[\n";
    for (std::size_t i = 0; i < elements.size(); ++i)
        out += indent + "  " + elements[i] + (i + 1 < elements.size() ? ",\n" : "\n");
    return out + indent + "]";
}

std::string layoutRows(const codec::Bytes &layout)
{
    static const char digits[] = "0123456789ABCDEF";
    Lines rows;
    const std::size_t tilesPerRow = LayoutRowDigits / 2;
    for (std::size_t row = 0; row < std::size_t(LayoutRows); ++row) {
        std::string text = "\"";
        for (std::size_t k = 0; k < tilesPerRow; ++k) {
            const std::uint8_t tile = layout[row * tilesPerRow + k];
            text += digits[tile >> 4];
            text += digits[tile & 0xF];
        }
        rows.push_back(text + "\"");
    }
    return blockArray(rows, "  ");
}

std::string zoneText(const rom::Zone &zone)
{
    const std::string shape = number(int(zone.shape));
    if (zone.shape == rom::ZoneShape::Rectangle)
        return object({{"shape", shape}, {"x", number(zone.x)}, {"y", number(zone.y)},
                       {"w", number(zone.w)}, {"h", number(zone.h)}});
    if (rom::isDiagonal(zone.shape))
        return object({{"shape", shape}, {"x", number(zone.x)}, {"y", number(zone.y)},
                       {"a", number(zone.a)}, {"n", number(zone.n)}});
    return object({{"shape", shape}, {"x", number(zone.x)}, {"y", number(zone.y)},
                   {"n", number(zone.n)}});
}

std::string objectsText(const rom::ObjectPositions &objects)
{
    Lines groups;
    for (const rom::ObjectPositions::Group &group : objects.groups) {
        std::string line = "[";
        for (const rom::ObjectPlace &place : group)
            line += (line.size() > 1 ? ", " : "") + inlineArray({place.col, place.row});
        groups.push_back(line + "]");
    }
    std::string match = "[";
    for (const rom::MatchObject &m : objects.match)
        match += (match.size() > 1 ? ", " : "") + inlineArray({m.col, m.row, m.motion});
    return "{\n    \"groups\": " + blockArray(groups, "    ") + ",\n    \"match\": " + match
        + "]\n  }";
}

std::string startText(const rom::StartGrid &start)
{
    if (const auto *race = std::get_if<rom::RaceStart>(&start))
        return object({{"x", number(race->x)}, {"y", number(race->y)}, {"w", number(race->w)}});
    const auto &battle = std::get<rom::BattleStart>(start);
    return object({{"p1", inlineArray({battle.p1[0], battle.p1[1]})},
                   {"p2", inlineArray({battle.p2[0], battle.p2[1]})}});
}

} // namespace

std::optional<QByteArray> write(const rom::CourseData &course, QString *error)
{
    if (const std::string problem = rom::courseDataProblem(course); !problem.empty()) {
        if (error)
            *error = QString::fromStdString(problem);
        return std::nullopt;
    }
    Lines items;
    for (const rom::OverlayItem &item : course.items)
        items.push_back(object({{"pattern", number(item.pattern)}, {"size", number(item.size)},
                                {"col", number(item.col)}, {"row", number(item.row)}}));
    Lines zones;
    for (const rom::Zone &zone : course.ai.zones)
        zones.push_back(zoneText(zone));
    Lines targets;
    for (const rom::Target &target : course.ai.targets)
        targets.push_back(object({{"x", number(target.x)}, {"y", number(target.y)},
                                  {"speed", number(target.speed)}}));

    std::string text = "{\n  \"format\": " + quoted(Format) + ",\n  \"version\": " + number(Version)
        + ",\n  \"course\": " + object({{"id", number(course.id)}, {"name", quoted(course.name)}})
        + ",\n  \"theme\": " + number(int(course.theme)) + ",\n  \"layout\": "
        + layoutRows(course.layout) + ",\n  \"items\": " + blockArray(items, "  ");
    if (course.objects)
        text += ",\n  \"objects\": " + objectsText(*course.objects);
    text += ",\n  \"start\": " + startText(course.start);
    if (course.lap)
        text += ",\n  \"lap\": "
            + object({{"y", number(course.lap->y)}, {"col", number(course.lap->col)},
                      {"row", number(course.lap->row)}, {"w", number(course.lap->w)},
                      {"h", number(course.lap->h)}});
    text += ",\n  \"ai\": {\n    \"zones\": " + blockArray(zones, "    ") + ",\n    \"targets\": "
        + blockArray(targets, "    ") + "\n  }\n}\n";
    return QByteArray::fromStdString(text);
}

} // namespace velmor::coursefile
