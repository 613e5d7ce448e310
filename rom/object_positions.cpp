#include "rom/object_positions.h"

#include "rom/hex_offset.h"

namespace velmor::rom {

namespace {

constexpr std::size_t WordSize = 2;
constexpr std::uint16_t MotionBits = std::uint16_t(~map::TileIndexMask);

std::size_t recordOf(int id)
{
    return map::ObjectSlots + map::ObjectRecordSize * std::size_t(id);
}

std::uint16_t tileIndex(int col, int row)
{
    return std::uint16_t(row * map::MapSide + col);
}

std::string index(std::size_t i)
{
    // Appended piece by piece: GCC 12 warns falsely about "[" + text in an optimised build.
    std::string text(1, '[');
    text += std::to_string(i);
    text += ']';
    return text;
}

} // namespace

std::string objectsProblem(const ObjectPositions &objects)
{
    const int lastTile = map::MapSide - 1;
    for (std::size_t g = 0; g < objects.groups.size(); ++g) {
        for (std::size_t k = 0; k < objects.groups[g].size(); ++k) {
            const ObjectPlace &place = objects.groups[g][k];
            const std::string path = "groups" + index(g) + index(k);
            for (const auto &[i, value] : {std::pair {0, place.col}, {1, place.row}}) {
                if (const std::string reason = rangeProblem(value, 0, lastTile); !reason.empty())
                    return keyProblem(path + index(std::size_t(i)), reason);
            }
        }
    }
    if (objects.match.size() > std::size_t(map::MatchObjects))
        return keyProblem("match", std::to_string(objects.match.size())
                + " objects; the game allows " + std::to_string(map::MatchObjects));
    for (std::size_t k = 0; k < objects.match.size(); ++k) {
        const MatchObject &object = objects.match[k];
        const std::string path = "match" + index(k);
        const int values[] = {object.col, object.row, object.motion};
        const int highest[] = {lastTile, lastTile, map::MaxMotion};
        for (std::size_t i = 0; i < 3; ++i) {
            if (const std::string reason = rangeProblem(values[i], 0, highest[i]); !reason.empty())
                return keyProblem(path + index(i), reason);
        }
        if (object == MatchObject {})
            return keyProblem(path, "[0, 0, 0] is the word that ends the list");
    }
    return {};
}

LayerRead<ObjectPositions> readObjectPositions(const RomImage &rom, int id)
{
    const codec::ByteView game = rom.game();
    const std::size_t record = recordOf(id);
    const auto fault = [&](const std::string &reason) {
        return refused<ObjectPositions>(
            layerMessage(id, "object positions", rom.fileOffset(record), reason));
    };
    if (!isRaceCourse(id))
        return fault("battle courses have no object positions");
    if (!fits(game.size(), record, map::ObjectRecordSize))
        return fault("the record lies outside this ROM");
    ObjectPositions objects;
    std::size_t at = record;
    for (std::size_t g = 0; g < objects.groups.size(); ++g) {
        for (ObjectPlace &place : objects.groups[g]) {
            const std::uint16_t word = wordAt(game, at);
            if (word & MotionBits)
                return fault("group " + std::to_string(g) + "'s word at " + hexText(rom.fileOffset(at))
                    + ": " + hexText(word) + " is past the 128 x 128 map (bits 14-15 set)");
            place = {word % map::MapSide, word / map::MapSide};
            at += WordSize;
        }
    }
    at = record + map::ObjectMatchList;
    for (int k = 0; k < map::MatchObjects; ++k, at += WordSize) {
        const std::uint16_t word = wordAt(game, at);
        if (word == 0)
            break;
        const int tile = word & map::TileIndexMask;
        objects.match.push_back({tile % map::MapSide, tile / map::MapSide, word >> map::MotionShift});
    }
    return {std::move(objects), {}};
}

std::string writeObjectPositions(GameBytes game, int id, const ObjectPositions &objects)
{
    const std::string who = courseLabel(id) + ": object positions: ";
    const std::size_t record = recordOf(id);
    if (!isRaceCourse(id))
        return who + "battle courses have no object positions";
    if (!fits(game.size(), record, map::ObjectRecordSize))
        return who + "the record lies outside this ROM";
    if (const std::string problem = objectsProblem(objects); !problem.empty())
        return who + problem;
    std::size_t at = record;
    for (const ObjectPositions::Group &group : objects.groups) {
        for (const ObjectPlace &place : group) {
            putWord(game, at, tileIndex(place.col, place.row));
            at += WordSize;
        }
    }
    at = record + map::ObjectMatchList;
    for (const MatchObject &object : objects.match) {
        putWord(game, at, std::uint16_t(tileIndex(object.col, object.row)
                                        | (object.motion << map::MotionShift)));
        at += WordSize;
    }
    if (objects.match.size() < std::size_t(map::MatchObjects))
        putWord(game, at, 0);
    return {};
}

} // namespace velmor::rom
