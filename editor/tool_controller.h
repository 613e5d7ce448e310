#pragma once

#include "editor/cell_block.h"
#include "editor/edit_result.h"
#include "editor/map_edits.h"
#include "editor/painting.h"
#include "editor/tool_preview.h"

#include <QObject>
#include <QPoint>
#include <QRect>

#include <functional>

namespace velmor {

class CourseMap;
class MapHistory;

// The tool that a press on the map uses; one at a time. The brush is the painting of TilePainter,
// which the controller leaves to the map view.
enum class Tool {
    Brush,
    Line,
    Rectangle,
    Fill,
    Pick,
    Select,
};

// Turns the map view's pointer events and the window's key actions into the drawing tools' edits,
// and keeps the preview the view draws meanwhile. Cells are (column, row) as the view finds them
// under the pointer, possibly off the map while a drag goes past the edge; buttons are ButtonBit
// values. Left and right draw with their palettes, the middle button with the erase tile.
// Alt with a left or right click picks the cell's text into that button's palette, whatever the
// tool. A floating paste follows every move until a left click places it.
class ToolController : public QObject
{
    Q_OBJECT

public:
    using PaletteSource = std::function<Palettes()>;

    ToolController(CourseMap &map, MapHistory &history, QObject *parent = nullptr);

    // Changing the tool drops a drag in progress, the floating paste and the selection.
    void setTool(Tool tool);
    Tool tool() const { return mTool; }
    // Read afresh for every preview and edit, as the brush reads them.
    void setPaletteSource(PaletteSource source) { mPalettes = std::move(source); }

    // Each returns whether the controller took the event: false only for the brush's own strokes
    // (Tool::Brush, no Alt, no floating paste), which the view then paints as before. From a press
    // the controller takes until the release of that button, it takes every event.
    bool press(QPoint cell, int button, Qt::KeyboardModifiers modifiers);
    bool move(QPoint cell, int buttons, Qt::KeyboardModifiers modifiers);
    bool release(QPoint cell, int button, Qt::KeyboardModifiers modifiers);

    // The selection's cells; empty without a selection. The caller puts block.toText() on the
    // clipboard.
    CellBlock copy() const;
    CellBlock cut();
    void deleteSelection();
    // Starts a floating paste with its top-left cell at `cell`; an empty block starts nothing.
    void beginPaste(const CellBlock &block, QPoint cell);
    // Places the floating paste where it is (also what a left click does).
    EditResult placePaste();
    // Drops a drag in progress, then the floating paste and the selection.
    void escape();
    EditResult replace(const QString &from, const QString &to);

    bool hasSelection() const { return !mPreview.selection().isEmpty(); }
    QRect selection() const { return mPreview.selection(); }
    bool isPasting() const { return mPasting; }
    const ToolPreview &preview() const { return mPreview; }

signals:
    // The cells to repaint: where the preview was and where it is now.
    void previewChanged(const QRect &cells);
    void selectionChanged(bool hasSelection);
    // The palette of `button` (LeftButton or RightButton) is to show text.
    void picked(int button, const QString &text);
    // An edit was refused; the message is for the user, the map is unchanged.
    void refused(const QString &message);

private:
    enum class Drag { None, Shape, Selecting, Moving, Held };

    bool ownsPointer() const;
    void dropDrag();
    std::optional<Cell> inkFor(int button) const;
    void updateShape(QPoint cell, Qt::KeyboardModifiers modifiers);
    void updateMove(QPoint cell);
    void finishDrag(QPoint cell, Qt::KeyboardModifiers modifiers);
    void setSelection(const QRect &cells);
    void report(const EditResult &result);
    // Call before changing the preview, then notify() with what it returned.
    QRect before() const { return mPreview.bounds(); }
    void notify(const QRect &before);

    MapEdits mEdits;
    PaletteSource mPalettes;
    Tool mTool = Tool::Brush;
    ToolPreview mPreview;

    Drag mDrag = Drag::None;
    int mDragButton = 0;
    QPoint mAnchor;
    QPoint mLast;
    bool mLastFilled = false;
    bool mPasting = false;
    CellBlock mMoving;
};

} // namespace velmor
