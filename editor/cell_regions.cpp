#include "editor/cell_regions.h"

#include "document/map_geometry.h"

#include <vector>

namespace velmor {

QList<int> floodRegion(const QStringList &texts, int start)
{
    Q_ASSERT(texts.size() == CellCount && isCellIndex(start));
    const QString &target = texts.at(start);
    // A cell is flagged when it joins the work list, so each is looked at once.
    std::vector<bool> inRegion(CellCount, false);
    QList<int> pending {start};
    inRegion[start] = true;
    qsizetype count = 0;
    auto reach = [&](int neighbour) {
        if (!inRegion[neighbour] && texts.at(neighbour) == target) {
            inRegion[neighbour] = true;
            pending.append(neighbour);
        }
    };
    while (!pending.isEmpty()) {
        const int cell = pending.takeLast();
        ++count;
        const int column = cellColumn(cell);
        const int row = cellRow(cell);
        if (column > 0)
            reach(cell - 1);
        if (column < MapSide - 1)
            reach(cell + 1);
        if (row > 0)
            reach(cell - MapSide);
        if (row < MapSide - 1)
            reach(cell + MapSide);
    }
    // Reading the flags back gives index order without sorting.
    QList<int> region;
    region.reserve(count);
    for (int i = 0; i < CellCount; ++i) {
        if (inRegion[i])
            region.append(i);
    }
    return region;
}

QList<int> cellsWithText(const QStringList &texts, const QString &text)
{
    QList<int> cells;
    for (int i = 0; i < int(texts.size()); ++i) {
        if (texts.at(i) == text)
            cells.append(i);
    }
    return cells;
}

} // namespace velmor
