#include "editor/course_overview.h"

#include "document/course_document.h"
#include "document/layer.h"
#include "document/layer_canvas.h"
#include "editor/tool_controller.h"
#include "editor/view_input.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <cmath>

namespace velmor {

namespace {

constexpr int WheelNotch = 120;
constexpr int FrameWidth = 2;
// How near the frame a press grabs it rather than drawing.
constexpr int FrameGrab = 3;
// Smoothing when the picture is scaled down reaches into the neighbouring pixels.
constexpr int SmoothingReach = 2;
const QColor Background(48, 48, 48);

} // namespace

CourseOverview::CourseOverview(CourseDocument &document, QWidget *parent)
    : QAbstractScrollArea(parent)
    , mDocument(document)
    , mViewCells(0, 0, VisibleColumns, VisibleRows)
{
    setObjectName(QStringLiteral("CourseOverview"));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setMouseTracking(true);
    setMinimumSize(64, 64);
    connect(&mDocument.map(), &CourseMap::cellsChanged, this, [this](const QRect &cells) {
        mArt.update(mDocument.map().texts(), cells);
    });
    connect(&mDocument, &CourseDocument::layerChanged, this,
        [this](Layer *layer, const QRect &cells) {
            // What a layer draws over the cells may reach a little past them.
            const bool tiles = layer == mDocument.layers().constFirst();
            updateCells(cells, tiles ? 0 : int(std::ceil(CoursePixelsPerTile * mZoom)));
        });
    renderAll();
}

QSize CourseOverview::sizeHint() const
{
    return QSize(CoursePixelSide / 2 + 20, CoursePixelSide / 2 + 20);
}

void CourseOverview::setToolController(ToolController *tools)
{
    mTools = tools;
    connect(tools, &ToolController::previewChanged, this,
        [this](const QRect &cells) { updateCells(cells, FrameWidth); });
}

void CourseOverview::setGraphics(std::shared_ptr<const graphics::ThemeGraphics> graphics)
{
    mArt.setGraphics(std::move(graphics));
    renderAll();
}

void CourseOverview::renderAll()
{
    mArt.render(mDocument.map().texts());
    viewport()->update();
}

void CourseOverview::updateCells(const QRect &cells, int reachPixels)
{
    const int reach = reachPixels + SmoothingReach;
    viewport()->update(viewportRectOf(cells).adjusted(-reach, -reach, reach, reach));
}

double CourseOverview::fitZoom() const
{
    const QSize area = maximumViewportSize();
    const double fit = qMax(1, qMin(area.width(), area.height())) / double(CoursePixelSide);
    return qBound(MinZoom, fit, MaxZoom);
}

QPointF CourseOverview::origin() const
{
    const double side = CoursePixelSide * mZoom;
    const QSize area = viewport()->size();
    const double x =
        side < area.width() ? (area.width() - side) / 2 : -horizontalScrollBar()->value();
    const double y =
        side < area.height() ? (area.height() - side) / 2 : -verticalScrollBar()->value();
    return QPointF(x, y);
}

QPointF CourseOverview::coursePixelAt(QPointF viewportPoint) const
{
    return (viewportPoint - origin()) / mZoom;
}

QRect CourseOverview::viewportRectOf(const QRect &cells) const
{
    const LayerCanvas canvas(mZoom, origin(), QRectF(), nullptr);
    return canvas.cellsToView(cells).toAlignedRect();
}

QRegion CourseOverview::frameRegion(const QRect &cells) const
{
    const QRect outer =
        viewportRectOf(cells).adjusted(-FrameWidth, -FrameWidth, FrameWidth, FrameWidth);
    const QRect inner =
        outer.adjusted(2 * FrameWidth, 2 * FrameWidth, -2 * FrameWidth, -2 * FrameWidth);
    return QRegion(outer).subtracted(QRegion(inner));
}

bool CourseOverview::onFrame(QPoint viewportPoint) const
{
    const QRect frame = viewportRectOf(mViewCells);
    const QRect outer = frame.adjusted(-FrameGrab, -FrameGrab, FrameGrab, FrameGrab);
    const QRect inner = frame.adjusted(FrameGrab, FrameGrab, -FrameGrab, -FrameGrab);
    return outer.contains(viewportPoint) && !inner.contains(viewportPoint);
}

void CourseOverview::updateScrollBars()
{
    const int side = int(std::ceil(CoursePixelSide * mZoom));
    const QSize area = viewport()->size();
    horizontalScrollBar()->setRange(0, qMax(0, side - area.width()));
    verticalScrollBar()->setRange(0, qMax(0, side - area.height()));
    horizontalScrollBar()->setPageStep(area.width());
    verticalScrollBar()->setPageStep(area.height());
    const int tile = qMax(1, int(CoursePixelsPerTile * mZoom));
    horizontalScrollBar()->setSingleStep(tile);
    verticalScrollBar()->setSingleStep(tile);
}

void CourseOverview::setZoom(double zoom)
{
    const double bounded = qBound(MinZoom, zoom, MaxZoom);
    if (qFuzzyCompare(bounded, mZoom))
        return;
    mZoom = bounded;
    // The map view's frame stays in sight, so zooming does not lose the place.
    updateScrollBars();
    keepInSight(mViewCells);
    viewport()->update();
}

void CourseOverview::zoomAround(double zoom, QPointF viewportPoint)
{
    const QPointF coursePoint = coursePixelAt(viewportPoint);
    const double bounded = qBound(MinZoom, zoom, MaxZoom);
    if (qFuzzyCompare(bounded, mZoom))
        return;
    mZoom = bounded;
    updateScrollBars();
    const QPointF drift = origin() + coursePoint * mZoom - viewportPoint;
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() + qRound(drift.x()));
    verticalScrollBar()->setValue(verticalScrollBar()->value() + qRound(drift.y()));
    viewport()->update();
}

