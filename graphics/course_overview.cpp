#include "graphics/course_overview.h"

#include "document/course_map.h"
#include "document/map_geometry.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <cmath>

namespace velmor::graphics {

namespace {

constexpr int WheelNotch = 120;
constexpr int FrameWidth = 2;
// Smoothing when the picture is scaled down reaches into the neighbouring pixels.
constexpr int SmoothingReach = 2;
const QColor Background(48, 48, 48);

} // namespace

CourseOverview::CourseOverview(QWidget *parent)
    : QAbstractScrollArea(parent)
    , mViewCells(0, 0, VisibleColumns, VisibleRows)
{
    setObjectName(QStringLiteral("CourseOverview"));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setCursor(Qt::PointingHandCursor);
    setMinimumSize(64, 64);
    renderAll();
}

CourseOverview::~CourseOverview()
{
    disconnect(mChanges);
    disconnect(mMapGone);
}

QSize CourseOverview::sizeHint() const
{
    return QSize(256, 256);
}

void CourseOverview::setMap(const CourseMap *map)
{
    disconnect(mChanges);
    disconnect(mMapGone);
    mMap = map;
    if (mMap) {
        mChanges = connect(mMap, &CourseMap::cellsChanged, this, &CourseOverview::cellsChanged);
        mMapGone = connect(mMap, &QObject::destroyed, this, [this] { setMap(nullptr); });
    }
    renderAll();
}

void CourseOverview::setGraphics(std::shared_ptr<const ThemeGraphics> graphics)
{
    mRenderer.setGraphics(std::move(graphics));
    renderAll();
}

void CourseOverview::renderAll()
{
    mRenderer.render(mMap ? mMap->texts() : QStringList());
    viewport()->update();
}

void CourseOverview::cellsChanged(const QRect &cells)
{
    mRenderer.update(mMap->texts(), cells);
    viewport()->update(viewportRectOf(cells).adjusted(
        -SmoothingReach, -SmoothingReach, SmoothingReach, SmoothingReach));
}

double CourseOverview::fitScale() const
{
    const QSize area = viewport()->size();
    return qMax(1, qMin(area.width(), area.height())) / double(CoursePixels);
}

double CourseOverview::maxZoom() const
{
    return qMax(1.0, MaxPixelsPerTile / (TileSide * fitScale()));
}

double CourseOverview::scale() const
{
    return fitScale() * mZoom;
}

QPointF CourseOverview::origin() const
{
    const double side = CoursePixels * scale();
    const QSize area = viewport()->size();
    const double x =
        side < area.width() ? (area.width() - side) / 2 : -horizontalScrollBar()->value();
    const double y =
        side < area.height() ? (area.height() - side) / 2 : -verticalScrollBar()->value();
    return QPointF(x, y);
}

QRect CourseOverview::viewportRectOf(const QRect &cells) const
{
    const double pixels = TileSide * scale();
    const QPointF topLeft = origin() + QPointF(cells.x(), cells.y()) * pixels;
    return QRectF(topLeft, QSizeF(cells.width(), cells.height()) * pixels).toAlignedRect();
}

QRegion CourseOverview::frameRegion(const QRect &cells) const
{
    const QRect outer =
        viewportRectOf(cells).adjusted(-FrameWidth, -FrameWidth, FrameWidth, FrameWidth);
    const QRect inner =
        outer.adjusted(2 * FrameWidth, 2 * FrameWidth, -2 * FrameWidth, -2 * FrameWidth);
    return QRegion(outer).subtracted(QRegion(inner));
}

void CourseOverview::updateScrollBars()
{
    const int side = int(std::ceil(CoursePixels * scale()));
    const QSize area = viewport()->size();
    horizontalScrollBar()->setRange(0, qMax(0, side - area.width()));
    verticalScrollBar()->setRange(0, qMax(0, side - area.height()));
    horizontalScrollBar()->setPageStep(area.width());
    verticalScrollBar()->setPageStep(area.height());
    horizontalScrollBar()->setSingleStep(TileSide);
    verticalScrollBar()->setSingleStep(TileSide);
}

void CourseOverview::setZoom(double zoom)
{
    const double bounded = qBound(1.0, zoom, maxZoom());
    if (qFuzzyCompare(bounded, mZoom))
        return;
    mZoom = bounded;
    // The map view's frame stays in sight, so zooming does not lose the place.
    updateScrollBars();
    keepInSight(mViewCells);
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
    keepInSight(mViewCells);
    viewport()->update(frameRegion(mViewCells));
}

void CourseOverview::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    painter.fillRect(event->rect(), Background);
    const QRectF target(origin(), QSizeF(CoursePixels, CoursePixels) * scale());
    // Smoothing only when the picture is made smaller; enlarged, each tile keeps sharp pixels.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, scale() < 1.0);
    painter.drawImage(target, mRenderer.image());
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
    mZoom = qBound(1.0, mZoom, maxZoom());
    updateScrollBars();
}

void CourseOverview::scrollContentsBy(int, int)
{
    viewport()->update();
}

void CourseOverview::wheelEvent(QWheelEvent *event)
{
    const int notches = event->angleDelta().y() / WheelNotch;
    if (notches == 0) {
        event->ignore();
        return;
    }
    // The course point under the pointer stays under it.
    const QPointF at = event->position();
    const QPointF coursePoint = (at - origin()) / scale();
    setZoom(mZoom * std::pow(ZoomStep, notches));
    const QPointF drift = origin() + coursePoint * scale() - at;
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() + qRound(drift.x()));
    verticalScrollBar()->setValue(verticalScrollBar()->value() + qRound(drift.y()));
    event->accept();
}

void CourseOverview::requestScrollTo(QPoint viewportPoint)
{
    const QPointF coursePoint = (QPointF(viewportPoint) - origin()) / scale();
    const int column = int(std::floor(coursePoint.x() / TileSide));
    const int row = int(std::floor(coursePoint.y() / TileSide));
    const QPoint topLeft(
        qBound(0, column - mViewCells.width() / 2, CourseTiles - mViewCells.width()),
        qBound(0, row - mViewCells.height() / 2, CourseTiles - mViewCells.height()));
    if (topLeft == mLastRequest)
        return;
    mLastRequest = topLeft;
    emit scrollRequested(topLeft.x(), topLeft.y());
}

void CourseOverview::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    mDragging = true;
    mLastRequest = QPoint(-1, -1);
    requestScrollTo(event->position().toPoint());
    event->accept();
}

void CourseOverview::mouseMoveEvent(QMouseEvent *event)
{
    if (mDragging && (event->buttons() & Qt::LeftButton))
        requestScrollTo(event->position().toPoint());
    event->accept();
}

void CourseOverview::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        mDragging = false;
    event->accept();
}

} // namespace velmor::graphics
