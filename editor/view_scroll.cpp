#include "editor/view_scroll.h"

#include "document/map_geometry.h"

#include <cstdlib>

namespace velmor {

QString ViewScroll::stackedNumber(int number)
{
    const QString digits = QString::number(number);
    if (digits.size() == 1)
        return digits;
    QString stacked;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0)
            stacked += QLatin1Char(' ');
        stacked += digits.at(i);
    }
    return stacked;
}

QStringList ViewScroll::columnRuler(int horizontalValue)
{
    QStringList texts;
    for (int k = 1; k <= VisibleColumns; ++k)
        texts.append(stackedNumber(k + horizontalValue));
    return texts;
}

QStringList ViewScroll::rowRuler(int verticalValue)
{
    QStringList texts;
    for (int k = 0; k < VisibleRows; ++k)
        texts.append(QString::number(k + verticalValue + 1));
    return texts;
}

void ViewScroll::reset()
{
    mLastHorizontal = 0;
    mLastVertical = 0;
    mOffset = QPoint(0, 0);
}

int ViewScroll::moveBy(int offset, qint16 &last, int value)
{
    // The scroll bars' ranges keep the value inside 16 bits; clamp anyway so that a value set from
    // outside can never wrap the record and send the map somewhere else.
    const auto wanted = qint16(qBound(0, value, 0x7fff));
    const int distance = std::abs(int(wanted) - int(last));
    if (wanted < last)
        offset += CellPitchTwips * distance;
    else if (wanted > last)
        offset -= CellPitchTwips * distance;
    last = wanted;
    return offset;
}

bool ViewScroll::horizontalUpdate(int value)
{
    const int before = mOffset.x();
    mOffset.setX(moveBy(before, mLastHorizontal, value));
    return mOffset.x() != before;
}

bool ViewScroll::verticalUpdate(int value)
{
    const int before = mOffset.y();
    mOffset.setY(moveBy(before, mLastVertical, value));
    return mOffset.y() != before;
}

} // namespace velmor
