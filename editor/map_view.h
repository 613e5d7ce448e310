#pragma once

#include "editor/map_numbers_art.h"
#include "editor/map_tile_layer.h"

#include <QList>
#include <QPointer>
#include <QWidget>

class QScrollBar;

namespace velmor {

class CourseDocument;
class LayerCanvas;
class ToolController;
struct ToolEvent;

// The map container `Frame2`: one widget that draws the document's layers over all 16384 cells,
// the tiles first, at the described map's 16-pixel pitch, and hands mouse input on them to the
// tools. It lives inside the clipping viewport `Frame1` and is moved by scrolling; it paints only
// the exposed region and repaints only what the layers report as changed.
//
// Colours come from the platform palette: untouched cells use QPalette::Button (the button face);
// erased cells use QPalette::Midlight, the role nearest to the desktop's scroll-bar colour (a light
// grey just darker than the button face); painted cells are white.
//
// Two ways to show the cells: their tile numbers (the default), or the tiles themselves as the
// game draws them, from pictures handed in (see MapTileLayer). Input is the same in both.
class MapView : public QWidget
{
    Q_OBJECT

public:
    enum class ViewMode { Numbers, Tiles };
    Q_ENUM(ViewMode)

    explicit MapView(CourseDocument &document, QWidget *parent = nullptr);

    CourseDocument &document() const { return mDocument; }

    void setViewMode(ViewMode mode);
    ViewMode viewMode() const { return mMode; }
    // For the Tiles mode: pictures of tiles 0x00-0xFF and the placeholder for a cell that names
    // no tile (see MapTileLayer::setTileImages).
    void setTileImages(const QList<QImage> &tiles, const QImage &placeholder);
    // The Tiles mode's grid; the numbers mode always shows its cell borders.
    void setGridVisible(bool visible);
    bool isGridVisible() const { return mTileArt.isGridVisible(); }

    // While a widget added here is shown, pointer positions under it do not reach the map.
    void addObstruction(QWidget *widget) { mObstructions.append(widget); }
    // The wheel scrolls through these: vertically, or horizontally with Shift held.
    void setScrollBars(QScrollBar *horizontal, QScrollBar *vertical);
    // The tools, which get every press, move and release; their preview is drawn over the map.
    void setToolController(ToolController *tools);

    // A position in this widget's pixels on the course: two pixels to a course pixel.
    static QPointF coursePixelAt(QPointF pixel);
    // The cell (column, row) under a position in this widget's pixels; it may lie off the map.
    static QPoint cellAt(QPointF pixel);

    // A cell's rectangle in this widget's pixels: 17 pixels square at a 16-pixel pitch.
    static QRect cellPixelRect(int index);
    // The pixel rectangle that covers a rectangle of cells (x column, y row).
    static QRect cellsPixelRect(const QRect &cells);
    // Whether a position in this widget's pixels can be seen by the user: inside the viewport and
    // not under an obstruction.
    bool isVisibleAt(QPoint pixel) const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    ToolEvent toolEvent(QMouseEvent *event) const;
    const TileArt *tileArt() const;

    CourseDocument &mDocument;
    QList<QPointer<QWidget>> mObstructions;
    QPointer<QScrollBar> mHorizontal;
    QPointer<QScrollBar> mVertical;
    QPoint mWheelRemainder;
    ViewMode mMode = ViewMode::Numbers;
    MapNumbersArt mNumbersArt{this};
    MapTileLayer mTileArt{this};
    QPointer<ToolController> mTools;
};

} // namespace velmor
