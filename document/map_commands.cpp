#include "document/map_commands.h"

namespace velmor {

namespace {

// Undo and redo change the map themselves; nothing may record them as a new step.
class RecorderPause
{
public:
    explicit RecorderPause(CourseMap &map)
        : mMap(map)
        , mSaved(map.recorder())
    {
        mMap.setRecorder(nullptr);
    }
    ~RecorderPause() { mMap.setRecorder(mSaved); }

private:
    CourseMap &mMap;
    ChangeRecorder *mSaved;
};

qsizetype cellBytes(const Cell &cell)
{
    return qsizetype(sizeof(Cell)) + cell.text.size() * qsizetype(sizeof(QChar));
}

} // namespace

void MapCommand::undo()
{
    RecorderPause pause(mMap);
    apply(false);
}

void MapCommand::redo()
{
    if (!mPushed) {
        mPushed = true;
        return;
    }
    RecorderPause pause(mMap);
    apply(true);
}

CellsCommand::CellsCommand(CourseMap &map, const QString &text, QList<int> indices,
                           QList<Cell> before, QList<Cell> after)
    : MapCommand(map, text)
    , mIndices(std::move(indices))
    , mBefore(std::move(before))
    , mAfter(std::move(after))
{}

void CellsCommand::apply(bool forward)
{
    // One announcement for the whole step: undoing a long line repaints once, not per cell.
    mMap.setCells(mIndices, forward ? mAfter : mBefore);
}

qsizetype CellsCommand::byteSize() const
{
    qsizetype bytes = sizeof(*this) + mIndices.size() * qsizetype(sizeof(int));
    for (const Cell &cell : mBefore)
        bytes += cellBytes(cell);
    for (const Cell &cell : mAfter)
        bytes += cellBytes(cell);
    return bytes;
}

WholeMapCommand::WholeMapCommand(CourseMap &map, const QString &text, MapSnapshot before,
                                 MapSnapshot after)
    : MapCommand(map, text)
    , mBefore(std::move(before))
    , mAfter(std::move(after))
{}

void WholeMapCommand::apply(bool forward)
{
    const MapSnapshot &snapshot = forward ? mAfter : mBefore;
    mMap.setAll(snapshot.texts(), snapshot.marks());
}

qsizetype WholeMapCommand::byteSize() const
{
    return sizeof(*this) + mBefore.byteSize() + mAfter.byteSize();
}

} // namespace velmor
