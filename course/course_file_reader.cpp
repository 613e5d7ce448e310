#include "course/course_file.h"

#include "course/json_reader.h"
#include "rom/hex_offset.h"
#include "rom/race_map.h"

#include <QJsonDocument>
#include <QJsonParseError>

namespace velmor::coursefile {

namespace {

using namespace Qt::StringLiterals;
using R = JsonReader;

codec::Bytes layout(R &r, const QJsonValue &value)
{
    const QString path = u"layout"_s;
    const QJsonArray rows = r.tuple(value, path, LayoutRows);
    codec::Bytes tiles;
    tiles.reserve(std::size_t(LayoutRows * LayoutRowDigits / 2));
    for (qsizetype row = 0; row < rows.size() && !r.failed(); ++row) {
        const QString rowPath = R::element(path, row);
        const QByteArray text = r.string(rows[row], rowPath).toLatin1();
        if (!r.failed() && text.size() != LayoutRowDigits)
            r.fail(rowPath, QString::number(text.size()) + u" digits, not "_s
                    + QString::number(LayoutRowDigits));
        for (qsizetype k = 0; k < text.size() && !r.failed(); k += 2) {
            const auto tile = rom::parseHexOffset(std::string_view(text.constData() + k, 2), 2);
            if (!tile)
                r.fail(rowPath, u"digits "_s + QString::number(k) + u" and "_s
                        + QString::number(k + 1) + u" are no hexadecimal number"_s);
            tiles.push_back(std::uint8_t(tile.value_or(0)));
        }
    }
    return tiles;
}

rom::OverlayItems items(R &r, const QJsonValue &value)
{
    const QJsonArray list = r.array(value, u"items"_s);
    rom::OverlayItems items;
    for (qsizetype i = 0; i < list.size() && !r.failed(); ++i) {
        const QString path = R::element(u"items"_s, i);
        const QJsonObject item = r.object(list[i], path, {"pattern", "size", "col", "row"});
        items.push_back({r.integer(item[u"size"], R::child(path, "size")),
                         r.integer(item[u"pattern"], R::child(path, "pattern")),
                         r.integer(item[u"col"], R::child(path, "col")),
                         r.integer(item[u"row"], R::child(path, "row"))});
    }
    return items;
}

rom::ObjectPositions objects(R &r, const QJsonValue &value)
{
    const QJsonObject objects = r.object(value, u"objects"_s, {"groups", "match"});
    rom::ObjectPositions positions;
    const QString groupsPath = u"objects.groups"_s;
    const QJsonArray groups = r.tuple(objects[u"groups"], groupsPath, rom::map::ObjectGroups);
    for (qsizetype g = 0; g < groups.size() && !r.failed(); ++g) {
        const QString groupPath = R::element(groupsPath, g);
        const QJsonArray group = r.tuple(groups[g], groupPath, rom::map::ObjectsPerGroup);
        for (qsizetype k = 0; k < group.size() && !r.failed(); ++k) {
            const std::vector<int> place = r.integers(group[k], R::element(groupPath, k), 2);
            positions.groups[std::size_t(g)][std::size_t(k)] = {place[0], place[1]};
        }
    }
    const QString matchPath = u"objects.match"_s;
    const QJsonArray match = r.array(objects[u"match"], matchPath);
    for (qsizetype k = 0; k < match.size() && !r.failed(); ++k) {
        const std::vector<int> entry = r.integers(match[k], R::element(matchPath, k), 3);
        positions.match.push_back({entry[0], entry[1], entry[2]});
    }
    return positions;
}

rom::StartGrid start(R &r, const QJsonValue &value, bool battle)
{
    const QString path = u"start"_s;
    if (value.isObject() && value.toObject().contains(battle ? u"x" : u"p1"))
        r.fail(path, battle ? u"a battle course starts from p1 and p2"_s
                            : u"a race course starts from a grid (x, y, w)"_s);
    if (battle) {
        const QJsonObject start = r.object(value, path, {"p1", "p2"});
        const std::vector<int> p1 = r.integers(start[u"p1"], u"start.p1"_s, 2);
        const std::vector<int> p2 = r.integers(start[u"p2"], u"start.p2"_s, 2);
        return rom::BattleStart {{p1[0], p1[1]}, {p2[0], p2[1]}};
    }
    const QJsonObject start = r.object(value, path, {"x", "y", "w"});
    return rom::RaceStart {r.integer(start[u"x"], u"start.x"_s), r.integer(start[u"y"], u"start.y"_s),
                           r.integer(start[u"w"], u"start.w"_s)};
}

rom::LapLine lap(R &r, const QJsonValue &value)
{
    const QJsonObject lap = r.object(value, u"lap"_s, {"y", "col", "row", "w", "h"});
    return {r.integer(lap[u"y"], u"lap.y"_s), r.integer(lap[u"col"], u"lap.col"_s),
            r.integer(lap[u"row"], u"lap.row"_s), r.integer(lap[u"w"], u"lap.w"_s),
            r.integer(lap[u"h"], u"lap.h"_s)};
}

rom::Zone zone(R &r, const QJsonValue &value, const QString &path)
{
    rom::Zone zone;
    const int code = r.integer(value.isObject() ? value[u"shape"] : value, R::child(path, "shape"));
    if (r.failed())
        return zone;
    if (code < 0 || code > rom::map::MaxByte || !rom::isZoneShape(std::uint8_t(code))) {
        r.fail(R::child(path, "shape"),
               QString::number(code) + u" is none of the shapes 0, 2, 4, 6, 8, 10, 12"_s);
        return zone;
    }
    zone.shape = rom::ZoneShape(code);
    const QJsonObject fields = zone.shape == rom::ZoneShape::Rectangle
        ? r.object(value, path, {"shape", "x", "y", "w", "h"})
        : rom::isDiagonal(zone.shape) ? r.object(value, path, {"shape", "x", "y", "a", "n"})
                                      : r.object(value, path, {"shape", "x", "y", "n"});
    for (const auto &[key, field] : {std::pair {"x", &zone.x}, {"y", &zone.y}, {"w", &zone.w},
                                     {"h", &zone.h}, {"n", &zone.n}, {"a", &zone.a}}) {
        if (fields.contains(QLatin1StringView(key)))
            *field = r.integer(fields[QLatin1StringView(key)], R::child(path, key));
    }
    return zone;
}

rom::CourseAi ai(R &r, const QJsonValue &value)
{
    const QJsonObject ai = r.object(value, u"ai"_s, {"zones", "targets"});
    rom::CourseAi result;
    const QJsonArray zones = r.array(ai[u"zones"], u"ai.zones"_s);
    for (qsizetype i = 0; i < zones.size() && !r.failed(); ++i)
        result.zones.push_back(zone(r, zones[i], R::element(u"ai.zones"_s, i)));
    const QJsonArray targets = r.array(ai[u"targets"], u"ai.targets"_s);
    for (qsizetype i = 0; i < targets.size() && !r.failed(); ++i) {
        const QString path = R::element(u"ai.targets"_s, i);
        const QJsonObject target = r.object(targets[i], path, {"x", "y", "speed"});
        result.targets.push_back({r.integer(target[u"x"], R::child(path, "x")),
                                  r.integer(target[u"y"], R::child(path, "y")),
                                  r.integer(target[u"speed"], R::child(path, "speed"))});
    }
    return result;
}

ReadResult refusal(const QString &error)
{
    return {std::nullopt, error};
}

} // namespace

ReadResult read(const QByteArray &bytes)
{
    if (bytes.size() > MaxFileSize)
        return refusal(u"the file is "_s + QString::number(bytes.size())
            + u" bytes; a course file is at most "_s + QString::number(MaxFileSize)
            + u" bytes (1 MB)"_s);
    QJsonParseError parse;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parse);
    if (parse.error != QJsonParseError::NoError)
        return refusal(u"no JSON: "_s + parse.errorString() + u" at byte "_s
            + QString::number(parse.offset));
    if (!document.isObject())
        return refusal(u"the file holds no JSON object"_s);
    const QJsonObject top = document.object();
    R r;
    if (r.string(top[u"format"], u"format"_s) != QLatin1StringView(Format))
        r.fail(u"format"_s, u"\""_s + top[u"format"].toString() + u"\" is not \"velmor-course\""_s);
    if (const int version = r.integer(top[u"version"], u"version"_s); version != Version)
        r.fail(u"version"_s, QString::number(version) + u" is not 1, the version this Velmor reads"_s);
    r.object(top, QString(), {"format", "version", "course", "theme", "layout", "items", "start",
                              "ai", "objects", "lap"}, 8);

