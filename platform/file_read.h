#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace velmor {

// The bytes of a whole file of at most limit bytes. The file's size on disk is checked before a
// byte is read, so a file far over the limit costs nothing; one that grows past it while being
// read is refused too. What is not a regular file (a folder, a FIFO, a device) is refused without
// being opened. On failure *reason says why in a few words: "no such file", "it holds 4294967296
// bytes, more than the 4194816 such a file may hold", the system's words.
std::optional<QByteArray> readAtMost(const QString &path, qint64 limit, QString *reason);

// Why path cannot be read as a file, found without opening it: "no such file", "it is a FIFO (a
// named pipe), not a file"; empty when it is a regular file.
QString readRefusal(const QString &path);
// The same, and a file of more than limit bytes by its size on disk.
QString readRefusal(const QString &path, qint64 limit);

} // namespace velmor
