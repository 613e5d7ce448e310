#pragma once

#include "document/map_geometry.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

#include <initializer_list>
#include <utility>

namespace velmor::test {

// A map of CellCount cells holding `fill`, with the listed cells set apart.
inline QStringList mapWith(
    const QString &fill, std::initializer_list<std::pair<int, QString>> cells = {})
{
    QStringList texts;
    texts.fill(fill, CellCount);
    for (const auto &[index, text] : cells)
        texts[index] = text;
    return texts;
}

inline QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray result;
    for (const int value : values)
        result.append(char(value));
    return result;
}

inline QByteArray repeated(const QByteArray &piece, int times)
{
    QByteArray result;
    for (int k = 0; k < times; ++k)
        result += piece;
    return result;
}

} // namespace velmor::test
