#pragma once

#include "document/course_map.h"
#include "editor/painting.h"

#include <QCursor>
#include <QObject>
#include <QPoint>
#include <QPointF>
#include <QRect>

#include <functional>
#include <optional>

class QPainter;

namespace velmor {

class CourseDocument;
class Layer;
class LayerCanvas;
class MapEdits;
class ToolPreview;

// One pointer event as every view hands it to the tools: where it is on the course (course
// pixels, eight to a tile) and which cell that is, by the one hit test (cellAt), possibly off
// the map while a drag goes past its edge; buttons as ButtonBit values.
struct ToolEvent
{
    QPointF coursePixel;
    QPoint cell;
    int button = 0; // the button pressed or released; 0 for a move
    int buttons = 0; // the buttons held after the event
    Qt::KeyboardModifiers modifiers;
    // Whether the user can see the place: inside the view and not under the splash.
    bool visible = true;

    static ToolEvent at(QPointF coursePixel);
};

// What every tool of one window works on: the document, the drawing edits over its map and
// history, the painting rules, the preview the views draw, and the palettes, read afresh for
// every edit.
struct ToolContext
{
    CourseDocument &document;
    MapEdits &edits;
    TilePainter &painter;
    ToolPreview &preview;
    std::function<Palettes()> palettes;

    // Left and right draw with their palettes, the middle button with the erase tile.
    std::optional<Cell> inkFor(int button) const;
};

// A tool: what a press, the moves and the release on the map do, what it shows meanwhile, and
// its pointer. Tools are made once per window from the registry (tool_registry.h) and chosen by
// key; views only forward events, through the ToolController.
class Tool : public QObject
{
    Q_OBJECT

public:
    explicit Tool(ToolContext &context, QObject *parent = nullptr);

    // A press the tool takes starts its gesture; the controller then sends it every event until
    // release() says the gesture is over. A press it does not take is swallowed until its release.
    virtual bool press(const ToolEvent &event) = 0;
    virtual void move(const ToolEvent &event) = 0;
    // True when the gesture ends with this release.
    virtual bool release(const ToolEvent &event) = 0;
    // A gesture in progress stops without an edit (another tool was chosen, Escape).
    virtual void cancel() { }
    // Whether a gesture in progress goes on even when another tool is chosen meanwhile: a brush
    // stroke keeps the pointer until its buttons are up.
    virtual bool keepsGesture() const { return false; }
    // What the tool shows beyond the shared cell preview.
    virtual void drawPreview(QPainter &painter, const LayerCanvas &canvas) const;
    virtual QCursor cursor() const { return QCursor(); }

    // A tool that selects things of its own (items) rather than cells answers the Edit entries
    // while it has a selection: the clipboard text of what it selected, its removal, and a paste
    // of its own text with the top-left at `cell` (true when the text was the tool's own).
    virtual bool hasOwnSelection() const { return false; }
    virtual QString copyOwnSelection() const { return {}; }
    virtual void deleteOwnSelection() { }
    virtual void dropOwnSelection() { }
    virtual bool pasteOwn(const QString &, QPoint) { return false; }

signals:
    void previewChanged(const QRect &cells);
    // An edit was refused; the message is for the user, the document is unchanged.
    void refused(const QString &message);
    // The palette of `button` (LeftButton or RightButton) is to show text.
    void picked(int button, const QString &text);
    void selectionChanged(bool hasSelection);

protected:
    ToolContext &context() const { return mContext; }
    // Call before changing the preview; notifyPreview() with what it returned afterwards.
    QRect previewBounds() const;
    void notifyPreview(const QRect &before);
    void report(const struct EditResult &result);
    // A layer the ROM's data could not be read into is not edited: says why, and returns true.
    bool refuseUnreadable(const Layer &layer);

private:
    ToolContext &mContext;
};

} // namespace velmor
