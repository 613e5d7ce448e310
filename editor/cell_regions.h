#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The areas that fill and replace write, found over the map's texts (index order, CellCount of
// them). Texts match exactly and case-sensitively, as the track encoder compares them: "0a" and
// "0A" are different tiles.
namespace velmor {

// The 4-connected area of cells holding the start cell's text, in index order. Found with a
// work list rather than recursion, so an area of the whole map costs no stack depth.
QList<int> floodRegion(const QStringList &texts, int start);

// Every cell holding exactly `text`, in index order.
QList<int> cellsWithText(const QStringList &texts, const QString &text);

} // namespace velmor
