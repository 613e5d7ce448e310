#pragma once

class QPainter;

namespace velmor {

class CourseMap;
class LayerCanvas;
struct Cell;

// How one view draws the cells themselves: their tile numbers with their marks, or the game's
// tiles. Every view brings its own; the tile layer draws through it.
class TileArt
{
public:
    virtual ~TileArt() = default;
    // Every cell of the canvas's exposed part, and the view's background around the map.
    virtual void drawCells(QPainter &painter, const LayerCanvas &canvas, const CourseMap &map) const = 0;
    // One cell as it would look holding `cell`: what the drawing tools' preview shows.
    virtual void drawCell(QPainter &painter, const LayerCanvas &canvas, int index, const Cell &cell) const = 0;
};

} // namespace velmor
