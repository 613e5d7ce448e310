#include "course/file_access.h"

#include "platform/file_lock.h"
#include "platform/file_system.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>

namespace velmor::files {

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

std::optional<QByteArray> readWhole(const QString &path, const QString &role, QString *error)
{
    const QFileInfo info(path);
    if (info.isDir()) {
        *error = QStringLiteral("cannot read the %1 %2: it is a folder, not a file")
                     .arg(role, shown(path));
        return std::nullopt;
    }
    if (!info.isFile()) {
        *error = QStringLiteral("cannot read the %1 %2: no such file").arg(role, shown(path));
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error =
            QStringLiteral("cannot read the %1 %2: %3").arg(role, shown(path), file.errorString());
        return std::nullopt;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *error =
            QStringLiteral("cannot read the %1 %2: %3").arg(role, shown(path), file.errorString());
        return std::nullopt;
    }
    return bytes;
}

bool isReadOnly(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() && (!info.isWritable() || !(info.permissions() & QFileDevice::WriteOwner));
}

bool isSameFile(const QString &a, const QString &b)
{
    std::error_code failed;
    const bool same = std::filesystem::equivalent(
        std::filesystem::path(a.toStdWString()), std::filesystem::path(b.toStdWString()), failed);
    return !failed && same;
}

bool isUsableOutput(
    const QString &outPath, const QList<std::pair<QString, QString>> &inputs, QString *error)
{
    for (const auto &[role, path] : inputs) {
        if (isSameFile(outPath, path)) {
            *error = QStringLiteral("the output file %1 is the %2 itself; choose another name")
                         .arg(shown(outPath), role);
            return false;
        }
    }
    if (QFileInfo(outPath).isDir()) {
        *error =
            QStringLiteral("cannot write the output file %1: it is a folder").arg(shown(outPath));
        return false;
    }
    if (isReadOnly(outPath)) {
        *error =
            QStringLiteral("cannot write the output file %1: it is read-only").arg(shown(outPath));
        return false;
    }
    return true;
}

bool writeOutput(const QString &outPath, const QByteArray &bytes, QString *error)
{
    QString why;
    FileLock lock(outPath);
    if (!lock.lock(&why) || !writeWholeFile(outPath, bytes, &why)) {
        *error = QStringLiteral("cannot write the output file %1: %2").arg(shown(outPath), why);
        return false;
    }
    return true;
}

} // namespace velmor::files
