#include "editor/map_history.h"

#include "editor/map_commands.h"

#include <QUndoStack>

namespace velmor {

MapHistory::MapHistory(CourseMap &map, QObject *parent)
    : QObject(parent)
    , mMap(map)
    , mStack(new QUndoStack(this))
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
        // A press on a cell that already looks the same changes nothing worth a step.
        QList<int> indices;
        QList<Cell> before;
        QList<Cell> after;
        for (int index : std::as_const(mOrder)) {
            const Cell now = mMap.cell(index);
            const Cell was = mBefore.value(index);
            if (now == was)
                continue;
            indices.append(index);
            before.append(was);
            after.append(now);
        }
        if (!indices.isEmpty()) {
            mStack->push(new CellsCommand(mMap, mText, std::move(indices), std::move(before),
                                          std::move(after)));
        }
    }
    reset();
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
    if (mBeforeAll || mBefore.contains(index))
        return;
    mBefore.insert(index, Cell{text, mark});
    mOrder.append(index);
}

void MapHistory::mapAboutToChange(const CourseMap &map)
{
    if (mBeforeAll)
        return;
    // Cells this step changed already go back to how they were before it began.
    QStringList texts = map.texts();
    QList<Mark> marks = map.marks();
    for (auto it = mBefore.cbegin(); it != mBefore.cend(); ++it) {
        texts[it.key()] = it.value().text;
        marks[it.key()] = it.value().mark;
    }
    mBeforeAll = MapSnapshot::take(texts, marks);
}

void MapHistory::reset()
{
    mText.clear();
    mBefore.clear();
    mOrder.clear();
    mBeforeAll.reset();
}

} // namespace velmor
