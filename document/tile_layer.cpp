#include "document/tile_layer.h"

#include "document/course_map.h"
#include "document/layer_canvas.h"
#include "document/tile_art.h"

namespace velmor {

TileLayer::TileLayer(CourseMap &map, QObject *parent)
    : Layer(QStringLiteral("tiles"), tr("Tiles"), parent)
    , mMap(map)
{
    connect(&mMap, &CourseMap::cellsChanged, this, &Layer::changed);
}

void TileLayer::draw(QPainter &painter, const LayerCanvas &canvas) const
{
    if (const TileArt *art = canvas.tileArt())
        art->drawCells(painter, canvas, mMap);
}

QString TileLayer::describeAt(QPointF coursePixel) const
{
    const int column = int(coursePixel.x()) / CoursePixelsPerTile;
    const int row = int(coursePixel.y()) / CoursePixelsPerTile;
    if (coursePixel.x() < 0 || coursePixel.y() < 0 || column >= MapSide || row >= MapSide)
        return {};
    return tr("tile %1").arg(mMap.text(cellIndex(row, column)));
}

} // namespace velmor
