#pragma once

#include "course/rom_file.h"
#include "course/sharing_answers.h"
#include "rom/course_data.h"

#include <QCoreApplication>
#include <QString>

#include <optional>

namespace velmor {

// A course file's course put into one course's place: as it is for its own course, with the
// place's ID and name for another of the same kind (race courses among themselves, battle
// courses among themselves: only they have the same blocks), refused between kinds.
struct PlacedCourse
{
    Q_DECLARE_TR_FUNCTIONS(velmor::PlacedCourse)

public:
    std::optional<rom::CourseData> course;
    // What was adapted, for the message; empty when the file was made for this place.
    QString note;
    QString error;

    static PlacedCourse place(rom::CourseData course, int placeId);
};

// A course file's bytes read and placed: the reader's key path and reason when refused.
PlacedCourse readCourseFile(const QByteArray &bytes, const QString &shownPath, int placeId);

// velmor-course import: the course file written into the ROM at course placeId's place, with
// the checks of Save Course into ROM, in place (under the ROM's lock, keeping a restore point
// first) or into a new file when outputPath is given. Whole or not at all.
FileOutcome importCourseFile(const QString &romPath, int placeId, const QString &coursePath,
                             const QString &outputPath, const SharingAnswers &answers);

} // namespace velmor
