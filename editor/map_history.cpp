#include "editor/map_history.h"

#include "editor/map_commands.h"

#include <QUndoStack>

namespace velmor {

namespace {

// A changed cell costs about 80 bytes in a cells step (index, two cells and their texts); two
// snapshots of a varied map cost about 40 KB. Past this count the snapshots are the smaller.
constexpr int SnapshotStepCells = CellCount / 32;

} // namespace

MapHistory::MapHistory(CourseMap &map, QObject *parent)
    : QObject(parent)
    , mMap(map)
    , mStack(new QUndoStack(this))
    , mTouched(CellCount)
{}

MapHistory::~MapHistory()
{
    if (mMap.recorder() == this)
        mMap.setRecorder(nullptr);
}

void MapHistory::begin(const QString &text)
{
    if (mDepth++ > 0)
        return;
    reset();
    mText = text;
    mMap.setRecorder(this);
}

void MapHistory::end()
{
    Q_ASSERT(mDepth > 0);
    if (mDepth == 0 || --mDepth > 0)
        return;
    mMap.setRecorder(nullptr);

    if (mBeforeAll) {
        MapSnapshot after = MapSnapshot::take(mMap);
        if (!(after == *mBeforeAll))
            mStack->push(new WholeMapCommand(mMap, mText, std::move(*mBeforeAll), std::move(after)));
    } else {
        pushCellsStep();
    }
    reset();
}

void MapHistory::pushCellsStep()
{
    // A press on a cell that already looks the same changes nothing worth a step.
    QList<int> indices;
    QList<Cell> before;
    QList<Cell> after;
    for (qsizetype i = 0; i < mOrder.size(); ++i) {
        const int index = mOrder.at(i);
        Cell now = mMap.cell(index);
        if (now == mBefore.at(i))
            continue;
        indices.append(index);
        before.append(mBefore.at(i));
        after.append(std::move(now));
    }
    if (indices.isEmpty())
        return;
    if (indices.size() <= SnapshotStepCells) {
        mStack->push(new CellsCommand(mMap, mText, std::move(indices), std::move(before),
                                      std::move(after)));
        return;
    }
    QStringList texts = mMap.texts();
    QList<Mark> marks = mMap.marks();
    for (qsizetype i = 0; i < indices.size(); ++i) {
        texts[indices.at(i)] = before.at(i).text;
        marks[indices.at(i)] = before.at(i).mark;
    }
    mStack->push(new WholeMapCommand(mMap, mText, MapSnapshot::take(texts, marks),
                                     MapSnapshot::take(mMap)));
}

qsizetype MapHistory::heldBytes() const
{
    qsizetype bytes = 0;
    for (int i = 0; i < mStack->count(); ++i)
        bytes += static_cast<const MapCommand *>(mStack->command(i))->byteSize();
    return bytes;
}

void MapHistory::cellAboutToChange(int index, const QString &text, Mark mark)
{
    if (mBeforeAll || mTouched.testBit(index))
        return;
    mTouched.setBit(index);
    mOrder.append(index);
    mBefore.append(Cell{text, mark});
}

void MapHistory::mapAboutToChange(const CourseMap &map)
{
    if (mBeforeAll)
        return;
    // Cells this step changed already go back to how they were before it began.
    QStringList texts = map.texts();
    QList<Mark> marks = map.marks();
    for (qsizetype i = 0; i < mOrder.size(); ++i) {
        texts[mOrder.at(i)] = mBefore.at(i).text;
        marks[mOrder.at(i)] = mBefore.at(i).mark;
    }
    mBeforeAll = MapSnapshot::take(texts, marks);
}

void MapHistory::reset()
{
    mText.clear();
    for (int index : std::as_const(mOrder))
        mTouched.clearBit(index);
    mOrder.clear();
    mBefore.clear();
    mBeforeAll.reset();
}

} // namespace velmor
