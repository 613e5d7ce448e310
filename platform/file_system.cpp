#include "platform/file_system.h"

#include "platform/file_lock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace velmor {

namespace {

void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

QString describe(const QString &what, const QString &path, const QString &reason)
{
    return QStringLiteral("%1 %2: %3").arg(what, QDir::toNativeSeparators(path), reason);
}

} // namespace

QString QtFileSystem::storedName(const QString &path) const
{
    if (path.isEmpty())
        return {};
    const QFileInfo info(path);
    const QString wanted = info.fileName();
    if (wanted.isEmpty())
        return {};
    const QStringList entries
        = info.dir().entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    if (entries.contains(wanted, Qt::CaseSensitive))
        return wanted;
    for (const QString &entry : entries) {
        if (entry.compare(wanted, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return {};
}

bool QtFileSystem::isFile(const QString &path) const
{
    return !path.isEmpty() && QFileInfo(path).isFile();
}

bool QtFileSystem::copyFile(const QString &from, const QString &to, QString *error)
{
    // A ROM copied into place must not race a compressor writing the same file.
    FileLock lock(to);
    if (!lock.lock(error))
        return false;
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly)) {
        setError(error, describe(QStringLiteral("Cannot read"), from, source.errorString()));
        return false;
    }
    // QSaveFile writes beside the destination and renames at commit, so a copy that fails half-way
    // leaves no half-written file behind.
    QSaveFile target(to);
    if (!target.open(QIODevice::WriteOnly)) {
        setError(error, describe(QStringLiteral("Cannot write"), to, target.errorString()));
        return false;
    }
    char buffer[64 * 1024];
    for (;;) {
        const qint64 got = source.read(buffer, sizeof buffer);
        if (got < 0) {
            setError(error, describe(QStringLiteral("Cannot read"), from, source.errorString()));
            target.cancelWriting();
            return false;
        }
        if (got == 0)
            break;
        if (target.write(buffer, got) != got) {
            setError(error, describe(QStringLiteral("Cannot write"), to, target.errorString()));
            target.cancelWriting();
            return false;
        }
    }
    if (!target.commit()) {
        setError(error, describe(QStringLiteral("Cannot write"), to, target.errorString()));
        return false;
    }
    return true;
}

bool writeWholeFile(const QString &path, const QByteArray &bytes, QString *reason)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *reason = file.errorString();
        return false;
    }
    if (file.write(bytes) != bytes.size()) {
        *reason = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        *reason = file.errorString();
        return false;
    }
    return true;
}

bool QtFileSystem::writeFile(const QString &path, const QByteArray &bytes, QString *error)
{
    FileLock lock(path);
    if (!lock.lock(error))
        return false;
    QString reason;
    if (!writeWholeFile(path, bytes, &reason)) {
        setError(error, describe(QStringLiteral("Cannot write"), path, reason));
        return false;
    }
    return true;
}

std::optional<QByteArray> QtFileSystem::readFile(const QString &path, QString *error) const
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        setError(error, describe(QStringLiteral("Cannot read"), path, file.errorString()));
        return std::nullopt;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        setError(error, describe(QStringLiteral("Cannot read"), path, file.errorString()));
        return std::nullopt;
    }
    return bytes;
}

} // namespace velmor
