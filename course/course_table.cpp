#include "course/course_table.h"

#include "rom/course_catalogue.h"
#include "rom/hex_offset.h"
#include "rom/rom_image.h"

#include <QCoreApplication>

namespace velmor {

const QStringList &CourseTable::entries()
{
    static const QStringList table = {
        QStringLiteral("MUSHROOM CUP"),
        QStringLiteral("68f2c - Mario Circuit 1"),
        QStringLiteral("7a381 - Donut Plains 1"),
        QStringLiteral("6f7bf - Ghost Valley 1"),
        QStringLiteral("7ba25 - Bowser's Castle 1"),
        QStringLiteral("50e45 - Mario Circuit 2"),
        QStringLiteral("FLOWER CUP"),
        QStringLiteral("77451 - Choco Island 1"),
        QStringLiteral("7ea21 - Ghost Valley 2"),
        QStringLiteral("6aa23 - Donut Plains 2"),
        QStringLiteral("7c727 - Bowser's Castle 2"),
        QStringLiteral("68200 - Mario Circuit 3"),
        QStringLiteral("STAR CUP"),
        QStringLiteral("6e3ae - Koopa Beach 1"),
        QStringLiteral("6d1c4 - Choco Island 2"),
        QStringLiteral("3123c - Vanilla Lake 1"),
        QStringLiteral("7d7ff - Bowser's Castle 3"),
        QStringLiteral("6972b - Mario Circuit 4"),
        QStringLiteral("SPECIAL CUP"),
        QStringLiteral("78c6b - Donut Plains 3"),
        QStringLiteral("3d751 - Koopa Beach 2"),
        QStringLiteral("6a445 - Ghost Valley 3"),
        QStringLiteral("6c168 - Vanilla Lake"),
        QStringLiteral("3ecd1 - Rainbow Road"),
        QStringLiteral("BATTLE MODE"),
        QStringLiteral("6f538 - Battle Course 1"),
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
    if (courseText.size() < CourseOffsetDigits)
        return std::nullopt;
    // Latin-1 turns any other character into '?', which is no digit either.
    const std::optional<std::size_t> offset = rom::parseHexOffset(
        courseText.left(CourseOffsetDigits).toLatin1().toStdString(), CourseOffsetDigits);
    if (!offset)
        return std::nullopt;
    return qint64(*offset);
}

const rom::Course *CourseTable::course(const QString &courseText)
{
    const std::optional<qint64> offset = courseOffset(courseText);
    const std::optional<std::size_t> game =
        offset ? rom::gameOffsetOfListed(std::size_t(*offset)) : std::nullopt;
    return game ? rom::courseStartingAt(*game) : nullptr;
}

QString CourseTable::whyNoCourse(const QString &courseText)
{
    if (course(courseText))
        return {};
    const std::optional<qint64> offset = courseOffset(courseText);
    if (!offset) {
        return QCoreApplication::translate("velmor::CourseTable",
                                           "\"%1\" is no course line; choose one such as \"%2\" "
                                           "in the course list")
            .arg(courseText, initialText());
    }
    return QCoreApplication::translate("velmor::CourseTable",
                                       "\"%1\" names no course of the game: none of its 24 "
                                       "courses starts at %2 in a ROM with the copier header; "
                                       "choose a course line in the course list")
        .arg(courseText, QStringLiteral("0x%1").arg(*offset, 0, 16));
}

} // namespace velmor
