#include "editor/map_edits.h"

#include "editor/cell_regions.h"
#include "document/map_history.h"
#include "editor/map_shapes.h"
#include "document/tile_text.h"

namespace velmor {

MapEdits::MapEdits(CourseMap &map, MapHistory &history)
    : mMap(map)
    , mHistory(history)
{ }

QString MapEdits::refusalFor(const QString &text)
{
    return tr("\"%1\" is not a tile number. A tile number is two hexadecimal digits, 00 to FF; "
              "nothing was drawn.")
        .arg(text);
}

EditResult MapEdits::line(QPoint from, QPoint to, const QString &text, Mark mark)
{
    if (!isTileNumber(text))
        return EditResult::refusal(refusalFor(text));
    return write(tr("Line"), lineCells(from, to), text, mark);
}

EditResult MapEdits::rectangle(
    QPoint corner, QPoint opposite, bool filled, const QString &text, Mark mark)
{
    if (!isTileNumber(text))
        return EditResult::refusal(refusalFor(text));
    return write(tr("Rectangle"), rectangleCells(corner, opposite, filled), text, mark);
}

EditResult MapEdits::fill(QPoint cell, const QString &text, Mark mark)
{
    if (!isTileNumber(text))
        return EditResult::refusal(refusalFor(text));
    if (!isOnMap(cell))
        return {};
    const int start = cellIndex(cell.y(), cell.x());
    if (mMap.text(start) == text)
        return {};
    return write(tr("Fill"), floodRegion(mMap.texts(), start), text, mark);
}

EditResult MapEdits::replace(const QString &from, const QString &to)
{
    if (!isTileNumber(to))
        return EditResult::refusal(refusalFor(to));
    if (from == to)
        return {};
    return write(tr("Replace"), cellsWithText(mMap.texts(), from), to, Mark::Painted);
}

CellBlock MapEdits::copy(const QRect &area) const
{
    return CellBlock::copy(mMap.texts(), area);
}

EditResult MapEdits::cut(const QRect &area, CellBlock &copied)
{
    copied = copy(area);
    return erase(area, tr("Cut"));
}

EditResult MapEdits::deleteCells(const QRect &area)
{
    return erase(area, tr("Delete"));
}

EditResult MapEdits::erase(const QRect &area, const QString &stepName)
{
    return write(stepName, cellsIn(area), CourseMap::freshText(), Mark::Erased);
}

EditResult MapEdits::paste(const CellBlock &block, QPoint topLeft)
{
    QList<int> indices;
    QStringList texts;
    block.placeAt(topLeft, indices, texts);
    mHistory.begin(tr("Paste"));
    const int changed = mMap.setCells(indices, texts, Mark::Painted);
    mHistory.end();
    return {QString(), changed};
}

EditResult MapEdits::move(const QRect &area, QPoint offset)
{
    const QRect source = area & QRect(0, 0, MapSide, MapSide);
    if (source.isEmpty() || offset.isNull())
        return {};
    const CellBlock block = copy(source);
    const QRect target = source.translated(offset);

    // One write with each cell once: the cells left behind, then those that land.
    QList<int> indices;
    QList<Cell> cells;
    const Cell erased {CourseMap::freshText(), Mark::Erased};
    for (int index : cellsIn(source)) {
        if (!target.contains(cellColumn(index), cellRow(index))) {
            indices.append(index);
            cells.append(erased);
        }
    }
    QList<int> landing;
    QStringList texts;
    block.placeAt(target.topLeft(), landing, texts);
    indices += landing;
    for (const QString &text : std::as_const(texts))
        cells.append(Cell {text, Mark::Painted});
    return write(tr("Move"), indices, cells);
}

std::optional<QString> MapEdits::pick(QPoint cell) const
{
    if (!isOnMap(cell))
        return std::nullopt;
    return mMap.text(cellIndex(cell.y(), cell.x()));
}

EditResult MapEdits::write(
    const QString &stepName, const QList<int> &indices, const QString &text, Mark mark)
{
    mHistory.begin(stepName);
    const int changed = mMap.setCells(indices, text, mark);
    mHistory.end();
    return {QString(), changed};
}

EditResult MapEdits::write(
    const QString &stepName, const QList<int> &indices, const QList<Cell> &cells)
{
    mHistory.begin(stepName);
    const int changed = mMap.setCells(indices, cells);
    mHistory.end();
    return {QString(), changed};
}

} // namespace velmor
