#pragma once

#include <QLockFile>
#include <QString>

namespace velmor {

// An exclusive lock on a file for the whole of a read-change-write, so that two of Velmor's
// programs writing the same ROM at once (the editor and a script's recomp.exe, say) take turns
// instead of one silently undoing the other. The lock is a file beside the file really written,
// symbolic links followed ("<name>.lock"), so writers that name one file by different links
// still exclude each other. Qt removes it again, also after a holder that died.
class FileLock
{
public:
    // How long a writer waits for another to finish before it gives up.
    static constexpr int DefaultWaitMs = 10000;

    explicit FileLock(const QString &path);
    ~FileLock();
    FileLock(const FileLock &) = delete;
    FileLock &operator=(const FileLock &) = delete;

    // False when another program held the lock for longer than waitMs, or at once when something
    // that is no lock file (a folder, a FIFO) is in the lock file's place; *error then says which,
    // in one line. Where no lock file can be made at all (a folder that is missing or not
    // writable) the file goes unlocked: the write that follows then fails with its own, clearer
    // reason.
    bool lock(QString *error, int waitMs = DefaultWaitMs);
    bool isLocked() const { return mLockFile.isLocked(); }

    static QString lockPathOf(const QString &path);

private:
    // Who holds the lock, as far as its lock file says.
    QString holderText(int waitMs) const;

    QString mPath;
    QString mLockPath;
    QLockFile mLockFile;
};

} // namespace velmor
