#pragma once

#include "editor/view_scroll.h"

#include <QList>
#include <QObject>

class QLabel;
class QScrollBar;
class QWidget;

namespace velmor {

// Moves the map container by whole cells as the scroll bars change or their thumbs are dragged,
// and renumbers the rulers so that they always name the visible columns and rows.
class MapScroller : public QObject
{
    Q_OBJECT

public:
    MapScroller(QWidget *map, QScrollBar *horizontal, QScrollBar *vertical, QObject *parent = nullptr);

    void setRulers(const QList<QLabel *> &columnRuler, const QList<QLabel *> &rowRuler);
    // The grid set-up: container at full size and at 0, 0, both last values 0, rulers from 1.
    void setUp();
    const ViewScroll &state() const { return mState; }

    // The updates read the value they are given: a thumb drag reports the thumb's place before the
    // scroll bar's value follows it.
    void horizontalUpdate(int value);
    void verticalUpdate(int value);

private:
    void placeMap();

    QWidget *mMap;
    QScrollBar *mHorizontal;
    QScrollBar *mVertical;
    QList<QLabel *> mColumnRuler;
    QList<QLabel *> mRowRuler;
    ViewScroll mState;
};

} // namespace velmor
