#include "course/restore_from_point.h"

#include "course/restore_points.h"
#include "document/course_document.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "platform/restore_point_dialog.h"
#include "platform/services.h"
#include "rom/rom_image.h"

namespace velmor {

namespace {

QString title()
{
    return RestoreFromPoint::tr("Restore Points");
}

QString shownTime(const QDateTime &time)
{
    return time.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

} // namespace

RestoreFromPoint::RestoreFromPoint(Services &services)
    : mServices(services)
{ }

RestoreFromPoint::Outcome RestoreFromPoint::run(CourseDocument &document, const QString &romPath)
{
    mSummary.clear();
    if (romPath.isEmpty()) {
        mServices.messages.inform(tr("There is no ROM whose restore points could be shown: open "
                                     "a course from a ROM, or save one into a ROM."),
            title());
        return Outcome::Failed;
    }
    if (!mServices.restorePoints)
        return Outcome::Closed;
    const RestorePoints points(romPath);
    const RestorePoints::Listing listing = points.list();
    if (!listing.ok) {
        mServices.messages.inform(tr("The restore points of %1 cannot be listed: %2")
                                      .arg(displayPath(romPath), listing.error),
            title());
        return Outcome::Failed;
    }
    QList<RestorePointDialog::Row> rows;
    for (const RestorePoints::Point &point : listing.points) {
        rows.append({shownTime(point.time), point.course, point.size,
            point.state == RestorePoints::State::Usable, point.problem});
    }
    const std::optional<int> chosen = mServices.restorePoints->choose(displayPath(romPath), rows);
    if (!chosen || *chosen < 0 || *chosen >= listing.points.size())
        return Outcome::Closed;

    const RestorePoints::Point &point = listing.points.at(*chosen);
    const RestorePoints::Outcome restored =
        points.restore(point.number, QDateTime::currentDateTimeUtc());
    if (!restored.ok) {
        mServices.messages.inform(
            tr("The ROM %1 was not restored: %2").arg(displayPath(romPath), restored.error),
            title());
        return Outcome::Failed;
    }
    if (document.romPath() == romPath) {
        QString error;
        const std::optional<QByteArray> bytes =
            mServices.files.readFile(romPath, qint64(rom::MaxFileSize), &error);
        document.setRom(romPath, bytes.value_or(QByteArray()));
    }
    mSummary = tr("Restored %1 to the state before the save of %2 UTC (%3); the state it had is "
                  "kept as restore point 1")
                   .arg(displayPath(romPath), shownTime(point.time), point.course);
    if (!restored.warning.isEmpty())
        mSummary += QStringLiteral(" (") + restored.warning + QLatin1Char(')');
    return Outcome::Restored;
}

} // namespace velmor
