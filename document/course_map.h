#pragma once

#include "document/map_geometry.h"

#include <QList>
#include <QObject>
#include <QRect>
#include <QString>
#include <QStringList>

namespace velmor {

// A cell's mark tells the user what happened to it; nothing reads it back (export looks at texts).
enum class Mark : quint8 {
    Untouched, // button face, not bold: start-up and "Clear Color"
    Painted,   // white, bold: a left or right press or drag
    Erased,    // scroll-bar colour, not bold: a middle press or drag
};

inline bool isBold(Mark mark)
{
    return mark == Mark::Painted;
}

struct Cell
{
    QString text;
    Mark mark = Mark::Untouched;

    friend bool operator==(const Cell &, const Cell &) = default;
};

class CourseMap;

// Told about every cell before it changes, so an edit can be undone. Whole-map operations are
// reported once, before they run.
class ChangeRecorder
{
public:
    virtual ~ChangeRecorder() = default;
    virtual void cellAboutToChange(int index, const QString &text, Mark mark) = 0;
    virtual void mapAboutToChange(const CourseMap &map) = 0;
};

// The course map: 128 x 128 cells in index order (128 x row + column). A cell's text is the map's
// value, exactly as the export reads it, so it is kept as typed rather than as a byte.
// Every change goes through here and is announced once, by the region of cells it touched.
class CourseMap : public QObject
{
    Q_OBJECT

public:
    explicit CourseMap(QObject *parent = nullptr);

    static QString freshText() { return QStringLiteral("01"); }

    const QString &text(int index) const { return mTexts.at(index); }
    Mark mark(int index) const { return mMarks.at(index); }
    Cell cell(int index) const { return {mTexts.at(index), mMarks.at(index)}; }
    // All texts in index order: what the encoder reads.
    const QStringList &texts() const { return mTexts; }
    const QList<Mark> &marks() const { return mMarks; }

    void setCell(int index, const QString &text, Mark mark);
    void setMark(int index, Mark mark);
    // Many cells as one change, for the drawing tools and undo: cells that already hold their new
    // text and mark are left alone, the recorder hears of each cell that does change, and one
    // cellsChanged() names their bounding rectangle (none when nothing changed). Returns how many
    // cells changed. An index may appear only once.
    int setCells(const QList<int> &indices, const QString &text, Mark mark);
    // texts[i] goes to indices[i], all with one mark.
    int setCells(const QList<int> &indices, const QStringList &texts, Mark mark);
    // cells[i] goes to indices[i].
    int setCells(const QList<int> &indices, const QList<Cell> &cells);
    // Whole-map operations, announced as one change.
    void setAllMarks(Mark mark);
    void setAllTexts(const QString &text);
    // Replaces every cell; texts and marks must each hold CellCount entries.
    void setAll(const QStringList &texts, const QList<Mark> &marks);

    // At most one recorder; nullptr stops recording.
    void setRecorder(ChangeRecorder *recorder) { mRecorder = recorder; }
    ChangeRecorder *recorder() const { return mRecorder; }

signals:
    // x is the column, y the row of the changed cells' bounding rectangle.
    void cellsChanged(const QRect &cells);

private:
    // Writes one cell of a batch if it differs; true when it did.
    bool writeIfChanged(int index, const QString &text, Mark mark);
    // The batch itself: cellOf(i) gives the text and mark for indices[i].
    template<typename CellOf>
    int writeCells(const QList<int> &indices, CellOf cellOf);

    QStringList mTexts;
    QList<Mark> mMarks;
    ChangeRecorder *mRecorder = nullptr;
};

inline QRect cellRect(int index)
{
    return QRect(cellColumn(index), cellRow(index), 1, 1);
}
inline QRect wholeMapRect()
{
    return QRect(0, 0, MapSide, MapSide);
}

} // namespace velmor
