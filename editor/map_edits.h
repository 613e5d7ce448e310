#pragma once

#include "editor/cell_block.h"
#include "document/course_map.h"
#include "editor/edit_result.h"

#include <QCoreApplication>
#include <QPoint>
#include <QRect>

#include <optional>

namespace velmor {

class MapHistory;

// The drawing tools' edits of the course map, each one undo step with its name: the shapes, fill,
// replace, and the selection's cut, delete, paste and move. Cells get the brush's marks: Painted
// for what is drawn or placed, Erased (with the erase tile "01") for what is cut, deleted or left
// behind by a move. Only cells whose text or mark changes count, and an edit that changes nothing
// adds no step. A text to draw with that is not a tile number is refused before anything changes.
//
// An edit made while the history records another step (an open brush stroke) joins that step.
class MapEdits
{
    Q_DECLARE_TR_FUNCTIONS(velmor::MapEdits)

public:
    MapEdits(CourseMap &map, MapHistory &history);

    // Cells are (column, row); parts of a shape off the map are left out. The middle button's
    // shapes pass CourseMap::freshText() with Mark::Erased.
    EditResult line(QPoint from, QPoint to, const QString &text, Mark mark = Mark::Painted);
    EditResult rectangle(QPoint corner, QPoint opposite, bool filled, const QString &text,
        Mark mark = Mark::Painted);
    // The clicked cell's area of equal texts; nothing when it already holds text.
    EditResult fill(QPoint cell, const QString &text, Mark mark = Mark::Painted);
    // Every cell holding exactly `from` gets `to`; only `to` must be a tile number.
    EditResult replace(const QString &from, const QString &to);

    CellBlock copy(const QRect &area) const;
    // Copies the area's cells into `copied`, then erases them.
    EditResult cut(const QRect &area, CellBlock &copied);
    EditResult deleteCells(const QRect &area);
    // The block's texts as they stand (a copied block may hold what the map held).
    EditResult paste(const CellBlock &block, QPoint topLeft);
    // The area's cells land `offset` cells away, clipped at the map's edge; the cells they leave
    // are erased.
    EditResult move(const QRect &area, QPoint offset);

    // The clicked cell's text, for the palette of the button that clicked; nothing off the map.
    std::optional<QString> pick(QPoint cell) const;

    // The message of a refused text, for callers that check before they start a drag.
    static QString refusalFor(const QString &text);

private:
    EditResult erase(const QRect &area, const QString &stepName);
    EditResult write(
        const QString &stepName, const QList<int> &indices, const QString &text, Mark mark);
    EditResult write(const QString &stepName, const QList<int> &indices, const QList<Cell> &cells);

    CourseMap &mMap;
    MapHistory &mHistory;
};

} // namespace velmor
