#include "course/course_image.h"

#include "course/export_track.h"
#include "course/track_file.h"
#include "document/course_document.h"
#include "platform/byte_span.h"
#include "rom/course_placement.h"

namespace velmor {

CourseImage CourseImage::build(const CourseDocument &document, const QByteArray &romFile)
{
    CourseImage image;
    const CourseChoice &choice = document.courseChoice();
    if (!choice.course.isValid()) {
        image.message = choice.whyNoCourse() + tr(" to save the course into a ROM.");
        return image;
    }
    const QStringList &texts = document.map().texts();
    if (const std::optional<track::BadCell> bad = track::firstBadCell(texts)) {
        image.message = badCellRefusal(*bad);
        return image;
    }
    const std::optional<QByteArray> track = track::toBytes(track::encode(texts));
    if (!track) {
        image.message = tr("The course could not be encoded. Nothing was written.");
        return image;
    }
    // The layout goes where the course lives, or moves into an expanded ROM's added banks when
    // it outgrows that; the header's checksum is made true again.
    const rom::PlaceOutcome inserted =
        rom::insertCourse(byteView(romFile), byteView(*track), choice.course.id());
    if (!inserted.ok) {
        image.needsExpansion = inserted.needsExpansion;
        image.message = tr("the layout of %1: %2")
                            .arg(choice.course.name(), QString::fromStdString(inserted.message));
        return image;
    }
    image.ok = true;
    image.rom = toByteArray(inserted.rom);
    image.message = tr("%1: %2").arg(choice.course.name(), QString::fromStdString(inserted.message));
    return image;
}

} // namespace velmor
