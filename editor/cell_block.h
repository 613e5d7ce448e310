#pragma once

#include <QCoreApplication>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QStringList>

namespace velmor {

struct ParsedBlock;

// A rectangle of cell texts lifted from the map: what copy and cut give and what paste places.
// Texts are kept row by row, as the map held them. As clipboard text a block is one line per row
// of tile numbers separated by blanks ("01 02 03\n04 05 06"), so it can go through a text editor
// and come back.
class CellBlock
{
    Q_DECLARE_TR_FUNCTIONS(velmor::CellBlock)

public:
    CellBlock() = default;
    // texts holds columns x rows entries, row by row.
    CellBlock(int columns, int rows, QStringList texts);
    // The texts of the cells of `area` that lie on the map; mapTexts in index order.
    static CellBlock copy(const QStringList &mapTexts, const QRect &area);

    int columns() const { return mColumns; }
    int rows() const { return mRows; }
    bool isEmpty() const { return mTexts.isEmpty(); }
    const QStringList &texts() const { return mTexts; }
    const QString &text(int column, int row) const { return mTexts.at(row * mColumns + column); }

    // The cells the block covers with its top-left cell at topLeft, before clipping.
    QRect area(QPoint topLeft) const { return QRect(topLeft, QSize(mColumns, mRows)); }
    // The map cells the block covers there, clipped at the map's edge, and its texts for them.
    void placeAt(QPoint topLeft, QList<int> &indices, QStringList &texts) const;

    // The clipboard text: cells as they stand, so a cell that holds no tile number gives text
    // that fromText() refuses at that cell.
    QString toText() const;
    // Tolerates blanks around and between cells, CR LF line ends and blank lines at the end.
    // Refuses ragged rows, cells that are not two hexadecimal digits and blocks larger than
    // the map, naming the row and column.
    static ParsedBlock fromText(const QString &text);

    friend bool operator==(const CellBlock &, const CellBlock &) = default;

private:
    int mColumns = 0;
    int mRows = 0;
    QStringList mTexts;
};

// A block read from clipboard text, or why it could not be read.
struct ParsedBlock
{
    CellBlock block;
    QString error; // empty when the text was read
    int errorRow = 0; // counted from 1, as the text's lines
    int errorColumn = 0; // counted from 1, as the cells in the line

    bool ok() const { return error.isEmpty(); }
};

} // namespace velmor
