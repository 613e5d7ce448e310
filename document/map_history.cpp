#include "document/map_history.h"

#include "document/map_commands.h"

#include <QUndoStack>

namespace velmor {

namespace {

// A changed cell costs about 80 bytes in a cells step (index, two cells and their texts); two
// snapshots of a varied map cost about 40 KB. Past this count the snapshots are the smaller.
constexpr int SnapshotStepCells = CellCount / 32;

} // namespace

MapHistory::MapHistory(CourseMap &map, QObject *parent)
    : MapHistory(map, nullptr, parent)
{}

MapHistory::MapHistory(CourseMap &map, QUndoStack *stack, QObject *parent)
    : QObject(parent)
    , mMap(map)
    , mStack(stack ? stack : new QUndoStack(this))
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
    // Counted first, so that a large step builds no lists of cells: fresh memory is what makes
    // a step of thousands of cells slow.
    qsizetype changed = 0;
    for (qsizetype i = 0; i < mOrder.size(); ++i) {
        const int index = mOrder.at(i);
        changed += mMap.mark(index) != mBefore.at(i).mark || mMap.text(index) != mBefore.at(i).text;
    }
    // A press on a cell that already looks the same changes nothing worth a step.
    if (changed == 0)
        return;
    if (changed > SnapshotStepCells) {
        mStack->push(new WholeMapCommand(mMap, mText, MapSnapshot::take(mMap, mOrder, mBefore),
                                         MapSnapshot::take(mMap)));
        return;
    }
    QList<int> indices;
    QList<Cell> before;
    QList<Cell> after;
    indices.reserve(changed);
    before.reserve(changed);
    after.reserve(changed);
    for (qsizetype i = 0; i < mOrder.size(); ++i) {
        const int index = mOrder.at(i);
        Cell now = mMap.cell(index);
        if (now == mBefore.at(i))
            continue;
        indices.append(index);
        before.append(mBefore.at(i));
        after.append(std::move(now));
    }
    mStack->push(new CellsCommand(mMap, mText, std::move(indices), std::move(before),
                                  std::move(after)));
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
    mBeforeAll = MapSnapshot::take(map, mOrder, mBefore);
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
