#pragma once

#include "document/course_map.h"
#include "document/tile_art.h"

#include <QHash>
#include <QPixmap>
#include <QString>

class QWidget;

namespace velmor {

// The described map's look: every cell a 17-pixel square at a 16-pixel pitch showing its tile
// number, centred, on its mark's colour (button face, white and bold, or the erased grey), the
// borders one grid of lines. Colours and the cell font are the owner widget's.
class MapNumbersArt : public TileArt
{
public:
    explicit MapNumbersArt(const QWidget *owner)
        : mOwner(owner)
    { }

    void drawCells(QPainter &painter, const LayerCanvas &canvas, const CourseMap &map) const override;
    void drawCell(QPainter &painter, const LayerCanvas &canvas, int index,
        const Cell &cell) const override;
    // The owner's colours or font changed.
    void clearFaces();

private:
    // The inside of a cell (background and centred text) for one text and mark, drawn once and
    // then copied: a map shows few distinct tile numbers, and copying beats laying out text.
    const QPixmap &cellFace(const QString &text, Mark mark) const;

    const QWidget *mOwner;
    mutable QHash<QString, QPixmap> mFaces[3]; // by Mark
};

} // namespace velmor
