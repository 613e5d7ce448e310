#include "editor/tool_controller.h"

#include "document/course_document.h"
#include "document/layer_canvas.h"
#include "document/tile_art.h"
#include "editor/click_tools.h"
#include "editor/map_shapes.h"
#include "editor/tool_registry.h"

#include <QPainter>
#include <QPen>

namespace velmor {

namespace {

const QRect MapCells(0, 0, MapSide, MapSide);

bool isPaletteButton(int button)
{
    return button == LeftButton || button == RightButton;
}

ToolEvent cellEvent(QPoint cell, int button, int buttons, Qt::KeyboardModifiers modifiers)
{
    ToolEvent event = ToolEvent::at(
        (QPointF(cell) + QPointF(0.5, 0.5)) * CoursePixelsPerTile);
    event.cell = cell;
    event.button = button;
    event.buttons = buttons;
    event.modifiers = modifiers;
    return event;
}

} // namespace

ToolController::ToolController(CourseDocument &document, QObject *parent)
    : QObject(parent)
    , mDocument(document)
    , mEdits(document.map(), document.history())
    , mPainter(document.map())
    , mContext {document, mEdits, mPainter, mPreview, [this] {
                    return mPalettes ? mPalettes() : Palettes();
                }}
{
    for (const ToolInfo &info : toolRegistry()) {
        Tool *tool = info.make(mContext, this);
        mTools.insert(info.key, tool);
        connect(tool, &Tool::previewChanged, this, &ToolController::previewChanged);
        connect(tool, &Tool::refused, this, &ToolController::refused);
        connect(tool, &Tool::picked, this, &ToolController::picked);
        connect(tool, &Tool::selectionChanged, this, &ToolController::selectionChanged);
        if (auto *picker = qobject_cast<PickTool *>(tool))
            mPicker = picker;
    }
    mToolKey = toolRegistry().constFirst().key;
}

ToolController::~ToolController()
{
    // A stroke still open would leave the history recording into a map that is going.
    finishGesture();
}

void ToolController::setTool(const QString &key)
{
    if (!mTools.contains(key))
        return;
    escape();
    mToolKey = key;
    // The race tools draw their handles only while chosen.
    emit previewChanged(MapCells);
    emit toolChanged(key);
}

void ToolController::press(const ToolEvent &event)
{
    if (mPointer == Pointer::Tool) {
        // A second button during a gesture changes nothing, but the brush paints with it.
        if (mGestureTool->keepsGesture())
            mGestureTool->press(event);
        return;
    }
    if (mPointer == Pointer::Held)
        return;
    mPointer = Pointer::Held;
    mHeldButton = event.button;
    // What the user cannot see is not drawn on; only the brush's stroke may go on from there.
    Tool *tool = currentTool();
    if (!event.visible && !tool->keepsGesture())
        return;
    const bool altPick = (event.modifiers & Qt::AltModifier) && isPaletteButton(event.button);
    if (altPick && event.visible) {
        mPicker->pickAt(event);
        return;
    }
    if (mPasting) {
        if (event.button == LeftButton && event.visible) {
            move(event);
            placePaste();
        }
        return;
    }
    if (tool->press(event)) {
        mPointer = Pointer::Tool;
        mGestureTool = tool;
    }
}

void ToolController::move(const ToolEvent &event)
{
    if (mPasting && event.cell != mPreview.floatingPosition()) {
        const QRect was = mPreview.bounds();
        mPreview.setFloating(mPreview.floatingBlock(), event.cell);
        notify(was);
    }
    if (mPointer == Pointer::Tool)
        mGestureTool->move(event);
}

void ToolController::release(const ToolEvent &event)
{
    switch (mPointer) {
    case Pointer::Free:
        return;
    case Pointer::Held:
        if (event.buttons == 0 || event.button == mHeldButton)
            mPointer = Pointer::Free;
        return;
    case Pointer::Tool:
        if (mGestureTool->release(event)) {
            mPointer = Pointer::Free;
            mGestureTool = nullptr;
        }
        return;
    }
}

void ToolController::press(QPoint cell, int button, Qt::KeyboardModifiers modifiers)
{
    press(cellEvent(cell, button, button, modifiers));
}

void ToolController::move(QPoint cell, int buttons, Qt::KeyboardModifiers modifiers)
{
    move(cellEvent(cell, 0, buttons, modifiers));
}

void ToolController::release(QPoint cell, int button, Qt::KeyboardModifiers modifiers)
{
    release(cellEvent(cell, button, 0, modifiers));
}

void ToolController::finishGesture()
{
    if (mPointer == Pointer::Tool)
        mGestureTool->cancel();
    mPointer = Pointer::Free;
    mGestureTool = nullptr;
}

void ToolController::stopGesture()
{
    // A brush stroke keeps the pointer until its buttons are up, whatever is chosen meanwhile.
    if (mPointer != Pointer::Tool || mGestureTool->keepsGesture())
        return;
    mGestureTool->cancel();
    mGestureTool = nullptr;
    // The held button's later moves and release then do nothing.
    mPointer = Pointer::Held;
}

CellBlock ToolController::copy() const
{
    return selection().isEmpty() ? CellBlock() : mEdits.copy(selection());
}

CellBlock ToolController::cut()
{
    CellBlock copied;
    if (!selection().isEmpty()) {
        const EditResult result = mEdits.cut(selection(), copied);
        if (result.isRefused())
            emit refused(result.error);
    }
    return copied;
}

QString ToolController::copyText() const
{
    if (currentTool()->hasOwnSelection())
        return currentTool()->copyOwnSelection();
    return copy().toText();
}

QString ToolController::cutText()
{
    if (currentTool()->hasOwnSelection()) {
        const QString text = currentTool()->copyOwnSelection();
        currentTool()->deleteOwnSelection();
        return text;
    }
    return cut().toText();
}

bool ToolController::pasteOwn(const QString &text, QPoint cell)
{
    return currentTool()->pasteOwn(text, cell);
}

void ToolController::deleteSelection()
{
    if (currentTool()->hasOwnSelection()) {
        currentTool()->deleteOwnSelection();
        return;
    }
    if (selection().isEmpty())
        return;
    const EditResult result = mEdits.deleteCells(selection());
    if (result.isRefused())
        emit refused(result.error);
}

void ToolController::beginPaste(const CellBlock &block, QPoint cell)
{
    if (block.isEmpty())
        return;
    const QRect was = mPreview.bounds();
    stopGesture();
    mPasting = true;
    mPreview.setFloating(block, cell);
    notify(was);
}

EditResult ToolController::placePaste()
{
    if (!mPasting)
        return {};
    const QRect was = mPreview.bounds();
    const CellBlock block = mPreview.floatingBlock();
    const QPoint at = mPreview.floatingPosition();
    mPasting = false;
    mPreview.clearFloating();
    // The placed cells become the selection, ready to be moved on.
    setSelection(block.area(at) & MapCells);
    notify(was);
    const EditResult result = mEdits.paste(block, at);
    if (result.isRefused())
        emit refused(result.error);
    return result;
}

void ToolController::escape()
{
    const QRect was = mPreview.bounds();
    stopGesture();
    mPasting = false;
    mPreview.clearFloating();
    setSelection(QRect());
    currentTool()->dropOwnSelection();
    notify(was);
}

EditResult ToolController::replace(const QString &from, const QString &to)
{
    const EditResult result = mEdits.replace(from, to);
    if (result.isRefused())
        emit refused(result.error);
    return result;
}

void ToolController::setSelection(const QRect &cells)
{
    if (mPreview.setSelection(cells))
        emit selectionChanged(!cells.isEmpty());
}

void ToolController::notify(const QRect &before)
{
    const QRect cells = before | mPreview.bounds();
    if (!cells.isEmpty())
        emit previewChanged(cells);
}

void ToolController::drawPreview(QPainter &painter, const LayerCanvas &canvas) const
{
    const QRect cells = mPreview.bounds().intersected(MapCells).intersected(canvas.exposedCells());
    // What a line, a rectangle or a floating block would write, drawn as the view draws cells.
    if (const TileArt *art = canvas.tileArt(); art && !cells.isEmpty()) {
        for (int row = cells.top(); row <= cells.bottom(); ++row) {
            for (int column = cells.left(); column <= cells.right(); ++column) {
                const int index = cellIndex(row, column);
                if (const std::optional<Cell> shown = mPreview.at(index))
                    art->drawCell(painter, canvas, index, *shown);
            }
        }
    }
    // Outlines that show on any tile and any face: black dashes over a white line.
    const auto outline = [&painter, &canvas](const QRect &area) {
        if (area.isEmpty())
            return;
        // On the lines between cells, which the views draw at the cells' edges.
        const QRectF pixels = canvas.cellsToView(area);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(Qt::white, 1));
        painter.drawRect(pixels);
        painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
        painter.drawRect(pixels);
    };
    outline(mPreview.selection());
    if (mPreview.isFloating()) {
        const CellBlock &block = mPreview.floatingBlock();
        outline(QRect(mPreview.floatingPosition(), QSize(block.columns(), block.rows())));
    }
    currentTool()->drawPreview(painter, canvas);
}

} // namespace velmor
