#pragma once

#include "editor/race_geometry.h"
#include "editor/tool.h"

namespace velmor {

class ObjectsLayer;

// Objects: drag a marker (a pipe, a mole, a Thwomp, …) to another tile; the group it belongs to
// is outlined and named while it is chosen, since the race makes one group live at a time. The
// two-player match race's objects likewise, and their motion is set from a list. Each drag and
// each change of motion is one step.
class ObjectsTool : public Tool
{
    Q_OBJECT

public:
    using Tool::Tool;

    bool press(const ToolEvent &event) override;
    void move(const ToolEvent &event) override;
    bool release(const ToolEvent &event) override;
    void cancel() override;
    void drawPreview(QPainter &painter, const LayerCanvas &canvas) const override;

    race::ObjectRef chosen() const { return mChosen; }
    // The chosen match-race object's motion (2 still, 1 moves in x, 0 moves in y); -1 when no
    // match-race object is chosen.
    int chosenMotion() const;
    // One step "Change Object Motion"; refused without a chosen match-race object.
    void setMotion(int motion);
    // "Group 2, object 3", "Match-race object 1"; empty without a choice.
    QString chosenText() const;

signals:
    void chosenChanged();

private:
    ObjectsLayer &layer() const;
    void choose(const race::ObjectRef &ref);
    // Where the chosen object's group (or the match list) lies, for repainting.
    QRect chosenCells() const;

    race::ObjectRef mChosen;
    bool mDragging = false;
    QPoint mAnchor;
    QPoint mFrom; // the chosen object's tile when the drag began
};

} // namespace velmor
