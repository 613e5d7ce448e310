#include "editor/map_view.h"

#include "document/course_document.h"
#include "document/layer.h"
#include "document/layer_canvas.h"
#include "document/map_geometry.h"
#include "editor/tool_controller.h"
#include "editor/view_input.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

namespace velmor {

namespace {

constexpr int PitchPx = CellPitchTwips / TwipsPerPixel; // 16
constexpr int CellPx = CellSizeTwips / TwipsPerPixel;   // 17
constexpr double PixelsPerCoursePixel = double(PitchPx) / CoursePixelsPerTile;
constexpr double CellFontPoints = 6.0;
constexpr int WheelNotch = 120;

} // namespace

MapView::MapView(CourseDocument &document, QWidget *parent)
    : QWidget(parent)
    , mDocument(document)
{
    setObjectName(QStringLiteral("Frame2"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    QFont cellFont(QStringLiteral("MS Serif"));
    cellFont.setStyleHint(QFont::Serif);
    // At this size hinting squeezes a vector serif face's "0" down to the height of an "o", so the
    // cells would read "o1"; unhinted glyphs keep the digits full height.
    cellFont.setHintingPreference(QFont::PreferNoHinting);
    cellFont.setPointSizeF(CellFontPoints);
    setFont(cellFont);
    // Each layer straight to the view, not through the document's signal: a paint move's repaint
    // request is the hot path, and one hop less keeps it as quick as before there were layers.
    const auto watch = [this](Layer *layer) {
        // What a layer draws over the cells may reach a little past them.
        const int reach = layer == mDocument.layers().constFirst() ? 0 : PitchPx;
        connect(layer, &Layer::changed, this, [this, reach](const QRect &cells) {
            update(cellsPixelRect(cells).adjusted(-reach, -reach, reach, reach));
        });
    };
    for (Layer *layer : mDocument.layers())
        watch(layer);
    connect(&mDocument, &CourseDocument::layerAdded, this, watch);
}

void MapView::setToolController(ToolController *tools)
{
    mTools = tools;
    // The outlines lie on the cells' borders; a pixel around covers them.
    connect(tools, &ToolController::previewChanged, this,
            [this](const QRect &cells) { update(cellsPixelRect(cells).adjusted(-1, -1, 1, 1)); });
}

QPointF MapView::coursePixelAt(QPointF pixel)
{
    return pixel / PixelsPerCoursePixel;
}

QPoint MapView::cellAt(QPointF pixel)
{
    return velmor::cellAt(coursePixelAt(pixel));
}

void MapView::setScrollBars(QScrollBar *horizontal, QScrollBar *vertical)
{
    mHorizontal = horizontal;
    mVertical = vertical;
}

QRect MapView::cellPixelRect(int index)
{
    return QRect(cellColumn(index) * PitchPx, cellRow(index) * PitchPx, CellPx, CellPx);
}

QRect MapView::cellsPixelRect(const QRect &cells)
{
    return QRect(cells.x() * PitchPx, cells.y() * PitchPx, cells.width() * PitchPx + 1,
                 cells.height() * PitchPx + 1);
}

bool MapView::isVisibleAt(QPoint pixel) const
{
    const QWidget *viewport = parentWidget();
    if (viewport && !viewport->rect().contains(mapToParent(pixel)))
        return false;
    const QPoint global = mapToGlobal(pixel);
    for (const QPointer<QWidget> &obstruction : mObstructions) {
        if (obstruction && obstruction->isVisible()
            && obstruction->rect().contains(obstruction->mapFromGlobal(global)))
            return false;
    }
    return true;
}

void MapView::setViewMode(ViewMode mode)
{
    if (mode == mMode)
        return;
    mMode = mode;
    update();
}

void MapView::setTileImages(const QList<QImage> &tiles, const QImage &placeholder)
{
    mTileArt.setTileImages(tiles, placeholder);
    if (mMode == ViewMode::Tiles)
        update();
}

void MapView::setGridVisible(bool visible)
{
    if (visible == mTileArt.isGridVisible())
        return;
    mTileArt.setGridVisible(visible);
    if (mMode == ViewMode::Tiles)
        update();
}

const TileArt *MapView::tileArt() const
{
    if (mMode == ViewMode::Tiles)
        return &mTileArt;
    return &mNumbersArt;
}

void MapView::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    const LayerCanvas canvas(PixelsPerCoursePixel, QPointF(0, 0), event->rect(), tileArt());
    for (const Layer *layer : mDocument.layers()) {
        if (layer->isVisible())
            layer->draw(painter, canvas);
    }
    if (mTools)
        mTools->drawPreview(painter, canvas);
}

void MapView::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::FontChange
        || event->type() == QEvent::StyleChange)
        mNumbersArt.clearFaces();
    QWidget::changeEvent(event);
}

ToolEvent MapView::toolEvent(QMouseEvent *event) const
{
    ToolEvent tool = toolEventOf(*event, coursePixelAt(event->position()));
    // Under the splash or outside the viewport nothing is drawn, by the tools or by the brush.
    tool.visible = isVisibleAt(event->pos());
    return tool;
}

void MapView::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    const ToolEvent tool = toolEvent(event);
    if (tool.button != 0 && mTools)
        mTools->press(tool);
}

void MapView::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    if (mTools)
        mTools->move(toolEvent(event));
}

void MapView::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    const ToolEvent tool = toolEvent(event);
    if (tool.button != 0 && mTools)
        mTools->release(tool);
}

void MapView::wheelEvent(QWheelEvent *event)
{
    QPoint delta = event->angleDelta();
    const bool horizontal = (event->modifiers() & Qt::ShiftModifier) || delta.y() == 0;
    QScrollBar *bar = horizontal ? mHorizontal.data() : mVertical.data();
    if (!bar) {
        event->ignore();
        return;
    }
    // Some systems turn Shift+wheel into a horizontal delta themselves; take whichever axis moved.
    const int amount = delta.y() != 0 ? delta.y() : delta.x();
    int &remainder = horizontal ? mWheelRemainder.rx() : mWheelRemainder.ry();
    remainder += amount;
    const int notches = remainder / WheelNotch;
    remainder -= notches * WheelNotch;
    if (notches != 0)
        bar->setValue(bar->value() - notches * bar->singleStep() * QApplication::wheelScrollLines());
    event->accept();
}

} // namespace velmor