void CourseOverview::keepInSight(const QRect &cells)
{
    const QRect shown = viewportRectOf(cells);
    const QPoint centre = shown.center() - viewport()->rect().center();
    if (!viewport()->rect().contains(shown)) {
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() + centre.x());
        verticalScrollBar()->setValue(verticalScrollBar()->value() + centre.y());
    }
}

void CourseOverview::setViewCells(const QRect &cells)
{
    if (cells == mViewCells)
        return;
    viewport()->update(frameRegion(mViewCells));
    mViewCells = cells;
    if (mDrag != Drag::Frame)
        keepInSight(mViewCells);
    viewport()->update(frameRegion(mViewCells));
}

void CourseOverview::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    painter.fillRect(event->rect(), Background);
    const LayerCanvas canvas(mZoom, origin(), event->rect(), &mArt);
    for (const Layer *layer : mDocument.layers()) {
        if (layer->isVisible())
            layer->draw(painter, canvas);
    }
    if (mTools)
        mTools->drawPreview(painter, canvas);
    const QRect frame = viewportRectOf(mViewCells);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(frame.adjusted(-FrameWidth, -FrameWidth, FrameWidth - 1, FrameWidth - 1));
    painter.setPen(QPen(Qt::white, 1));
    painter.drawRect(frame.adjusted(-1, -1, 0, 0));
}

void CourseOverview::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void CourseOverview::scrollContentsBy(int, int)
{
    viewport()->update();
}

void CourseOverview::wheelEvent(QWheelEvent *event)
{
    const QPoint delta = event->angleDelta();
    if (event->modifiers() & Qt::ControlModifier) {
        // A touchpad sends small steps: they add up to a notch instead of being lost.
        mZoomRemainder += delta.y();
        const int notches = mZoomRemainder / WheelNotch;
        mZoomRemainder -= notches * WheelNotch;
        if (notches != 0)
            zoomAround(mZoom * std::pow(ZoomStep, notches), event->position());
        event->accept();
        return;
    }
    // Scrolling the course: the scroll area's own wheel handling, Shift turning it sideways.
    QAbstractScrollArea::wheelEvent(event);
}

ToolEvent CourseOverview::toolEvent(QMouseEvent *event) const
{
    ToolEvent tool = toolEventOf(*event, coursePixelAt(event->position()));
    tool.visible = viewport()->rect().contains(event->position().toPoint());
    return tool;
}

void CourseOverview::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    if (mDrag == Drag::Tool) {
        if (mTools)
            mTools->press(toolEvent(event));
        return;
    }
    if (mDrag != Drag::None)
        return;
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::MiddleButton) {
        mDrag = Drag::Pan;
        mDragStart = at;
        mDragScroll = QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
        viewport()->setCursor(Qt::ClosedHandCursor);
        return;
    }
    if (event->button() == Qt::LeftButton && onFrame(at)) {
        mDrag = Drag::Frame;
        mDragStart = at;
        mFrameStart = mViewCells.topLeft();
        return;
    }
    const ToolEvent tool = toolEvent(event);
    if (tool.button != 0 && mTools) {
        mDrag = Drag::Tool;
        mTools->press(tool);
    }
}

void CourseOverview::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    const QPoint at = event->position().toPoint();
    switch (mDrag) {
    case Drag::Pan: {
        const QPoint moved = at - mDragStart;
        horizontalScrollBar()->setValue(mDragScroll.x() - moved.x());
        verticalScrollBar()->setValue(mDragScroll.y() - moved.y());
        return;
    }
    case Drag::Frame: {
        const QPointF moved = QPointF(at - mDragStart) / (CoursePixelsPerTile * mZoom);
        const QPoint topLeft(
            qBound(0, mFrameStart.x() + qRound(moved.x()), MapSide - mViewCells.width()),
            qBound(0, mFrameStart.y() + qRound(moved.y()), MapSide - mViewCells.height()));
        if (topLeft != mViewCells.topLeft())
            emit scrollRequested(topLeft.x(), topLeft.y());
        return;
    }
    case Drag::None:
        viewport()->setCursor(onFrame(at) ? Qt::SizeAllCursor : Qt::CrossCursor);
        break;
    case Drag::Tool:
        break;
    }
    if (mTools)
        mTools->move(toolEvent(event));
}

void CourseOverview::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    switch (mDrag) {
    case Drag::Pan:
        if (event->button() == Qt::MiddleButton) {
            mDrag = Drag::None;
            viewport()->setCursor(Qt::CrossCursor);
        }
        return;
    case Drag::Frame:
        if (event->button() == Qt::LeftButton)
            mDrag = Drag::None;
        return;
    case Drag::Tool:
        if (mTools)
            mTools->release(toolEvent(event));
        if (event->buttons() == Qt::NoButton)
            mDrag = Drag::None;
        return;
    case Drag::None:
        return;
    }
}


} // namespace velmor
