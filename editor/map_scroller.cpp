#include "editor/map_scroller.h"

#include "document/map_geometry.h"

#include <QLabel>
#include <QScrollBar>

namespace velmor {

namespace {

void setTexts(const QList<QLabel *> &labels, const QStringList &texts)
{
    for (qsizetype i = 0; i < labels.size() && i < texts.size(); ++i)
        labels.at(i)->setText(texts.at(i));
}

} // namespace

MapScroller::MapScroller(QWidget *map, QScrollBar *horizontal, QScrollBar *vertical, QObject *parent)
    : QObject(parent)
    , mMap(map)
    , mHorizontal(horizontal)
    , mVertical(vertical)
{
    connect(mHorizontal, &QScrollBar::valueChanged, this, &MapScroller::horizontalUpdate);
    connect(mHorizontal, &QScrollBar::sliderMoved, this, &MapScroller::horizontalUpdate);
    connect(mVertical, &QScrollBar::valueChanged, this, &MapScroller::verticalUpdate);
    connect(mVertical, &QScrollBar::sliderMoved, this, &MapScroller::verticalUpdate);
}

void MapScroller::setRulers(const QList<QLabel *> &columnRuler, const QList<QLabel *> &rowRuler)
{
    mColumnRuler = columnRuler;
    mRowRuler = rowRuler;
}

void MapScroller::setUp()
{
    const int side = twipsToPixels(MapContainerTwips);
    mMap->resize(side, side);
    mState.reset();
    placeMap();
    setTexts(mRowRuler, ViewScroll::rowRuler(0));
    setTexts(mColumnRuler, ViewScroll::columnRuler(0));
}

void MapScroller::horizontalUpdate(int value)
{
    // Rulers first, then the map: every label is rewritten, changed or not.
    setTexts(mColumnRuler, ViewScroll::columnRuler(value));
    if (mState.horizontalUpdate(value))
        placeMap();
}

void MapScroller::verticalUpdate(int value)
{
    setTexts(mRowRuler, ViewScroll::rowRuler(value));
    if (mState.verticalUpdate(value))
        placeMap();
}

void MapScroller::placeMap()
{
    const QPoint offset = mState.offsetTwips();
    mMap->move(twipsToPixels(offset.x()), twipsToPixels(offset.y()));
}

} // namespace velmor
