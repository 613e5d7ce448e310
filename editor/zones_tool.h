#pragma once

#include "document/zone_geometry.h"
#include "editor/ai_tool.h"

namespace velmor {

// AI zones: a drag on free ground draws a zone (a rectangle; with Shift, or with the triangle or
// a diagonal chosen, that shape), put into the race order after the selected zone. A press on a
// zone selects it and drags it; its handles resize it. Every gesture is one undo step, shown live
// through the zones layer's preview. Zones snap to the 16-pixel zone grid.
class ZonesTool : public AiTool
{
    Q_OBJECT

public:
    explicit ZonesTool(ToolContext &context, QObject *parent = nullptr);

    bool press(const ToolEvent &event) override;
    void move(const ToolEvent &event) override;
    bool release(const ToolEvent &event) override;
    void cancel() override;
    void drawPreview(QPainter &painter, const LayerCanvas &canvas) const override;

    // The zone the edits act on, -1 for none; kept within the zones the document has.
    int selected() const;
    void select(int zone);
    ZoneDraw drawKind() const { return mKind; }
    void setDrawKind(ZoneDraw kind) { mKind = kind; }

    // The selected zone's next shape (Ctrl+M), a copy after it (Ctrl+D), or its removal (Delete).
    void changeShape();
    void duplicate();
    void deleteSelected();

signals:
    void zoneSelected(int zone);
    // What else an edit changed (the object areas it shifted), for the status bar.
    void told(const QString &notice);

private:
    enum class Drag { None, Draw, Move, Resize };

    void show(const rom::CourseAi &ai);
    rom::CourseAi withSelected(const rom::Zone &zone, QPoint targetShift = {}) const;
    void finish(const AiEdits::Outcome &outcome);
    QRect selectionCells() const;
    // A new zone's target: the middle of the zone, at the selected target's speed.
    rom::Target targetFor(const rom::Zone &zone) const;

    ZoneDraw mKind = ZoneDraw::Rectangle;
    Drag mDrag = Drag::None;
    ZoneDraw mDrawing = ZoneDraw::Rectangle;
    ZoneHandle mHandle = ZoneHandle::Size;
    QPointF mPress;
    rom::Zone mOriginal;
    rom::Zone mLatest;
};

} // namespace velmor
