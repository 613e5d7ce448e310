#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace velmor {

// The few file operations the procedures need. Writes and copies are whole or nothing: a failure
// leaves the destination as it was. Every failure fills *error with what failed and why.
class FileSystem
{
public:
    virtual ~FileSystem() = default;

    // The name of the file at path as the file system stores it: the entry that matches exactly,
    // else one that matches ignoring letter case (as on the system the product was made for), else
    // empty. Folders do not count.
    virtual QString storedName(const QString &path) const = 0;
    virtual bool isFile(const QString &path) const = 0;
    virtual bool copyFile(const QString &from, const QString &to, QString *error) = 0;
    virtual bool writeFile(const QString &path, const QByteArray &bytes, QString *error) = 0;
    virtual std::optional<QByteArray> readFile(const QString &path, QString *error) const = 0;
};

// Writes the file through a temporary one that replaces it only when complete, so a failure
// leaves the old file whole; *reason gets the system's words. Takes no lock: callers that must
// keep other writers out hold the file's FileLock around it.
bool writeWholeFile(const QString &path, const QByteArray &bytes, QString *reason);

// The real file system, through Qt.
class QtFileSystem : public FileSystem
{
public:
    QString storedName(const QString &path) const override;
    bool isFile(const QString &path) const override;
    bool copyFile(const QString &from, const QString &to, QString *error) override;
    bool writeFile(const QString &path, const QByteArray &bytes, QString *error) override;
    std::optional<QByteArray> readFile(const QString &path, QString *error) const override;
};

} // namespace velmor
