#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace velmor {

// The few file operations the procedures need. Writes and copies are whole or nothing: a failure
// leaves the destination as it was; they go through WholeFileWrite, under the destination's lock.
// Reads take a limit that is checked against the size on disk before reading. Every failure fills
// *error with what failed and why.
class FileSystem
{
public:
    virtual ~FileSystem() = default;

    // The name of the file at path as the file system stores it: the entry that matches exactly,
    // else one that matches ignoring letter case (as on the system the product was made for), else
    // empty. Folders do not count.
    virtual QString storedName(const QString &path) const = 0;
    virtual bool isFile(const QString &path) const = 0;
    // Refuses a source of more than limit bytes before copying a byte.
    virtual bool copyFile(const QString &from, const QString &to, qint64 limit, QString *error) = 0;
    virtual bool writeFile(const QString &path, const QByteArray &bytes, QString *error) = 0;
    // Refuses a file of more than limit bytes before reading it.
    virtual std::optional<QByteArray> readFile(
        const QString &path, qint64 limit, QString *error) const = 0;
};

// The real file system, through Qt.
class QtFileSystem : public FileSystem
{
public:
    QString storedName(const QString &path) const override;
    bool isFile(const QString &path) const override;
    bool copyFile(const QString &from, const QString &to, qint64 limit, QString *error) override;
    bool writeFile(const QString &path, const QByteArray &bytes, QString *error) override;
    std::optional<QByteArray> readFile(
        const QString &path, qint64 limit, QString *error) const override;
};

} // namespace velmor
