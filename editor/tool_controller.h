#pragma once

#include "editor/cell_block.h"
#include "editor/edit_result.h"
#include "editor/map_edits.h"
#include "editor/painting.h"
#include "editor/tool.h"
#include "editor/tool_preview.h"

#include <QHash>
#include <QObject>
#include <QPoint>
#include <QRect>

#include <functional>

namespace velmor {

class BrushTool;
class CourseDocument;
class PickTool;

// The tools of one window and the one chosen: every view hands its pointer events here, the
// chosen tool (made from the registry) does the work, and the preview it keeps is drawn by every
// view. What holds for every tool is decided here: Alt with a left or right click picks the
// cell's text into that button's palette whatever the tool; a floating paste follows every move
// until a left click places it; a press belongs to its tool until its gesture ends, the held
// buttons of a gesture that was stopped do nothing more; the selection serves the Edit entries.
class ToolController : public QObject
{
    Q_OBJECT

public:
    using PaletteSource = std::function<Palettes()>;

    explicit ToolController(CourseDocument &document, QObject *parent = nullptr);
    ~ToolController() override;

    // Choosing a tool stops a gesture in progress (a brush stroke goes on until its buttons are
    // up), and drops the floating paste and the selection. Unknown keys are ignored.
    void setTool(const QString &key);
    QString tool() const { return mToolKey; }
    Tool *currentTool() const { return mTools.value(mToolKey); }
    Tool *toolNamed(const QString &key) const { return mTools.value(key); }
    // Read afresh for every preview and edit.
    void setPaletteSource(PaletteSource source) { mPalettes = std::move(source); }

    void press(const ToolEvent &event);
    void move(const ToolEvent &event);
    void release(const ToolEvent &event);
    // The same for a cell's centre, for callers that think in cells.
    void press(QPoint cell, int button, Qt::KeyboardModifiers modifiers);
    void move(QPoint cell, int buttons, Qt::KeyboardModifiers modifiers);
    void release(QPoint cell, int button, Qt::KeyboardModifiers modifiers);
    // Ends a gesture whose release never came (a dialog took the mouse): a brush stroke's step
    // closes, other gestures stop.
    void finishGesture();

    // The selection's cells; empty without a selection. The caller puts block.toText() on the
    // clipboard.
    CellBlock copy() const;
    CellBlock cut();
    void deleteSelection();
    // The Edit entries as text for the clipboard: the chosen tool's own selection (items) when it
    // has one, else the selected cells.
    QString copyText() const;
    QString cutText();
    // A paste of the chosen tool's own text (items); false when the text is not its own.
    bool pasteOwn(const QString &text, QPoint cell);
    // Starts a floating paste with its top-left cell at `cell`; an empty block starts nothing.
    void beginPaste(const CellBlock &block, QPoint cell);
    // Places the floating paste where it is (also what a left click does).
    EditResult placePaste();
    // Stops a gesture in progress, then drops the floating paste and the selection.
    void escape();
    EditResult replace(const QString &from, const QString &to);

    bool hasSelection() const
    {
        return currentTool()->hasOwnSelection() || !mPreview.selection().isEmpty();
    }
    QRect selection() const { return mPreview.selection(); }
    bool isPasting() const { return mPasting; }
    const ToolPreview &preview() const { return mPreview; }
    // The shared cell preview and the chosen tool's own, as every view draws them.
    void drawPreview(QPainter &painter, const LayerCanvas &canvas) const;

signals:
    // The cells to repaint: where the preview was and where it is now.
    void previewChanged(const QRect &cells);
    void selectionChanged(bool hasSelection);
    void picked(int button, const QString &text);
    void refused(const QString &message);
    void toolChanged(const QString &key);

private:
    // Who a press belongs to until its gesture ends: nobody, the tool that took it, or nobody
    // while its button is still held (a click already done, a stopped gesture).
    enum class Pointer { Free, Tool, Held };

    void stopGesture();
    void setSelection(const QRect &cells);
    void notify(const QRect &before);

    CourseDocument &mDocument;
    MapEdits mEdits;
    TilePainter mPainter;
    ToolPreview mPreview;
    PaletteSource mPalettes;
    ToolContext mContext;
    QHash<QString, Tool *> mTools;
    QString mToolKey;
    PickTool *mPicker = nullptr;

    Pointer mPointer = Pointer::Free;
    Tool *mGestureTool = nullptr;
    int mHeldButton = 0;
    bool mPasting = false;
};

} // namespace velmor
