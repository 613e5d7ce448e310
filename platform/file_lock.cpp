#include "platform/file_lock.h"

#include <QCoreApplication>
#include <QDir>

namespace velmor {

FileLock::FileLock(const QString &path)
    : mPath(path)
    , mLockFile(lockPathOf(path))
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
    if (mLockFile.tryLock(waitMs))
        return true;
    if (mLockFile.error() != QLockFile::LockFailedError)
        return true;
    if (error) {
        qint64 pid = 0;
        QString host, application;
        mLockFile.getLockInfo(&pid, &host, &application);
        *error = QCoreApplication::translate("velmor::FileLock",
            "%1 is being written by another program (%2, "
            "process %3), which did not finish within %4 s")
                     .arg(QDir::toNativeSeparators(mPath),
                         application.isEmpty() ? QStringLiteral("?") : application)
                     .arg(pid)
                     .arg(waitMs / 1000.0);
    }
    return false;
}

} // namespace velmor
