#include "platform/file_lock.h"

#include "platform/file_target.h"

#include <QCoreApplication>
#include <QDir>

namespace velmor {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("velmor::FileLock", text);
}

} // namespace

QString FileLock::lockPathOf(const QString &path)
{
    return writtenPath(path) + QStringLiteral(".lock");
}

FileLock::FileLock(const QString &path)
    : mPath(path)
    , mLockPath(lockPathOf(path))
    , mLockFile(mLockPath)
{
    // Writes take a second at most; a lock this old belongs to a holder that hung or died.
    mLockFile.setStaleLockTime(60 * 1000);
}

FileLock::~FileLock()
{
    if (mLockFile.isLocked())
        mLockFile.unlock();
}

bool FileLock::lock(QString *error, int waitMs)
{
    // Qt would wait the whole time for a folder to go away, and reading a FIFO in the lock file's
    // place to learn its holder would never return.
    const EntryKind kind = entryKindOf(mLockPath);
    if (kind != EntryKind::Missing && kind != EntryKind::File) {
        if (error) {
            *error =
                tr("cannot lock %1: %2 is where its lock file %3 goes; remove it and try again")
                    .arg(QDir::toNativeSeparators(mPath), describeEntry(kind),
                        QDir::toNativeSeparators(mLockPath));
        }
        return false;
    }
    if (mLockFile.tryLock(waitMs))
        return true;
    if (mLockFile.error() != QLockFile::LockFailedError)
        return true;
    if (error)
        *error = holderText(waitMs);
    return false;
}

QString FileLock::holderText(int waitMs) const
{
    const QString shown = QDir::toNativeSeparators(mPath);
    const QString seconds = QString::number(waitMs / 1000.0);
    qint64 pid = 0;
    QString host;
    QString application;
    if (!mLockFile.getLockInfo(&pid, &host, &application)) {
        return tr("%1 stayed locked for %2 s by its lock file %3, which names no program "
                  "holding it; if no program is writing %1, remove that file and try again")
            .arg(shown, seconds, QDir::toNativeSeparators(mLockPath));
    }
    return tr("%1 is being written by another program (%2, process %3), which did not finish "
              "within %4 s")
        .arg(shown, application.isEmpty() ? tr("unnamed") : application, QString::number(pid),
            seconds);
}

} // namespace velmor
