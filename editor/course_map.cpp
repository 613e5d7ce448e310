#include "editor/course_map.h"

namespace velmor {

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
