#include "platform/whole_file_write.h"

#include "platform/file_lock.h"
#include "platform/file_target.h"

namespace velmor {

WholeFileWrite::WholeFileWrite(const QString &path)
    : mPath(path)
    , mFile(writtenPath(path))
{ }

bool WholeFileWrite::open(QString *reason)
{
    // Asked of the entry alone: opening a FIFO or a device to find out could block or change it.
    const QString refusal = writeRefusal(mPath);
    if (!refusal.isEmpty()) {
        *reason = refusal;
        return false;
    }
    if (!mFile.open(QIODevice::WriteOnly)) {
        *reason = mFile.errorString();
        return false;
    }
    return true;
}

bool WholeFileWrite::write(const char *data, qint64 size, QString *reason)
{
    if (mFile.write(data, size) != size) {
        *reason = mFile.errorString();
        mFile.cancelWriting();
        return false;
    }
    return true;
}

bool WholeFileWrite::commit(QString *reason)
{
    if (!mFile.commit()) {
        *reason = mFile.errorString();
        return false;
    }
    return true;
}

bool writeWholeFile(const QString &path, const QByteArray &bytes, QString *reason)
{
    WholeFileWrite file(path);
    return file.open(reason) && file.write(bytes.constData(), bytes.size(), reason)
        && file.commit(reason);
}

bool writeLockedFile(const QString &path, const QByteArray &bytes, QString *reason)
{
    // Before the lock: no lock file is made beside a device or a FIFO that will not be written.
    if (const QString refusal = writeRefusal(path); !refusal.isEmpty()) {
        *reason = refusal;
        return false;
    }
    FileLock lock(path);
    return lock.lock(reason) && writeWholeFile(path, bytes, reason);
}

} // namespace velmor
