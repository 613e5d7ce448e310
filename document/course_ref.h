#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace velmor {

namespace rom {
struct Course;
}

// One of the game's 24 courses, by its ID: how everything past the course list names a course.
// An invalid reference names none.
class CourseRef
{
public:
    CourseRef() = default;
    // Invalid for an ID that is no course's.
    static CourseRef fromId(int id);

    bool isValid() const { return mId >= 0; }
    int id() const { return mId; }
    // The catalogue's course; nullptr when invalid.
    const rom::Course *course() const;
    // The game's name ("Mario Circuit 1"); empty when invalid.
    QString name() const;
    // Where the course list puts the course: its original layout's offset in a ROM with the
    // copier header.
    std::optional<qint64> listedOffset() const;

    friend bool operator==(const CourseRef &, const CourseRef &) = default;

private:
    int mId = -1;
};

// The course list's text read as what it names: the one place that takes a course line (an
// offset, " - " and a name, see rom::courseListLines) apart. Only the first five characters count, as five hexadecimal
// digits; heading lines, short and typed texts name no course, so that no garbage offset ever
// reaches a ROM.
struct CourseChoice
{
    CourseChoice() = default;
    // What a course list text names: the list's own texts and typed ones read alike.
    CourseChoice(const QString &courseListText) { *this = fromText(courseListText); }
    static CourseChoice fromText(const QString &text);

    QString text;
    // The offset the text starts with, when it starts with five hexadecimal digits.
    std::optional<qint64> listedOffset;
    // The course whose original slot starts at that offset; invalid for none.
    CourseRef course;

    bool isCourseLine() const { return listedOffset.has_value(); }
    // What to tell the user about a text that names no course; empty when it names one.
    QString whyNoCourse() const;
};

// The course list's 29 entries in the order it shows them: cup and battle-mode headings between
// the 24 course lines, in the game's order.
const QStringList &courseListEntries();
// The text the list shows before the user chooses anything.
QString initialCourseText();

} // namespace velmor
