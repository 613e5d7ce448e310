#pragma once

#include "document/course_map.h"
#include "document/map_snapshot.h"

#include <QUndoCommand>

namespace velmor {

// A step that held its changes already when it was pushed: the stack's first redo() must not
// apply it a second time.
class MapCommand : public QUndoCommand
{
public:
    MapCommand(CourseMap &map, const QString &text)
        : QUndoCommand(text)
        , mMap(map)
    {}
    virtual qsizetype byteSize() const = 0;

    void undo() final;
    void redo() final;

protected:
    virtual void apply(bool forward) = 0;
    CourseMap &mMap;

private:
    bool mPushed = false;
};

// Only the cells a press or a drag changed, before and after.
class CellsCommand : public MapCommand
{
public:
    CellsCommand(CourseMap &map, const QString &text, QList<int> indices, QList<Cell> before,
                 QList<Cell> after);
    qsizetype byteSize() const override;

protected:
    void apply(bool forward) override;

private:
    QList<int> mIndices;
    QList<Cell> mBefore;
    QList<Cell> mAfter;
};

// A change of the whole map, kept as two compact snapshots.
class WholeMapCommand : public MapCommand
{
public:
    WholeMapCommand(CourseMap &map, const QString &text, MapSnapshot before, MapSnapshot after);
    qsizetype byteSize() const override;

protected:
    void apply(bool forward) override;

private:
    MapSnapshot mBefore;
    MapSnapshot mAfter;
};

} // namespace velmor
