#include "course/course_image.h"

#include "course/export_track.h"
#include "course/track_file.h"
#include "document/course_document.h"
#include "platform/byte_span.h"
#include "rom/rom_image.h"
#include "rom/rom_streams.h"

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
    const std::optional<std::size_t> offset = rom::fileOffsetOfListed(
        std::size_t(*choice.course.listedOffset()), std::size_t(romFile.size()));
    if (!offset) {
        image.message = QString::fromStdString(rom::wrongSizeMessage(std::size_t(romFile.size())));
        return image;
    }
    const rom::InsertOutcome inserted =
        rom::insertIntoRom(byteView(romFile), byteView(*track), *offset);
    if (!inserted.ok) {
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
