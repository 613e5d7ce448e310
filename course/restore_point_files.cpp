#include "course/restore_point_files.h"

#include <QDir>
#include <QRegularExpression>
#include <QTimeZone>

#include <algorithm>

namespace velmor::restore {

namespace {

// Long enough for every course name of the game, short enough to keep the whole path well
// inside what Windows allows.
constexpr qsizetype MaxCourseLength = 40;

const QRegularExpression &namePattern()
{
    static const QRegularExpression pattern(
        QStringLiteral(R"(^(\d{4})-(\d\d)-(\d\d)T(\d\d)-(\d\d)-(\d\d)-(\d{3})Z_(.+)\.bps$)"));
    return pattern;
}

} // namespace

QString pointFileName(const QDateTime &time, const QString &course)
{
    QString safe;
    for (const QChar c : course.trimmed().left(MaxCourseLength)) {
        const bool refused =
            c.unicode() < 0x20 || c.unicode() > 0x7e || QStringView(u"<>:\"/\\|?*").contains(c);
        safe += refused ? QChar(u'_') : c;
    }
    if (safe.isEmpty())
        safe = QStringLiteral("course");
    return time.toUTC().toString(QStringLiteral("yyyy-MM-dd'T'HH-mm-ss-zzz'Z_'")) + safe
        + QStringLiteral(".bps");
}

QList<PointFile> pointFilesIn(const QString &folder)
{
    QList<PointFile> files;
    const QDir dir(folder);
    for (const QString &name : dir.entryList({QStringLiteral("*.bps")}, QDir::Files)) {
        const QRegularExpressionMatch match = namePattern().match(name);
        if (!match.hasMatch())
            continue;
        const auto field = [&](int k) { return match.capturedView(k).toInt(); };
        const QDateTime time(QDate(field(1), field(2), field(3)),
            QTime(field(4), field(5), field(6), field(7)), QTimeZone::utc());
        if (time.isValid())
            files.append({dir.filePath(name), time, match.captured(8)});
    }
    std::sort(files.begin(), files.end(), [](const PointFile &a, const PointFile &b) {
        return a.time != b.time ? a.time > b.time : a.path > b.path;
    });
    return files;
}

} // namespace velmor::restore
