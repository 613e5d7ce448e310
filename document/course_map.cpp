#include "document/course_map.h"

#include <utility>

namespace velmor {

namespace {

// The bounding rectangle of a batch's changed cells, grown one cell at a time.
class ChangedBounds
{
public:
    void add(int index)
    {
        const int row = cellRow(index);
        const int column = cellColumn(index);
        mLeft = qMin(mLeft, column);
        mRight = qMax(mRight, column);
        mTop = qMin(mTop, row);
        mBottom = qMax(mBottom, row);
    }
    QRect rect() const { return QRect(QPoint(mLeft, mTop), QPoint(mRight, mBottom)); }

private:
    int mLeft = MapSide;
    int mTop = MapSide;
    int mRight = -1;
    int mBottom = -1;
};

} // namespace

CourseMap::CourseMap(QObject *parent)
    : QObject(parent)
{
    mTexts.fill(freshText(), CellCount);
    mMarks.fill(Mark::Untouched, CellCount);
}

void CourseMap::setCell(int index, const QString &text, Mark mark)
{
    Q_ASSERT(isCellIndex(index));
    if (mRecorder)
        mRecorder->cellAboutToChange(index, mTexts.at(index), mMarks.at(index));
    mTexts[index] = text;
    mMarks[index] = mark;
    emit cellsChanged(cellRect(index));
}

void CourseMap::setMark(int index, Mark mark)
{
    Q_ASSERT(isCellIndex(index));
    if (mRecorder)
        mRecorder->cellAboutToChange(index, mTexts.at(index), mMarks.at(index));
    mMarks[index] = mark;
    emit cellsChanged(cellRect(index));
}

template<typename CellOf>
int CourseMap::writeCells(const QList<int> &indices, CellOf cellOf)
{
    ChangedBounds bounds;
    int changed = 0;
    for (qsizetype i = 0; i < indices.size(); ++i) {
        const auto [text, mark] = cellOf(i);
        if (writeIfChanged(indices.at(i), text, mark)) {
            bounds.add(indices.at(i));
            ++changed;
        }
    }
    if (changed > 0)
        emit cellsChanged(bounds.rect());
    return changed;
}

int CourseMap::setCells(const QList<int> &indices, const QString &text, Mark mark)
{
    return writeCells(
        indices, [&](qsizetype) { return std::pair<const QString &, Mark>(text, mark); });
}

int CourseMap::setCells(const QList<int> &indices, const QStringList &texts, Mark mark)
{
    Q_ASSERT(indices.size() == texts.size());
    return writeCells(indices,
        [&](qsizetype i) { return std::pair<const QString &, Mark>(texts.at(i), mark); });
}

int CourseMap::setCells(const QList<int> &indices, const QList<Cell> &cells)
{
    Q_ASSERT(indices.size() == cells.size());
    return writeCells(indices, [&](qsizetype i) {
        return std::pair<const QString &, Mark>(cells.at(i).text, cells.at(i).mark);
    });
}

bool CourseMap::writeIfChanged(int index, const QString &text, Mark mark)
{
    Q_ASSERT(isCellIndex(index));
    if (mMarks.at(index) == mark && mTexts.at(index) == text)
        return false;
    if (mRecorder)
        mRecorder->cellAboutToChange(index, mTexts.at(index), mMarks.at(index));
    mTexts[index] = text;
    mMarks[index] = mark;
    return true;
}

void CourseMap::setAllMarks(Mark mark)
{
    if (mRecorder)
        mRecorder->mapAboutToChange(*this);
    mMarks.fill(mark);
    emit cellsChanged(wholeMapRect());
}

void CourseMap::setAllTexts(const QString &text)
{
    if (mRecorder)
        mRecorder->mapAboutToChange(*this);
    // fill() shares the one string among all cells instead of copying it 16384 times.
    mTexts.fill(text);
    emit cellsChanged(wholeMapRect());
}

void CourseMap::setAll(const QStringList &texts, const QList<Mark> &marks)
{
    if (mRecorder)
        mRecorder->mapAboutToChange(*this);
    Q_ASSERT(texts.size() == CellCount && marks.size() == CellCount);
    mTexts = texts;
    mMarks = marks;
    emit cellsChanged(wholeMapRect());
}

} // namespace velmor