    rom::CourseData course;
    const QJsonObject id = r.object(top[u"course"], u"course"_s, {"id", "name"});
    course.id = r.integer(id[u"id"], u"course.id"_s);
    if (const std::string problem = rom::rangeProblem(course.id, 0, rom::CourseCount - 1);
        !problem.empty())
        r.fail(u"course.id"_s, QString::fromStdString(problem));
    course.name = r.string(id[u"name"], u"course.name"_s).toStdString();
    const int theme = r.integer(top[u"theme"], u"theme"_s);
    if (theme < 0 || theme > rom::LastThemeCode || theme % 2 != 0)
        r.fail(u"theme"_s, QString::number(theme) + u" is no theme code (0, 2, 4 ... 14)"_s);
    course.theme = rom::Theme(theme);
    course.layout = layout(r, top[u"layout"]);
    course.items = items(r, top[u"items"]);
    if (top.contains(u"objects"))
        course.objects = objects(r, top[u"objects"]);
    course.start = start(r, top[u"start"], rom::isBattleCourse(course.id));
    // A race course without its lap line would keep whatever line the ROM has: refused. Objects
    // may be absent: the Ghost Valley courses have none.
    if (top.contains(u"lap"))
        course.lap = lap(r, top[u"lap"]);
    else if (rom::isRaceCourse(course.id))
        r.fail(u"lap"_s, u"missing: a race course has a lap line"_s);
    course.ai = ai(r, top[u"ai"]);
    if (r.failed())
        return refusal(r.error());
    // The values' ranges, counts and the race-or-battle rules, with their key paths.
    if (const std::string problem = rom::courseDataProblem(course); !problem.empty())
        return refusal(QString::fromStdString(problem));
    return {std::move(course), {}};
}

} // namespace velmor::coursefile
