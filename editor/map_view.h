#pragma once

#include "document/course_map.h"
#include "editor/map_tile_layer.h"
#include "editor/painting.h"
#include "editor/stroke_tracker.h"

#include <QHash>
#include <QList>
#include <QPixmap>
#include <QPointer>
#include <QWidget>

#include <functional>

class QScrollBar;

namespace velmor {

class ToolController;

// The map container `Frame2`: one widget that draws all 16384 cells of the course map and turns
// mouse input on them into the painting rules. It lives inside the clipping viewport `Frame1` and is
// moved by scrolling; it paints only the cells of the exposed region and repaints only the cells
// that the model reports as changed.
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
    using PaletteSource = std::function<Palettes()>;
    enum class ViewMode { Numbers, Tiles };
    Q_ENUM(ViewMode)

    MapView(CourseMap &map, TilePainter &painter, QWidget *parent = nullptr);

    void setViewMode(ViewMode mode);
    ViewMode viewMode() const { return mMode; }
    // For the Tiles mode: pictures of tiles 0x00-0xFF and the placeholder for a cell that names
    // no tile (see MapTileLayer::setTileImages).
    void setTileImages(const QList<QImage> &tiles, const QImage &placeholder);
    // The Tiles mode's grid; the numbers mode always shows its cell borders.
    void setGridVisible(bool visible);
    bool isGridVisible() const { return mTileLayer.isGridVisible(); }

    // Read afresh at every paint operation.
    void setPaletteSource(PaletteSource source) { mPalettes = std::move(source); }
    // While a widget added here is shown, pointer positions under it do not reach the map.
    void addObstruction(QWidget *widget) { mObstructions.append(widget); }
    // The wheel scrolls through these: vertically, or horizontally with Shift held.
    void setScrollBars(QScrollBar *horizontal, QScrollBar *vertical);
    // The drawing tools: a press, move or release goes to them first, and what they do not take
    // is the brush's; their preview is drawn over the map.
    void setToolController(ToolController *tools);

    // The cell (column, row) under a position in this widget's pixels; it may lie off the map.
    static QPoint cellAt(QPointF pixel);

    // A cell's rectangle in this widget's pixels: 17 pixels square at a 16-pixel pitch.
    static QRect cellPixelRect(int index);
    // The pixel rectangle that covers a rectangle of cells (x column, y row).
    static QRect cellsPixelRect(const QRect &cells);
    // Whether a position in this widget's pixels can be seen by the user: inside the viewport and
    // not under an obstruction.
    bool isVisibleAt(QPoint pixel) const;

signals:
    // From the first press to the release of the last button held: all a stroke paints in between
    // is one edit.
    void strokeStarted();
    void strokeFinished();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    Palettes currentPalettes() const;
    // The inside of a cell (background and centred text) for one text and mark, drawn once and
    // then copied: a map shows few distinct tile numbers, and copying beats laying out text.
    const QPixmap &cellFace(const QString &text, Mark mark);
    void paintPreview(QPainter &painter, const QRect &exposed);

    CourseMap &mMap;
    TilePainter &mPainter;
    StrokeTracker mTracker;
    PaletteSource mPalettes;
    QList<QPointer<QWidget>> mObstructions;
    QPointer<QScrollBar> mHorizontal;
    QPointer<QScrollBar> mVertical;
    QPoint mWheelRemainder;
    QHash<QString, QPixmap> mFaces[3]; // by Mark
    bool mStrokeOpen = false;
    ViewMode mMode = ViewMode::Numbers;
    MapTileLayer mTileLayer;
    QPointer<ToolController> mTools;
};

} // namespace velmor
