#pragma once

#include "editor/ai_tool.h"

namespace velmor {

class CourseDocument;

// What is wrong with where a target lies, for the marks on the map and the race order panel.
enum class TargetFault { None, OutsideZone, NotDrivable };
// The fault of target `index` of the document's AI: outside its zone first, then a tile that no
// kart drives on by the theme's behaviour table (not judged where the ROM gave none).
TargetFault targetFault(const CourseDocument &document, int index);

// AI targets: a press on a target drags it (in whole tiles); a press elsewhere in a zone brings
// that zone's target there and drags it on. The selected target's speed class is set with the
// keys 0-3 (setSpeed). Every change is one undo step; targets out of their zone or on a tile no
// kart drives on are marked while the tool is chosen.
class TargetsTool : public AiTool
{
    Q_OBJECT

public:
    explicit TargetsTool(ToolContext &context, QObject *parent = nullptr);

    bool press(const ToolEvent &event) override;
    void move(const ToolEvent &event) override;
    bool release(const ToolEvent &event) override;
    void cancel() override;
    void drawPreview(QPainter &painter, const LayerCanvas &canvas) const override;

    int selected() const;
    void select(int target);
    void setSpeed(int speed);

signals:
    void targetSelected(int target);

private:
    QPoint tileAt(QPointF coursePixel) const;
    void repaintAround(int target);

    bool mDragging = false;
};

} // namespace velmor
