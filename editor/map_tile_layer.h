#pragma once

#include "document/course_map.h"
#include "document/tile_art.h"

#include <QImage>
#include <QList>
#include <QPixmap>

class QPainter;
class QPalette;
class QWidget;

namespace velmor {

// The map view's Tiles mode: every cell drawn as the picture of its tile at the map's 16-pixel
// pitch, a frame over painted and erased cells so the user still sees what a stroke touched, and
// a grid that can be hidden. It knows tile pictures only, never where they came from.
//
// Painted cells get a white frame and erased ones a frame in the erased cells' grey of the
// numbers mode, so the marks mean what they meant there; a dark line inside each frame keeps it
// visible over light tiles.
class MapTileLayer : public TileArt
{
public:
    // The owner's palette gives the colours around the tiles and of the marks.
    explicit MapTileLayer(const QWidget *owner)
        : mOwner(owner)
    { }

    void drawCells(QPainter &painter, const LayerCanvas &canvas, const CourseMap &map) const override;
    void drawCell(QPainter &painter, const LayerCanvas &canvas, int index,
        const Cell &cell) const override;

    // Pictures of tiles 0x00-0xFF, drawn at 16 x 16; a missing or null one, and every cell whose
    // text names no tile, shows the placeholder.
    void setTileImages(const QList<QImage> &tiles, const QImage &placeholder);
    bool hasTileImages() const { return !mTiles.isEmpty(); }

    void setGridVisible(bool visible);
    bool isGridVisible() const { return mGridVisible; }

    // Paints every cell that meets `exposed` (the view's pixels) and the background around them.
    void paint(QPainter &painter, const QRect &exposed, const CourseMap &map,
        const QPalette &palette) const;
    // One cell as it would look holding `cell`: what the drawing tools' preview shows.
    void paintCell(QPainter &painter, int index, const Cell &cell, const QPalette &palette) const;

private:
    const QPixmap *pictureOf(const QString &text) const;
    static void drawMark(QPainter &painter, const QRect &place, Mark mark,
                         const QPalette &palette);
    // The grid is drawn into the pictures (their top and left lines): a few hundred translucent
    // lines per repaint would cost more than all the tiles together.
    void makePictures();

    const QWidget *mOwner;
    QList<QImage> mImages;
    QImage mPlaceholderImage;
    QList<QPixmap> mTiles;
    QPixmap mPlaceholder;
    bool mGridVisible = true;
};

} // namespace velmor
