#pragma once

#include <QPoint>
#include <QStringList>

namespace velmor {

// The scroll state of the map view: the last horizontal and vertical scroll values and the map
// container's offset in the viewport, with the rulers' texts. The container moves by the difference
// between a new value and the last one seen, so however many change and thumb-drag events arrive
// for one value, the offset stays -240 x value.
class ViewScroll
{
public:
    // A ruler number: one digit as it is, more digits with one blank between neighbours ("1 2 8"),
    // so that a narrow word-wrapping label stacks them.
    static QString stackedNumber(int number);
    // The 32 column-ruler texts and the 20 row-ruler texts for the given first visible column/row.
    static QStringList columnRuler(int horizontalValue);
    static QStringList rowRuler(int verticalValue);

    // The grid set-up: both last values 0, the container at 0, 0.
    void reset();
    // Record a scroll bar's value and move the container by the difference; true when it moved.
    bool horizontalUpdate(int value);
    bool verticalUpdate(int value);

    qint16 lastHorizontal() const { return mLastHorizontal; }
    qint16 lastVertical() const { return mLastVertical; }
    // The container's left and top in twips, relative to the viewport.
    QPoint offsetTwips() const { return mOffset; }

private:
    static int moveBy(int offset, qint16 &last, int value);

    qint16 mLastHorizontal = 0;
    qint16 mLastVertical = 0;
    QPoint mOffset;
};

} // namespace velmor
