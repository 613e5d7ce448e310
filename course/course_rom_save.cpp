#include "course/course_rom_save.h"

#include "course/course_image.h"
#include "course/expand_rom.h"
#include "course/export_track.h"
#include "course/restore_points.h"
#include "course/rom_target.h"
#include "course/track_file.h"
#include "document/course_document.h"
#include "platform/file_access.h"
#include "platform/file_target.h"
#include "platform/file_lock.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "platform/services.h"
#include "platform/whole_file_write.h"
#include "rom/rom_image.h"

namespace velmor {

namespace {

QString notSavedTitle()
{
    return CourseRomSave::tr("Course Not Saved");
}

// The race went in only when the layers hold this course's race; else the layout alone did, and
// the race's edits are still unsaved.
void markSaved(CourseDocument &document)
{
    if (document.raceCourse() == document.course())
        document.setClean();
    else
        document.setTilesClean();
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
    // What can be refused without a ROM is refused before any dialog: the ROM's own bytes are
    // the only thing the image needs besides the document.
    const CourseChoice &choice = document.courseChoice();
    if (!choice.course.isValid())
        return refuse(choice.whyNoCourse() + tr(" to save the course into a ROM."));
    if (const std::optional<track::BadCell> bad = track::firstBadCell(document.map().texts()))
        return refuse(badCellRefusal(*bad));

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
    const std::optional<QByteArray> before =
        mServices.files.readFile(path, qint64(rom::MaxFileSize), &error);
    if (!before)
        return fail(tr("The ROM %1 cannot be read:\n%2").arg(shown, error));
    if (!expected.isEmpty() && CourseDocument::fingerprintOf(*before) != expected) {
        return refuse(tr("The ROM %1 was changed on disk since Velmor read it, by another program "
                         "or an insertion. Nothing was written: open the course from it again, or "
                         "save into another ROM.")
                          .arg(shown));
    }
    const CourseImage image =
        CourseImage::build(document, *before, SharingAnswers::askWith(mServices.messages));
    if (image.outcome == CourseImage::Outcome::Cancelled)
        return Outcome::Cancelled;
    if (!image.ok && image.needsExpansion)
        return offerExpansion(document, path, image.message);
    if (!image.ok)
        return refuse(tr("Nothing was written into %1: %2").arg(shown, image.message));
    if (image.rom == *before) {
        // Nothing to keep a restore point of, and no reason to touch the file.
        document.setRom(path, image.rom);
        markSaved(document);
        mSummary = tr("Saved into %1: %2").arg(shown, image.message);
        return Outcome::Saved;
    }
    if (files::isReadOnly(path))
        return fail(tr("The ROM %1 was not written: it is read-only.").arg(shown));
    // Asked before the restore point is kept: a point of a save that cannot happen would be
    // listed as one that can be restored.
    if (const QString why = writeRefusal(path); !why.isEmpty())
        return fail(tr("The ROM %1 was not written: %2.").arg(shown, why));
    // The ROM as it was goes into a restore point first; without one, no save.
    const RestorePoints::Outcome kept = RestorePoints(path).keep(
        *before, image.rom, choice.course.name(), QDateTime::currentDateTimeUtc());
    if (!kept.ok)
        return fail(tr("The ROM %1 was not written: its restore point could not be kept: %2")
                        .arg(shown, kept.error));
    if (!writeWholeFile(path, image.rom, &error))
        return fail(tr("The ROM %1 was not written: %2").arg(shown, error));

    document.setRom(path, image.rom);
    markSaved(document);
    mSummary = tr("Saved into %1: %2").arg(shown, image.message);
    if (!kept.warning.isEmpty())
        mSummary += QStringLiteral(" (") + kept.warning + QLatin1Char(')');
    return Outcome::Saved;
}

CourseRomSave::Outcome CourseRomSave::offerExpansion(
    CourseDocument &document, const QString &path, const QString &why)
{
    const QString shown = displayPath(path);
    if (!mServices.messages.askYesNo(
            tr("Nothing was written into %1: %2\n\nExpand ROM makes room for larger courses. "
               "Expand %1 now? The expanded ROM is a new file, and the course is saved into it.")
                .arg(shown, why),
            notSavedTitle()))
        return Outcome::Refused;
    ExpandRom expansion(mServices);
    const ExpandRom::Outcome expanded = expansion.run(path);
    if (expanded != ExpandRom::Outcome::Done)
        return expanded == ExpandRom::Outcome::Cancelled ? Outcome::Cancelled : Outcome::Refused;
    QString error;
    const std::optional<QByteArray> bytes =
        mServices.files.readFile(expansion.written(), qint64(rom::MaxFileSize), &error);
    if (!bytes)
        return fail(tr("The ROM %1 cannot be read:\n%2").arg(displayPath(expansion.written()), error));
    // From now on the course belongs to the expanded ROM.
    document.setRom(expansion.written(), *bytes);
    return save(document);
}

} // namespace velmor
