#include "course/restore_points.h"

#include "course/restore_point_files.h"
#include "patch/bps.h"
#include "patch/crc32.h"
#include "platform/byte_span.h"
#include "platform/file_lock.h"
#include "platform/file_system.h"
#include "platform/file_target.h"
#include "platform/whole_file_write.h"
#include "rom/rom_image.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace velmor {

namespace {

using Point = RestorePoints::Point;
using State = RestorePoints::State;
using restore::PointFile;

QString tr(const char *text)
{
    return QCoreApplication::translate("velmor::RestorePoints", text);
}

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QString hexText(std::uint32_t value)
{
    return QString::fromStdString(patch::hex32(value));
}

// A ROM as far as a patch's header can tell it apart.
struct Image
{
    quint64 size = 0;
    std::uint32_t crc = 0;
    bool operator==(const Image &) const = default;
    QString text() const { return tr("%1 bytes with CRC32 %2").arg(size).arg(hexText(crc)); }
};

// A point with its patch, and whether restoring past it applies the patch (or finds the ROM
// already in the state before that save).
struct Checked
{
    Point point;
    QByteArray patch;
    bool applies = false;
};

// Why a patch file's own bytes are not those that were written; empty when they are.
QString damageOf(const QByteArray &bytes, patch::bps::Header *header)
{
    patch::PatchResult refusal;
    const std::optional<patch::bps::Header> read = patch::bps::readHeader(byteView(bytes), &refusal);
    if (!read)
        return QString::fromStdString(refusal.error);
    *header = *read;
    const std::uint32_t crc = patch::crc32(byteView(bytes).first(std::size_t(bytes.size()) - 4));
    if (crc != header->patchCrc) {
        return tr("the patch's own CRC32 is %1, it says %2")
            .arg(hexText(crc), hexText(header->patchCrc));
    }
    return {};
}

// Every point checked, newest first, walking from the ROM as it is now back through the saves:
// a point applies when its patch starts from the state the newer ones lead to.
QList<Checked> survey(const QString &folder, const QByteArray &rom)
{
    const QtFileSystem files;
    Image now {quint64(rom.size()), patch::crc32(byteView(rom))};
    // Why the points from here on cannot be reached; empty while they can.
    QString blocked;
    QList<Checked> checked;
    for (const PointFile &entry : restore::pointFilesIn(folder)) {
        Checked c;
        Point &point = c.point;
        point.number = int(checked.size()) + 1;
        point.time = entry.time;
        point.course = entry.course;
        point.path = entry.path;
        QString damage;
        patch::bps::Header header;
        // Undoing a save of the largest ROM takes less than the ROM twice over; a larger file
        // is none of these patches, and is not read into memory to find that out.
        point.size = QFileInfo(entry.path).size();
        if (point.size > qint64(2 * patch::bps::MaxImageSize)) {
            damage = tr("it is larger than any restore point");
        } else if (const std::optional<QByteArray> bytes = files.readFile(entry.path, qint64(2 * patch::bps::MaxImageSize), &damage)) {
            c.patch = *bytes;
            damage = damageOf(c.patch, &header);
        }
        const Image source {header.sourceSize, header.sourceCrc};
        const Image target {header.targetSize, header.targetCrc};
        const QString notApplicable = tr("does not apply to the ROM as it is now: %1");
        if (!damage.isEmpty()) {
            point.state = State::Damaged;
            point.problem = tr("damaged: %1").arg(damage);
            if (blocked.isEmpty())
                blocked = tr("the newer restore point %1 is damaged").arg(point.number);
        } else if (!blocked.isEmpty()) {
            point.state = State::NotApplicable;
            point.problem = notApplicable.arg(blocked);
        } else if (source == now) {
            c.applies = true;
            now = target;
        } else if (target != now) {
            point.state = State::NotApplicable;
            point.problem = notApplicable.arg(point.number == 1
                    ? tr("the ROM has changed since the point was kept (it has %1; the point "
                         "starts from %2)")
                          .arg(now.text(), source.text())
                    : tr("the newer points lead to %1, this one starts from %2")
                          .arg(now.text(), source.text()));
            blocked = tr("the newer restore point %1 does not apply").arg(point.number);
        }
        checked.append(c);
    }
    return checked;
}

QString describe(const Point &point)
{
    return tr("restore point %1 (%2 UTC, %3)")
        .arg(point.number)
        .arg(point.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), point.course);
}

RestorePoints::Outcome failure(const QString &error)
{
    RestorePoints::Outcome outcome;
    outcome.error = error;
    return outcome;
}

// The folder of the points, made when it is missing; only the folder itself, never the ROM's.
bool makeFolder(const QString &folder, QString *error)
{
    const QFileInfo info(folder);
    if (info.isDir())
        return true;
    const QString cannot = tr("cannot make the folder %1 for the ROM's restore points: %2");
    if (info.exists())
        *error = cannot.arg(shown(folder), tr("a file of that name is in the way"));
    else if (!info.dir().exists())
        *error = cannot.arg(shown(folder), tr("the ROM's folder does not exist"));
    else if (!info.dir().mkdir(info.fileName()))
        *error = cannot.arg(shown(folder), tr("the system refused (is the folder read-only?)"));
    else
        return true;
    return false;
}

} // namespace

