#pragma once

#include "document/course_map.h"

#include <QByteArray>
#include <QStringList>

namespace velmor {

// A whole map kept compactly for undo: each distinct text once, then one id per cell (one byte
// while there are at most 256 distinct texts, else two) and two bits of mark per cell. A part that
// is the same for every cell, as after "Texture Filler" or "Clear Color", is kept as that one value.
class MapSnapshot
{
public:
    static MapSnapshot take(const CourseMap &map) { return take(map.texts(), map.marks()); }
    // texts and marks hold CellCount entries each.
    static MapSnapshot take(const QStringList &texts, const QList<Mark> &marks);
    // The map as it was before a step: its cells, except that cells[i] stands at indices[i].
    // Spares the undo history a copy of every cell when a step changed many of them.
    static MapSnapshot take(const CourseMap &map, const QList<int> &indices,
                            const QList<Cell> &cells);

    QStringList texts() const;
    QList<Mark> marks() const;
    // Bytes held by this snapshot, for the memory bound of the undo history.
    qsizetype byteSize() const;

    // Snapshots are built deterministically, so equal maps give equal snapshots.
    friend bool operator==(const MapSnapshot &, const MapSnapshot &) = default;

private:
    template<typename TextAt, typename MarkAt>
    static MapSnapshot build(TextAt textAt, MarkAt markAt);

    QStringList mDictionary;
    QByteArray mIds;   // empty when every cell has mDictionary[0]
    bool mWideIds = false;
    QByteArray mMarks; // 4 marks a byte; empty when every cell has mUniformMark
    Mark mUniformMark = Mark::Untouched;
};

} // namespace velmor
