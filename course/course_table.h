#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace velmor {

namespace rom {
struct Course;
}

// The fixed list of the game's courses that `CourseList` offers: cup and battle-mode headers
// between course lines of the form "68f2c - Mario Circuit 1", all 24 courses in the game's order.
// The offsets are file offsets in a ROM with the copier header.
class CourseTable
{
public:
    // A course line starts with its offset as this many hexadecimal digits.
    static constexpr int CourseOffsetDigits = 5;

    // The 29 entries, in the order the list shows them.
    static const QStringList &entries();
    // The text the list shows before the user chooses anything.
    static QString initialText();
    // The course offset of a course text: only when its first five characters are five
    // hexadecimal digits. Header lines, short and typed texts give nothing, so that no garbage
    // offset ever reaches the compressor.
    static std::optional<qint64> courseOffset(const QString &courseText);
    // The game's course that a course text's offset names, or nothing when the offset is where
    // none of the 24 courses starts (a typed text, a slip of a digit).
    static const rom::Course *course(const QString &courseText);
    // What to tell the user about a course text that names no course; empty when it names one.
    static QString whyNoCourse(const QString &courseText);
};

} // namespace velmor
