#pragma once

#include "graphics/course_renderer.h"

#include <QAbstractScrollArea>
#include <QMetaObject>
#include <QPointer>

namespace velmor {
class CourseMap;
}

namespace velmor::graphics {

// The whole course as the game draws it, scaled to fit the widget or zoomed in (wheel, or the
// zoom slots), with a frame where the map view is. A click or a drag asks the map view to scroll
// there. Follows the map's edits by redrawing only the changed cells.
class CourseOverview : public QAbstractScrollArea
{
    Q_OBJECT

public:
    // Zoom 1 fits the whole course; each step enlarges by this much, up to MaxPixelsPerTile.
    static constexpr double ZoomStep = 1.25;
    static constexpr int MaxPixelsPerTile = 32;

    explicit CourseOverview(QWidget *parent = nullptr);
    ~CourseOverview() override;

    // The map to show and follow; nullptr shows an empty course. The map must outlive this widget
    // or be set to another one first.
    void setMap(const CourseMap *map);
    void setGraphics(std::shared_ptr<const ThemeGraphics> graphics);

    // The picture at the game's size, 1024 x 1024: what "Export Image…" saves.
    const QImage &courseImage() const { return mRenderer.image(); }
    QRect viewCells() const { return mViewCells; }
    double zoom() const { return mZoom; }
    // Widget pixels per course pixel.
    double scale() const;
    // Where a rectangle of cells is drawn, in the viewport's pixels.
    QRect viewportRectOf(const QRect &cells) const;
    QSize sizeHint() const override;

public slots:
    // The cells the map view shows (x column, y row): outlined, and kept in sight when zoomed in.
    void setViewCells(const QRect &cells);
    void setZoom(double zoom);
    void zoomIn() { setZoom(mZoom * ZoomStep); }
    void zoomOut() { setZoom(mZoom / ZoomStep); }
    void zoomToFit() { setZoom(1.0); }

signals:
    // The top-left cell for the map view that centres it on the cell pressed or dragged over,
    // kept on the map: the values for the scroll bars HScroll1 and VScroll1.
    void scrollRequested(int column, int row);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void wheelEvent(QWheelEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void renderAll();
    void cellsChanged(const QRect &cells);
    double fitScale() const;
    double maxZoom() const;
    // The course picture's top-left in the viewport: centred while it is smaller, scrolled when
    // larger.
    QPointF origin() const;
    void updateScrollBars();
    void keepInSight(const QRect &cells);
    void requestScrollTo(QPoint viewportPoint);
    QRegion frameRegion(const QRect &cells) const;

    CourseRenderer mRenderer;
    const CourseMap *mMap = nullptr;
    QMetaObject::Connection mChanges;
    QMetaObject::Connection mMapGone;
    QRect mViewCells;
    double mZoom = 1.0;
    bool mDragging = false;
    QPoint mLastRequest {-1, -1};
};

} // namespace velmor::graphics
