#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstdint>
#include <span>

// A map cell's text as a tile number. The map holds texts as typed; only exactly two hexadecimal
// digits (either letter case) name a tile, as the track file stores it. One rule for the whole
// program: the drawing tools, the track encoder and the pictures of tiles all ask here.
namespace velmor {

inline int hexDigitValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

// The tile a text names, 0-255; -1 for every other text.
inline int tileNumberOf(QStringView text)
{
    if (text.size() != 2)
        return -1;
    const int high = hexDigitValue(text[0]);
    const int low = hexDigitValue(text[1]);
    return high < 0 || low < 0 ? -1 : high * 16 + low;
}

inline bool isTileNumber(QStringView text)
{
    return tileNumberOf(text) >= 0;
}

// "3A": a tile number as the map and the palettes show it.
inline QString tileText(int tile)
{
    return QStringLiteral("%1").arg(tile, 2, 16, QLatin1Char('0')).toUpper();
}

// A layout as the map's texts, cell by cell.
inline QStringList tileTexts(std::span<const std::uint8_t> layout)
{
    QStringList texts;
    texts.reserve(qsizetype(layout.size()));
    for (const std::uint8_t tile : layout)
        texts.append(tileText(tile));
    return texts;
}

} // namespace velmor
