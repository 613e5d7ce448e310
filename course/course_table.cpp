#include "course/course_table.h"

#include "course/rom_layout.h"

namespace velmor {

const QStringList &CourseTable::entries()
{
    static const QStringList table = {
        QStringLiteral("MUSHROOM CUP"),
        QStringLiteral("68f2c - Mario Circuit 1"),
        QStringLiteral("7a381 - Donut Plains 1"),
        QStringLiteral("7ba25 - Bowser's Castle 1"),
        QStringLiteral("50e45 - Mario Circuit 2"),
        QStringLiteral("FLOWER CUP"),
        QStringLiteral("77451 - Choco Island 1"),
        QStringLiteral("6aa23 - Donut Plains 2"),
        QStringLiteral("7c727 - Bowser's Castle 2"),
        QStringLiteral("68200 - Mario Circuit 3"),
        QStringLiteral("STAR CUP"),
        QStringLiteral("6d1c4 - Choco Island 2"),
        QStringLiteral("3123c - Vanilla Lake 1"),
        QStringLiteral("7d7ff - Bowser's Castle 3"),
        QStringLiteral("6972b - Mario Circuit 4"),
        QStringLiteral("SPECIAL CUP"),
        QStringLiteral("78c6b - Donut Plains 3"),
        QStringLiteral("3d751 - Koopa Beach 2"),
        QStringLiteral("6c168 - Vanilla Lake"),
        QStringLiteral("BATTLE MODE"),
        QStringLiteral("21965 - Battle Course 2"),
        QStringLiteral("216ee - Battle Course 3"),
        QStringLiteral("7ef3b - Battle Course 4"),
    };
    return table;
}

QString CourseTable::initialText()
{
    return entries().at(1);
}

std::optional<qint64> CourseTable::courseOffset(const QString &courseText)
{
    if (courseText.size() < rom::kCourseOffsetDigits)
        return std::nullopt;
    qint64 offset = 0;
    for (int i = 0; i < rom::kCourseOffsetDigits; ++i) {
        // Only ASCII digits count: QChar::digitValue would also accept other scripts' digits.
        const char16_t c = courseText.at(i).unicode();
        int digit = -1;
        if (c >= u'0' && c <= u'9')
            digit = c - u'0';
        else if (c >= u'a' && c <= u'f')
            digit = c - u'a' + 10;
        else if (c >= u'A' && c <= u'F')
            digit = c - u'A' + 10;
        if (digit < 0)
            return std::nullopt;
        offset = offset * 16 + digit;
    }
    return offset;
}

} // namespace velmor
