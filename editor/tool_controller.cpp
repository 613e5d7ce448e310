#include "editor/tool_controller.h"

#include "editor/map_shapes.h"
#include "document/tile_text.h"

namespace velmor {

namespace {

const QRect MapCells(0, 0, MapSide, MapSide);

bool isPaletteButton(int button)
{
    return button == LeftButton || button == RightButton;
}

} // namespace

ToolController::ToolController(CourseMap &map, MapHistory &history, QObject *parent)
    : QObject(parent)
    , mEdits(map, history)
{ }

void ToolController::setTool(Tool tool)
{
    escape();
    mTool = tool;
}

bool ToolController::ownsPointer() const
{
    return mDrag != Drag::None || mPasting || mTool != Tool::Brush;
}

bool ToolController::press(QPoint cell, int button, Qt::KeyboardModifiers modifiers)
{
    // A second button during a drag changes nothing; the drag ends with its own button.
    if (mDrag != Drag::None)
        return true;
    const bool altPick = (modifiers & Qt::AltModifier) && isPaletteButton(button);
    if (!altPick && !ownsPointer())
        return false;
    mDrag = Drag::Held;
    mDragButton = button;

    if (altPick || mTool == Tool::Pick) {
        if (isPaletteButton(button)) {
            if (const std::optional<QString> text = mEdits.pick(cell))
                emit picked(button, *text);
        }
        return true;
    }
    if (mPasting) {
        if (button == LeftButton) {
            move(cell, 0, modifiers);
            placePaste();
        }
        return true;
    }
    switch (mTool) {
    case Tool::Line:
    case Tool::Rectangle:
        if (const std::optional<Cell> ink = inkFor(button)) {
            // Refused at once rather than after a drag that could only be refused at its end.
            if (!isTileNumber(ink->text)) {
                emit refused(MapEdits::refusalFor(ink->text));
                return true;
            }
            mDrag = Drag::Shape;
            mAnchor = cell;
            updateShape(cell, modifiers);
        }
        return true;
    case Tool::Fill:
        if (const std::optional<Cell> ink = inkFor(button))
            report(mEdits.fill(cell, ink->text, ink->mark));
        return true;
    case Tool::Select:
        if (button != LeftButton || !isOnMap(cell))
            return true;
        mAnchor = cell;
        mLast = cell;
        if (selection().contains(cell)) {
            mDrag = Drag::Moving;
            mMoving = mEdits.copy(selection());
            updateMove(cell);
        } else {
            mDrag = Drag::Selecting;
            const QRect was = before();
            setSelection(QRect(cell, cell));
            notify(was);
        }
        return true;
    case Tool::Brush:
    case Tool::Pick:
        break;
    }
    return true;
}

bool ToolController::move(QPoint cell, int buttons, Qt::KeyboardModifiers modifiers)
{
    Q_UNUSED(buttons); // a drag follows the button that started it, until its release
    if (mPasting && cell != mPreview.floatingPosition()) {
        const QRect was = before();
        mPreview.setFloating(mPreview.floatingBlock(), cell);
        notify(was);
    }
    const bool filled = modifiers & Qt::ShiftModifier;
    switch (mDrag) {
    case Drag::Shape:
        if (cell != mLast || filled != mLastFilled)
            updateShape(cell, modifiers);
        break;
    case Drag::Selecting:
        if (cell != mLast) {
            mLast = cell;
            const QRect was = before();
            setSelection(cellSpan(mAnchor, cell) & MapCells);
            notify(was);
        }
        break;
    case Drag::Moving:
        if (cell != mLast)
            updateMove(cell);
        break;
    case Drag::None:
    case Drag::Held:
        break;
    }
    return ownsPointer();
}

bool ToolController::release(QPoint cell, int button, Qt::KeyboardModifiers modifiers)
{
    if (mDrag == Drag::None)
        return ownsPointer();
    if (button != mDragButton)
        return true;
    const Drag drag = mDrag;
    mDrag = Drag::None;
    const QRect was = before();
    switch (drag) {
    case Drag::Shape: {
        mPreview.clearShape();
        notify(was);
        // The palette is read again: the edit writes what the palette holds now.
        const std::optional<Cell> ink = inkFor(button);
        if (mTool == Tool::Line)
            report(mEdits.line(mAnchor, cell, ink->text, ink->mark));
        else
            report(mEdits.rectangle(
                mAnchor, cell, modifiers & Qt::ShiftModifier, ink->text, ink->mark));
        break;
    }
    case Drag::Moving: {
        const QPoint offset = cell - mAnchor;
        const QRect source = selection();
        mPreview.clearFloating();
        mMoving = CellBlock();
        setSelection(source.translated(offset) & MapCells);
        notify(was);
        report(mEdits.move(source, offset));
        break;
    }
    case Drag::Selecting:
        // The release may come without a move onto its cell.
        setSelection(cellSpan(mAnchor, cell) & MapCells);
        notify(was);
        break;
    case Drag::Held:
    case Drag::None:
        break;
    }
    return true;
}

CellBlock ToolController::copy() const
{
    return hasSelection() ? mEdits.copy(selection()) : CellBlock();
}

CellBlock ToolController::cut()
{
    CellBlock copied;
    if (hasSelection())
        report(mEdits.cut(selection(), copied));
    return copied;
}

void ToolController::deleteSelection()
{
    if (hasSelection())
        report(mEdits.deleteCells(selection()));
}

void ToolController::beginPaste(const CellBlock &block, QPoint cell)
{
    if (block.isEmpty())
        return;
    const QRect was = before();
    dropDrag();
    mPasting = true;
    mPreview.setFloating(block, cell);
    notify(was);
}

EditResult ToolController::placePaste()
{
    if (!mPasting)
        return {};
    const QRect was = before();
    const CellBlock block = mPreview.floatingBlock();
    const QPoint at = mPreview.floatingPosition();
    mPasting = false;
    mPreview.clearFloating();
    // The placed cells become the selection, ready to be moved on.
    setSelection(block.area(at) & MapCells);
    notify(was);
    const EditResult result = mEdits.paste(block, at);
    report(result);
    return result;
}

void ToolController::escape()
{
    const QRect was = before();
    dropDrag();
    mPasting = false;
    mPreview.clearFloating();
    setSelection(QRect());
    notify(was);
}

EditResult ToolController::replace(const QString &from, const QString &to)
{
    const EditResult result = mEdits.replace(from, to);
    report(result);
    return result;
}

void ToolController::dropDrag()
{
    // The held button's later moves and release then do nothing.
    if (mDrag != Drag::None)
        mDrag = Drag::Held;
    mPreview.clearShape();
    if (!mPasting)
        mPreview.clearFloating();
    mMoving = CellBlock();
}

std::optional<Cell> ToolController::inkFor(int button) const
{
    const Palettes palettes = mPalettes ? mPalettes() : Palettes();
    switch (button) {
    case LeftButton:
        return Cell {palettes.left, Mark::Painted};
    case RightButton:
        return Cell {palettes.right, Mark::Painted};
    case MiddleButton:
        return Cell {CourseMap::freshText(), Mark::Erased};
    default:
        return std::nullopt;
    }
}

void ToolController::updateShape(QPoint cell, Qt::KeyboardModifiers modifiers)
{
    mLast = cell;
    mLastFilled = modifiers & Qt::ShiftModifier;
    const QRect was = before();
    const QList<int> cells =
        mTool == Tool::Line ? lineCells(mAnchor, cell) : rectangleCells(mAnchor, cell, mLastFilled);
    mPreview.setShape(cells, *inkFor(mDragButton));
    notify(was);
}

void ToolController::updateMove(QPoint cell)
{
    mLast = cell;
    const QRect was = before();
    mPreview.setFloating(mMoving, selection().topLeft() + (cell - mAnchor), selection());
    notify(was);
}

void ToolController::setSelection(const QRect &cells)
{
    if (cells == mPreview.selection())
        return;
    mPreview.setSelection(cells);
    emit selectionChanged(!cells.isEmpty());
}

void ToolController::report(const EditResult &result)
{
    if (result.isRefused())
        emit refused(result.error);
}

void ToolController::notify(const QRect &before)
{
    const QRect cells = before | mPreview.bounds();
    if (!cells.isEmpty())
        emit previewChanged(cells);
}

} // namespace velmor
