#pragma once

#include <QString>

namespace velmor {

// Whether a text is a tile number as the track file stores it: exactly two hexadecimal digits, in
// either case. The drawing tools refuse to write anything else, and the track encoder's check
// (track::isTileText) is this one, the editor lying below the track format.
inline bool isTileNumber(const QString &text)
{
    auto isHexDigit = [](QChar c) {
        const char16_t u = c.unicode();
        return (u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F');
    };
    return text.size() == 2 && isHexDigit(text.at(0)) && isHexDigit(text.at(1));
}

} // namespace velmor