RestorePoints::RestorePoints(const QString &romPath)
    : mRomPath(romPath)
    // Beside the file itself: saves through a link and through its target keep one list.
    , mFolder(writtenPath(romPath) + QStringLiteral(".restore"))
{ }

RestorePoints::Outcome RestorePoints::keep(const QByteArray &before, const QByteArray &after,
    const QString &course, const QDateTime &time) const
{
    const QString cannot = tr("cannot keep a restore point for %1: %2");
    if (!time.isValid())
        return failure(cannot.arg(shown(mRomPath), tr("the time of the save is not valid")));
    QString why;
    if (!makeFolder(mFolder, &why))
        return failure(why);
    const QList<PointFile> older = restore::pointFilesIn(mFolder);
    QDateTime at = time.toUTC();
    if (!older.isEmpty() && at <= older.front().time)
        at = older.front().time.addMSecs(1);

    const patch::PatchResult undo = patch::bps::create(byteView(after), byteView(before));
    if (!undo.ok)
        return failure(cannot.arg(shown(mRomPath), QString::fromStdString(undo.error)));
    Outcome outcome;
    outcome.path = QDir(mFolder).filePath(restore::pointFileName(at, course));
    // Another program's point of the same millisecond and course is not replaced.
    while (QFileInfo::exists(outcome.path)) {
        at = at.addMSecs(1);
        outcome.path = QDir(mFolder).filePath(restore::pointFileName(at, course));
    }
    if (!writeWholeFile(outcome.path, toByteArray(undo.bytes), &why)) {
        return failure(
            cannot.arg(shown(mRomPath), tr("cannot write %1: %2").arg(shown(outcome.path), why)));
    }
    outcome.ok = true;

    // The new point is the first of the newest Kept; of the older ones, Kept - 1 stay.
    QStringList stuck;
    for (qsizetype k = Kept - 1; k < older.size(); ++k) {
        if (!QDir().remove(older[k].path))
            stuck << shown(older[k].path);
    }
    if (!stuck.isEmpty()) {
        outcome.warning = tr("the restore point was kept, but these older ones could not be "
                             "deleted: %1")
                              .arg(stuck.join(QStringLiteral(", ")));
    }
    return outcome;
}

RestorePoints::Listing RestorePoints::list() const
{
    Listing listing;
    const std::optional<QByteArray> rom = QtFileSystem().readFile(mRomPath, qint64(rom::MaxFileSize), &listing.error);
    if (!rom)
        return listing;
    for (const Checked &c : survey(mFolder, *rom))
        listing.points.append(c.point);
    listing.ok = true;
    return listing;
}

RestorePoints::Outcome RestorePoints::restore(int number, const QDateTime &time) const
{
    // The ROM stays locked from reading it to writing it back, so no other save slips between.
    FileLock lock(mRomPath);
    QString why;
    if (!lock.lock(&why))
        return failure(why);
    const std::optional<QByteArray> rom = QtFileSystem().readFile(mRomPath, qint64(rom::MaxFileSize), &why);
    if (!rom)
        return failure(why);
    const QList<Checked> points = survey(mFolder, *rom);
    if (number < 1 || number > points.size()) {
        return failure(tr("there is no restore point %1 for %2: it has %3")
                           .arg(number)
                           .arg(shown(mRomPath))
                           .arg(points.size()));
    }
    const QString cannot = tr("cannot restore point %1: %2; nothing was written");
    QByteArray state = *rom;
    for (qsizetype k = 0; k < number; ++k) {
        const Point &point = points[k].point;
        if (point.state == State::Damaged) {
            return failure(
                cannot.arg(number).arg(tr("%1 is %2, and a damaged point is never applied")
                                           .arg(describe(point), point.problem)));
        }
        if (point.state == State::NotApplicable) {
            return failure(cannot.arg(number).arg(tr("%1 %2").arg(describe(point), point.problem)));
        }
        if (!points[k].applies)
            continue;
        const patch::PatchResult undone = patch::bps::apply(byteView(state), byteView(points[k].patch));
        if (!undone.ok) {
            return failure(cannot.arg(number).arg(
                tr("%1 is damaged: %2")
                    .arg(describe(point), QString::fromStdString(undone.error))));
        }
        state = toByteArray(undone.bytes);
    }

    Outcome outcome = keep(*rom, state, QStringLiteral("Restore"), time);
    if (!outcome.ok)
        return failure(cannot.arg(number).arg(outcome.error));
    if (!writeWholeFile(mRomPath, state, &why)) {
        // The ROM is as it was, so the point of this restore would undo nothing.
        QDir().remove(outcome.path);
        return failure(
            cannot.arg(number).arg(tr("cannot write the ROM %1: %2").arg(shown(mRomPath), why)));
    }
    return outcome;
}

} // namespace velmor
