#include "editor/cell_block.h"

#include "document/map_geometry.h"
#include "document/tile_text.h"

namespace velmor {

namespace {

const QRect MapCells(0, 0, MapSide, MapSide);

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

QStringList cellsOfLine(QStringView line)
{
    QStringList cells;
    qsizetype i = 0;
    while (i < line.size()) {
        while (i < line.size() && isBlank(line.at(i)))
            ++i;
        const qsizetype start = i;
        while (i < line.size() && !isBlank(line.at(i)))
            ++i;
        if (i > start)
            cells.append(line.mid(start, i - start).toString());
    }
    return cells;
}

} // namespace

CellBlock::CellBlock(int columns, int rows, QStringList texts)
    : mColumns(columns)
    , mRows(rows)
    , mTexts(std::move(texts))
{
    Q_ASSERT(columns >= 0 && rows >= 0 && mTexts.size() == qsizetype(columns) * rows);
}

CellBlock CellBlock::copy(const QStringList &mapTexts, const QRect &area)
{
    const QRect onMap = area & MapCells;
    if (onMap.isEmpty())
        return CellBlock();
    QStringList texts;
    texts.reserve(qsizetype(onMap.width()) * onMap.height());
    for (int row = onMap.top(); row <= onMap.bottom(); ++row) {
        for (int column = onMap.left(); column <= onMap.right(); ++column)
            texts.append(mapTexts.at(cellIndex(row, column)));
    }
    return CellBlock(onMap.width(), onMap.height(), std::move(texts));
}

void CellBlock::placeAt(QPoint topLeft, QList<int> &indices, QStringList &texts) const
{
    indices.clear();
    texts.clear();
    const QRect onMap = area(topLeft) & MapCells;
    if (isEmpty() || onMap.isEmpty())
        return;
    indices.reserve(qsizetype(onMap.width()) * onMap.height());
    texts.reserve(indices.capacity());
    for (int row = onMap.top(); row <= onMap.bottom(); ++row) {
        for (int column = onMap.left(); column <= onMap.right(); ++column) {
            indices.append(cellIndex(row, column));
            texts.append(text(column - topLeft.x(), row - topLeft.y()));
        }
    }
}

QString CellBlock::toText() const
{
    QString result;
    result.reserve(qsizetype(mRows) * mColumns * 3);
    for (int row = 0; row < mRows; ++row) {
        if (row > 0)
            result += u'\n';
        for (int column = 0; column < mColumns; ++column) {
            if (column > 0)
                result += u' ';
            result += text(column, row);
        }
    }
    return result;
}

ParsedBlock CellBlock::fromText(const QString &text)
{
    // Every refusal names its place the same way, as the rulers count: from 1.
    auto refusal = [](int row, int column, const QString &what) {
        return ParsedBlock {
            CellBlock(), tr("Row %1, column %2: %3").arg(row).arg(column).arg(what), row, column};
    };
    QList<QStringView> lines = QStringView(text).split(u'\n');
    for (QStringView &line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
    }
    while (!lines.isEmpty() && cellsOfLine(lines.constLast()).isEmpty())
        lines.removeLast();
    if (lines.isEmpty())
        return ParsedBlock {CellBlock(), tr("The text holds no tile numbers."), 0, 0};
    if (lines.size() > MapSide)
        return refusal(MapSide + 1, 1, tr("the map has only %1 rows.").arg(MapSide));

    QStringList texts;
    int columns = 0;
    for (int row = 1; row <= int(lines.size()); ++row) {
        const QStringList cells = cellsOfLine(lines.at(row - 1));
        if (cells.isEmpty())
            return refusal(row, 1, tr("the row holds no tile numbers."));
        for (int column = 1; column <= int(cells.size()); ++column) {
            if (!isTileNumber(cells.at(column - 1))) {
                return refusal(row, column,
                    tr("\"%1\" is not a tile number of two hexadecimal digits.")
                        .arg(cells.at(column - 1)));
            }
        }
        if (row == 1) {
            columns = int(cells.size());
            if (columns > MapSide)
                return refusal(1, MapSide + 1, tr("the map has only %1 columns.").arg(MapSide));
        } else if (cells.size() != columns) {
            // Name the first cell that is missing, or the first one too many.
            return refusal(row, int(qMin(cells.size(), qsizetype(columns))) + 1,
                tr("the row has %1 cells, but row 1 has %2.").arg(cells.size()).arg(columns));
        }
        texts += cells;
    }
    return ParsedBlock {CellBlock(columns, int(lines.size()), std::move(texts)), {}, 0, 0};
}

} // namespace velmor
