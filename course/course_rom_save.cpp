#include "course/course_rom_save.h"

#include "course/export_track.h"
#include "course/rom_target.h"
#include "course/track_file.h"
#include "document/course_document.h"
#include "platform/byte_span.h"
#include "platform/file_access.h"
#include "platform/file_lock.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "platform/services.h"
#include "platform/whole_file_write.h"
#include "rom/rom_image.h"
#include "rom/rom_streams.h"

namespace velmor {

namespace {

QString notSavedTitle()
{
    return CourseRomSave::tr("Course Not Saved");
}

} // namespace

CourseRomSave::CourseRomSave(Services &services, const Configuration &settings)
    : mServices(services)
    , mSettings(settings)
{ }

CourseRomSave::Outcome CourseRomSave::refuse(const QString &text)
{
    mServices.messages.inform(text, notSavedTitle());
    return Outcome::Refused;
}

CourseRomSave::Outcome CourseRomSave::fail(const QString &text)
{
    mServices.messages.inform(text, notSavedTitle());
    return Outcome::Failed;
}

CourseRomSave::Outcome CourseRomSave::save(CourseDocument &document)
{
    mSummary.clear();
    const CourseChoice &choice = document.courseChoice();
    if (!choice.course.isValid())
        return refuse(choice.whyNoCourse() + tr(" to save the course into a ROM."));
    const QStringList &texts = document.map().texts();
    if (const std::optional<track::BadCell> bad = track::firstBadCell(texts))
        return refuse(badCellRefusal(*bad));
    const std::optional<QByteArray> track = track::toBytes(track::encode(texts));
    if (!track)
        return refuse(tr("The course could not be encoded. Nothing was written."));

    QString path = document.romPath();
    QByteArray expected = document.romFingerprint();
    if (path.isEmpty()) {
        const RomTarget target = chooseRomToWrite(mServices, mSettings, tr("Save Course into ROM"));
        if (target.outcome == RomTarget::Outcome::Cancelled)
            return Outcome::Cancelled;
        if (target.outcome == RomTarget::Outcome::Failed)
            return fail(target.error);
        path = target.path;
        expected.clear();
    }
    const QString shown = displayPath(path);

    // Held from the read to the write, so that a recomp.exe writing the same ROM takes turns.
    FileLock lock(path);
    QString error;
    if (!lock.lock(&error))
        return fail(tr("The ROM %1 was not written: %2").arg(shown, error));
    if (!mServices.files.isFile(path)) {
        return refuse(tr("The ROM %1 is gone: it was moved or deleted since Velmor read it. "
                         "Nothing was written.")
                          .arg(shown));
    }
    const std::optional<QByteArray> before = mServices.files.readFile(path, qint64(rom::MaxFileSize), &error);
    if (!before)
        return fail(tr("The ROM %1 cannot be read:\n%2").arg(shown, error));
    if (!expected.isEmpty() && CourseDocument::fingerprintOf(*before) != expected) {
        return refuse(tr("The ROM %1 was changed on disk since Velmor read it, by another program "
                         "or an insertion. Nothing was written: open the course from it again, or "
                         "save into another ROM.")
                          .arg(shown));
    }
    const std::optional<std::size_t> offset = rom::fileOffsetOfListed(
        std::size_t(*choice.course.listedOffset()), std::size_t(before->size()));
    if (!offset) {
        return refuse(tr("The course cannot be put into %1: %2")
                          .arg(shown, QString::fromStdString(
                                          rom::wrongSizeMessage(std::size_t(before->size())))));
    }
    const rom::InsertOutcome inserted =
        rom::insertIntoRom(byteView(*before), byteView(*track), *offset);
    if (!inserted.ok) {
        return refuse(tr("%1 was not written into %2: %3")
                          .arg(choice.course.name(), shown,
                              QString::fromStdString(inserted.message)));
    }
    if (files::isReadOnly(path))
        return fail(tr("The ROM %1 was not written: it is read-only.").arg(shown));
    const QByteArray after = toByteArray(inserted.rom);
    if (!writeWholeFile(path, after, &error))
        return fail(tr("The ROM %1 was not written: %2").arg(shown, error));

    document.setRom(path, after);
    document.setClean();
    mSummary = tr("%1 saved into %2: %3")
                   .arg(choice.course.name(), shown, QString::fromStdString(inserted.message));
    return Outcome::Saved;
}

} // namespace velmor
