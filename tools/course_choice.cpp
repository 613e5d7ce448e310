#include "tools/course_choice.h"

#include "document/tile_text.h"
#include "rom/course_catalogue.h"
#include "rom/course_tables.h"
#include "rom/hex_offset.h"
#include "tools/tool_command_line.h"

namespace velmor::tools {

namespace {

// Up to two digits is a course ID; longer hexadecimal texts are offsets from the course list.
constexpr int IdDigits = 2;

} // namespace

QString courseTitle(int id)
{
    return QStringLiteral("%1 (course %2)")
        .arg(QLatin1String(rom::courseById(id)->name.data()), tileText(id));
}

std::optional<CourseChoice> parseCourse(const QString &text, QString *error)
{
    if (const rom::Course *course = rom::courseNamed(text.toStdString()))
        return CourseChoice {course->id, std::nullopt};
    const std::optional<std::size_t> number = rom::parseHexOffset(text.toStdString());
    if (number && text.size() <= IdDigits) {
        if (*number < std::size_t(rom::CourseCount))
            return CourseChoice {int(*number), std::nullopt};
        *error = QStringLiteral("there is no course %1; course IDs go from 00 to 17").arg(text);
        return std::nullopt;
    }
    if (number)
        return CourseChoice {std::nullopt, qint64(*number)};
    *error = QStringLiteral("\"%1\" names no course: give a course ID (00 to 17), a name such as "
                            "\"%2\" or an offset from the course list such as %3")
                 .arg(text, exampleCourseName(), exampleCourseOffset());
    return std::nullopt;
}

std::optional<CourseSite> locateCourse(const rom::RomImage &image, const CourseChoice &choice,
                                       QString *error)
{
    if (choice.id) {
        CourseSite site {*choice.id, std::nullopt, {}};
        const rom::CourseEntry entry = rom::readCourseTables(image)[std::size_t(site.id)];
        if (entry.layoutOffset)
            site.listedOffset = qint64(rom::listedOffsetOfGame(*entry.layoutOffset));
        else
            site.problem = QString::fromStdString(entry.problem);
        return site;
    }
    const std::optional<std::size_t> game = rom::gameOffsetOfListed(std::size_t(*choice.listedOffset));
    const std::optional<int> found = game ? rom::courseIdStartingAt(image, *game) : std::nullopt;
    if (!found) {
        *error = QStringLiteral("no course of this ROM starts at %1 (offsets as the course list "
                                "shows them, for a ROM with the copier header)")
                     .arg(QString::fromStdString(rom::hexText(std::size_t(*choice.listedOffset))));
        return std::nullopt;
    }
    return CourseSite {*found, choice.listedOffset, {}};
}

} // namespace velmor::tools
