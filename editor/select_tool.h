#pragma once

#include "editor/cell_block.h"
#include "editor/tool.h"

namespace velmor {

// Select: a left drag selects a rectangle of cells; a drag that starts inside the selection
// moves its cells (the cells left behind are erased), shown floating until the release makes
// the move one step. The selection is the shared preview's, so the Edit entries reach it.
class SelectTool : public Tool
{
    Q_OBJECT

public:
    using Tool::Tool;

    bool press(const ToolEvent &event) override;
    void move(const ToolEvent &event) override;
    bool release(const ToolEvent &event) override;
    void cancel() override;

private:
    enum class Drag { Selecting, Moving };
    void setSelection(const QRect &cells);
    void updateMove(QPoint cell);

    Drag mDrag = Drag::Selecting;
    QPoint mAnchor;
    QPoint mLast;
    CellBlock mMoving;
};

} // namespace velmor
