#include "document/course_ref.h"

#include "rom/course_catalogue.h"
#include "rom/hex_offset.h"
#include "rom/rom_image.h"

#include <QCoreApplication>

namespace velmor {

CourseRef CourseRef::fromId(int id)
{
    CourseRef ref;
    if (rom::courseById(id))
        ref.mId = id;
    return ref;
}

const rom::Course *CourseRef::course() const
{
    return rom::courseById(mId);
}

QString CourseRef::name() const
{
    const rom::Course *found = course();
    return found ? QString::fromUtf8(found->name.data(), qsizetype(found->name.size())) : QString();
}

std::optional<qint64> CourseRef::listedOffset() const
{
    const rom::Course *found = course();
    if (!found)
        return std::nullopt;
    return qint64(rom::listedOffsetOfGame(found->layoutOffset));
}

CourseChoice CourseChoice::fromText(const QString &text)
{
    CourseChoice choice;
    choice.text = text;
    if (text.size() < rom::CourseLineDigits)
        return choice;
    // Latin-1 turns any other character into '?', which is no digit either.
    const std::optional<std::size_t> offset = rom::parseHexOffset(
        text.left(rom::CourseLineDigits).toLatin1().toStdString(), rom::CourseLineDigits);
    if (!offset)
        return choice;
    choice.listedOffset = qint64(*offset);
    if (const std::optional<std::size_t> game = rom::gameOffsetOfListed(*offset)) {
        if (const rom::Course *course = rom::courseStartingAt(*game))
            choice.course = CourseRef::fromId(course->id);
    }
    return choice;
}

QString CourseChoice::whyNoCourse() const
{
    if (course.isValid())
        return {};
    if (!listedOffset) {
        return QCoreApplication::translate("velmor::CourseTable",
            "\"%1\" is no course line; choose one such as \"%2\" in the course list")
            .arg(text, initialCourseText());
    }
    return QCoreApplication::translate("velmor::CourseTable",
        "\"%1\" names no course of the game: none of its 24 courses starts at %2 in a ROM with "
        "the copier header; choose a course line in the course list")
        .arg(text, QStringLiteral("0x%1").arg(*listedOffset, 0, 16));
}

const QStringList &courseListEntries()
{
    static const QStringList entries = [] {
        QStringList lines;
        for (const rom::CourseListLine &line : rom::courseListLines())
            lines << QString::fromStdString(line.text);
        return lines;
    }();
    return entries;
}

QString initialCourseText()
{
    return courseListEntries().at(1);
}

} // namespace velmor
