#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

// How restore points are named on disk: "2025-03-14T15-30-12-345Z_Mario Circuit 1.bps", the time
// of the save in UTC to the millisecond, of fixed width so that the names sort as the times do,
// then the course, with every character outside printable ASCII or refused by Windows
// (<>:"/\|?*) as "_".
namespace velmor::restore {

// A point's file as its name describes it.
struct PointFile
{
    QString path;
    QDateTime time; // UTC
    QString course;
};

QString pointFileName(const QDateTime &time, const QString &course);

// The files of the folder named as points are, newest first; anything else there (a write in
// progress, a user's own file) is none of them. No folder: none.
QList<PointFile> pointFilesIn(const QString &folder);

} // namespace velmor::restore
