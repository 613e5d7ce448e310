#pragma once

#include "rom/course_ai.h"
#include "rom/lap_line.h"
#include "rom/overlay_items.h"
#include "rom/start_grid.h"

#include <QList>
#include <QPoint>
#include <QRectF>

// Where the race layers put their marks, in course pixels: what they draw, the cells they say
// they changed and what the pointer hits all come from here.
namespace velmor::marks {

inline constexpr double ObjectRadius = 6;
inline constexpr double KartRadius = 8;
inline constexpr double TargetRadius = 5;
inline constexpr double LapBarHalf = 2;

QRectF itemBox(const rom::OverlayItem &item);
QRectF objectMark(int col, int row);
// Race: the eight kart places; battle: the two players'.
QList<QPoint> startPlaces(const rom::StartGrid &start);
QRectF kartMark(int x, int y);
QRectF lapCells(const rom::LapLine &lap);
QRectF lapBar(const rom::LapLine &lap);
QRectF zoneCell(int x, int y);
QRectF targetMark(const rom::Target &target);
QPointF targetPoint(const rom::Target &target);

} // namespace velmor::marks
