#include "app/recent_files.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace velmor {

namespace {

const QString SettingsKey = QStringLiteral("recentFiles");

QSettings settings()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Velmor"),
        QStringLiteral("Velmor"));
}

} // namespace

RecentFiles::RecentFiles(QObject *parent)
    : QObject(parent)
{ }

QStringList RecentFiles::files() const
{
    QStringList existing;
    for (const QString &path : settings().value(SettingsKey).toStringList()) {
        if (QFileInfo(path).isFile())
            existing.append(path);
    }
    return existing;
}

void RecentFiles::add(const QString &path)
{
    if (path.isEmpty())
        return;
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    QStringList list = files();
    list.removeAll(absolute);
    list.prepend(absolute);
    while (list.size() > MaxFiles)
        list.removeLast();
    store(list);
}

void RecentFiles::clear()
{
    store({});
}

void RecentFiles::store(const QStringList &files)
{
    QSettings stored = settings();
    stored.setValue(SettingsKey, files);
    stored.sync();
    emit changed();
}

} // namespace velmor
