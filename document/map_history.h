#pragma once

#include "document/course_map.h"
#include "document/map_snapshot.h"

#include <QBitArray>
#include <QObject>

#include <optional>

class QUndoStack;

namespace velmor {

// The undo history of the course map. Everything that changes the map between begin() and end()
// becomes one step (a press, a whole drag, "Clear Color", opening a file), holding only the cells
// it changed; a whole-map step, and a step that changed so many cells that two snapshots are
// smaller than the cells (a fill, a large paste), keeps its maps as compact snapshots. Its clean
// state marks the map as last saved or opened.
class MapHistory : public QObject, private ChangeRecorder
{
    Q_OBJECT

public:
    // With a stack of its own: the map alone has a history.
    explicit MapHistory(CourseMap &map, QObject *parent = nullptr);
    // On a stack shared with the other layers of a document, which owns it.
    MapHistory(CourseMap &map, QUndoStack *stack, QObject *parent = nullptr);
    ~MapHistory() override;

    QUndoStack *stack() const { return mStack; }

    // Nested calls join the outermost step; its text names the step in the undo stack.
    void begin(const QString &text);
    void end();
    bool isRecording() const { return mDepth > 0; }

    // What the steps hold, in bytes: the history is unlimited in count but must stay small.
    qsizetype heldBytes() const;

private:
    void cellAboutToChange(int index, const QString &text, Mark mark) override;
    void mapAboutToChange(const CourseMap &map) override;
    void reset();
    void pushCellsStep();

    CourseMap &mMap;
    QUndoStack *mStack;
    int mDepth = 0;
    QString mText;
    // Cells as they were before the step first touched them, in the order touched; a bit per cell
    // says whether it was touched (a flat set: a fill touches every cell of the map).
    QBitArray mTouched;
    QList<int> mOrder;
    QList<Cell> mBefore;
    std::optional<MapSnapshot> mBeforeAll;
};

} // namespace velmor
