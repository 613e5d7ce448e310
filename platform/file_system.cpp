#include "platform/file_system.h"

#include "platform/file_lock.h"
#include "platform/file_read.h"
#include "platform/file_target.h"
#include "platform/whole_file_write.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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

bool QtFileSystem::copyFile(const QString &from, const QString &to, qint64 limit, QString *error)
{
    // Asked first: opening a FIFO to read it would wait for a writer that never comes, and a
    // lock file made beside a device or a FIFO would be one for nothing.
    if (const QString refusal = readRefusal(from, limit); !refusal.isEmpty()) {
        setError(error, describe(QStringLiteral("Cannot read"), from, refusal));
        return false;
    }
    if (const QString refusal = writeRefusal(to); !refusal.isEmpty()) {
        setError(error, describe(QStringLiteral("Cannot write"), to, refusal));
        return false;
    }
    // A ROM copied into place must not race a compressor writing the same file.
    FileLock lock(to);
    if (!lock.lock(error))
        return false;
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly)) {
        setError(error, describe(QStringLiteral("Cannot read"), from, source.errorString()));
        return false;
    }
    WholeFileWrite target(to);
    QString reason;
    if (!target.open(&reason)) {
        setError(error, describe(QStringLiteral("Cannot write"), to, reason));
        return false;
    }
    char buffer[64 * 1024];
    for (;;) {
        const qint64 got = source.read(buffer, sizeof buffer);
        if (got < 0) {
            setError(error, describe(QStringLiteral("Cannot read"), from, source.errorString()));
            return false;
        }
        if (got == 0)
            break;
        if (!target.write(buffer, got, &reason)) {
            setError(error, describe(QStringLiteral("Cannot write"), to, reason));
            return false;
        }
    }
    if (!target.commit(&reason)) {
        setError(error, describe(QStringLiteral("Cannot write"), to, reason));
        return false;
    }
    return true;
}

bool QtFileSystem::writeFile(const QString &path, const QByteArray &bytes, QString *error)
{
    QString reason;
    if (!writeLockedFile(path, bytes, &reason)) {
        setError(error, describe(QStringLiteral("Cannot write"), path, reason));
        return false;
    }
    return true;
}

std::optional<QByteArray> QtFileSystem::readFile(
    const QString &path, qint64 limit, QString *error) const
{
    QString reason;
    std::optional<QByteArray> bytes = readAtMost(path, limit, &reason);
    if (!bytes)
        setError(error, describe(QStringLiteral("Cannot read"), path, reason));
    return bytes;
}

} // namespace velmor
