#include "course/course_import.h"

#include "course/course_file.h"
#include "course/course_image.h"
#include "course/restore_points.h"
#include "platform/file_access.h"
#include "platform/file_target.h"
#include "platform/file_lock.h"
#include "platform/whole_file_write.h"
#include "rom/rom_image.h"

#include <QDateTime>

namespace velmor {

namespace {

QString label(int id)
{
    return QString::fromStdString(rom::courseLabel(id));
}

QString kindOf(int id)
{
    return rom::isBattleCourse(id) ? PlacedCourse::tr("a battle course")
                                   : PlacedCourse::tr("a race course");
}

FileOutcome refusal(const QString &message)
{
    return {false, message};
}

} // namespace

PlacedCourse PlacedCourse::place(rom::CourseData course, int placeId)
{
    PlacedCourse placed;
    const rom::Course *target = rom::courseById(placeId);
    if (!target) {
        placed.error = tr("no course of the game has the ID %1").arg(placeId);
        return placed;
    }
    if (course.id == placeId) {
        placed.course = std::move(course);
        return placed;
    }
    if (rom::isBattleCourse(course.id) != rom::isBattleCourse(placeId)) {
        placed.error = tr("the course file holds %1, %2, and %3 is %4: their blocks differ")
                           .arg(label(course.id), kindOf(course.id), label(placeId), kindOf(placeId));
        return placed;
    }
    placed.note = tr("made for %1, put into %2's place").arg(label(course.id), label(placeId));
    course.id = placeId;
    course.name = std::string(target->name);
    placed.course = std::move(course);
    return placed;
}

PlacedCourse readCourseFile(const QByteArray &bytes, const QString &shownPath, int placeId)
{
    const coursefile::ReadResult read = coursefile::read(bytes);
    if (!read.ok()) {
        PlacedCourse refused;
        refused.error = PlacedCourse::tr("The course file %1 cannot be used: %2")
                            .arg(shownPath, read.error);
        return refused;
    }
    return PlacedCourse::place(*read.course, placeId);
}

FileOutcome importCourseFile(const QString &romPath, int placeId, const QString &coursePath,
                             const QString &outputPath, const SharingAnswers &answers)
{
    const bool inPlace = outputPath.isEmpty();
    QString error;
    const std::optional<QByteArray> file = files::readWhole(
        coursePath, QStringLiteral("course file"), coursefile::MaxFileSize, &error);
    if (!file)
        return refusal(error);
    const PlacedCourse placed = readCourseFile(*file, files::shown(coursePath), placeId);
    if (!placed.course)
        return refusal(placed.error);
    if (!inPlace
        && !files::isUsableOutput(outputPath,
                                  {{QStringLiteral("ROM file"), romPath},
                                   {QStringLiteral("course file"), coursePath}},
                                  &error))
        return refusal(error);

    // Held from the read to the write, so that another of Velmor's writers takes turns.
    FileLock lock(romPath);
    if (inPlace && !lock.lock(&error))
        return refusal(error);
    const std::optional<QByteArray> before =
        files::readWhole(romPath, QStringLiteral("ROM file"), qint64(rom::MaxFileSize), &error);
    if (!before)
        return refusal(error);
    const CourseImage image = CourseImage::build(*placed.course, *before, answers);
    if (!image.ok)
        return refusal(image.message);
    QString summary = image.message;
    if (!placed.note.isEmpty())
        summary += QStringLiteral(" (") + placed.note + QLatin1Char(')');

    if (!inPlace) {
        if (!files::writeOutput(outputPath, image.rom, &error))
            return refusal(error);
        return {true, summary + QStringLiteral("; written to ") + files::shown(outputPath)};
    }
    if (image.rom == *before)
        return {true, summary};
    if (files::isReadOnly(romPath))
        return refusal(QStringLiteral("cannot write the ROM file %1: it is read-only")
                           .arg(files::shown(romPath)));
    // Asked before the restore point is kept: a point of a save that cannot happen would be
    // listed as one that can be restored.
    if (const QString why = writeRefusal(romPath); !why.isEmpty())
        return refusal(QStringLiteral("cannot write the ROM file %1: %2")
                           .arg(files::shown(romPath), why));
    const RestorePoints::Outcome kept = RestorePoints(romPath).keep(
        *before, image.rom, label(placeId), QDateTime::currentDateTimeUtc());
    if (!kept.ok)
        return refusal(QStringLiteral("cannot keep a restore point of %1: %2")
                           .arg(files::shown(romPath), kept.error));
    if (!writeWholeFile(romPath, image.rom, &error))
        return refusal(QStringLiteral("cannot write the ROM file %1: %2")
                           .arg(files::shown(romPath), error));
    return {true, summary};
}

} // namespace velmor
