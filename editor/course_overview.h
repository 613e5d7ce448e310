#pragma once

#include "graphics/course_art.h"

#include <QAbstractScrollArea>
#include <QPointer>

namespace velmor {

class CourseDocument;
class ToolController;
struct ToolEvent;

// The whole course as the game draws it, with every layer of the document over it, and a second
// place to edit it: every tool works here as in the map view, through the same controller, so an
// edit in either shows at once in the other. Zoom from half to eight times the game's size
// (8 pixels a tile), Ctrl+wheel zooming around the pointer; the wheel scrolls (Shift sideways) and
// the middle button drags the course around. The frame shows the part the map view shows; dragging
// the frame moves the map view.
class CourseOverview : public QAbstractScrollArea
{
    Q_OBJECT

public:
    static constexpr double MinZoom = 0.5;
    static constexpr double MaxZoom = 8.0;
    static constexpr double ZoomStep = 1.25;

    explicit CourseOverview(CourseDocument &document, QWidget *parent = nullptr);

    void setGraphics(std::shared_ptr<const graphics::ThemeGraphics> graphics);
    // The tools every press, move and release goes to; their preview is drawn here too.
    void setToolController(ToolController *tools);

    // The picture of the tiles at the game's size, 1024 x 1024.
    const QImage &courseImage() const { return mArt.image(); }
    QRect viewCells() const { return mViewCells; }
    // Widget pixels per course pixel: 1 is the game's own 8 pixels a tile.
    double zoom() const { return mZoom; }
    // The zoom that shows the whole course in the widget, within the zoom's bounds.
    double fitZoom() const;
    // Where a rectangle of cells is drawn, in the viewport's pixels.
    QRect viewportRectOf(const QRect &cells) const;
    // The course point (course pixels) under a point of the viewport.
    QPointF coursePixelAt(QPointF viewportPoint) const;
    QSize sizeHint() const override;

public slots:
    // The cells the map view shows (x column, y row): outlined, and kept in sight when zoomed in.
    void setViewCells(const QRect &cells);
    void setZoom(double zoom);
    // Zooms keeping this viewport point over the same course point.
    void zoomAround(double zoom, QPointF viewportPoint);
    void zoomIn() { setZoom(mZoom * ZoomStep); }
    void zoomOut() { setZoom(mZoom / ZoomStep); }
    void zoomToFit() { setZoom(fitZoom()); }

signals:
    // The top-left cell for the map view, kept on the map: the values for the scroll bars
    // HScroll1 and VScroll1, asked for by dragging the frame.
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
    enum class Drag { None, Pan, Frame, Tool };

    void renderAll();
    void updateCells(const QRect &cells, int reachPixels);
    // The course picture's top-left in the viewport: centred while it is smaller, scrolled when
    // larger.
    QPointF origin() const;
    void updateScrollBars();
    void keepInSight(const QRect &cells);
    QRegion frameRegion(const QRect &cells) const;
    bool onFrame(QPoint viewportPoint) const;
    ToolEvent toolEvent(QMouseEvent *event) const;

    CourseDocument &mDocument;
    graphics::CourseArt mArt;
    QPointer<ToolController> mTools;
    QRect mViewCells;
    double mZoom = MinZoom;
    int mZoomRemainder = 0; // wheel units short of a notch, for Ctrl+wheel zooming
    Drag mDrag = Drag::None;
    QPoint mDragStart;
    QPoint mDragScroll;
    QPoint mFrameStart;
};

} // namespace velmor
