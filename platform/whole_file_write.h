#pragma once

#include <QByteArray>
#include <QSaveFile>
#include <QString>

namespace velmor {

// The one way Velmor opens a file for writing. The bytes go to a temporary file beside the real
// one, which replaces it only at commit, so a failure or a kill leaves the old file whole.
// Symbolic links are followed: the file they name is written and the links stay. Refused before a
// byte is written: an entry that is not a regular file (a folder, a device, a FIFO, a socket) and
// a file with more than one hard link (see writeRefusal). Takes no lock: callers that must keep
// other writers out hold the file's FileLock around it.
class WholeFileWrite
{
public:
    explicit WholeFileWrite(const QString &path);
    WholeFileWrite(const WholeFileWrite &) = delete;
    WholeFileWrite &operator=(const WholeFileWrite &) = delete;
    // Without a commit (also when destroyed before one), nothing of the write is left.

    // Each false puts the reason in *reason in a few words, and the file stays as it was.
    bool open(QString *reason);
    bool write(const char *data, qint64 size, QString *reason);
    bool commit(QString *reason);

private:
    QString mPath;
    QSaveFile mFile;
};

// Writes bytes whole or not at all, as WholeFileWrite does.
bool writeWholeFile(const QString &path, const QByteArray &bytes, QString *reason);

// The same under the file's FileLock, so that no other Velmor program writes it meanwhile; a lock
// that cannot be had is the reason then.
bool writeLockedFile(const QString &path, const QByteArray &bytes, QString *reason);

} // namespace velmor
