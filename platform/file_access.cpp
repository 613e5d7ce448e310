#include "platform/file_access.h"

#include "platform/file_read.h"
#include "platform/file_target.h"
#include "platform/whole_file_write.h"

#include <QDir>
#include <QFileInfo>

#include <filesystem>

namespace velmor::files {

QString oneLine(const QString &text)
{
    QString line;
    line.reserve(text.size());
    for (const QChar c : text) {
        const char16_t code = c.unicode();
        if (code == u'\n')
            line += QStringLiteral("\\n");
        else if (code == u'\r')
            line += QStringLiteral("\\r");
        else if (code == u'\t')
            line += QStringLiteral("\\t");
        else if (code < 0x20 || code == 0x7f || code == 0x85 || code == 0x2028 || code == 0x2029)
            line += QStringLiteral("\\x%1").arg(int(code), 2, 16, QLatin1Char('0'));
        else
            line += c;
    }
    return line;
}

QString shown(const QString &path)
{
    return oneLine(QDir::toNativeSeparators(path));
}

std::optional<QByteArray> readWhole(
    const QString &path, const QString &role, qint64 limit, QString *error)
{
    QString reason;
    std::optional<QByteArray> bytes = readAtMost(path, limit, &reason);
    if (!bytes)
        *error = QStringLiteral("cannot read the %1 %2: %3").arg(role, shown(path), reason);
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
        QFileInfo(a).filesystemFilePath(), QFileInfo(b).filesystemFilePath(), failed);
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
    if (const QString refusal = writeRefusal(outPath); !refusal.isEmpty()) {
        *error = QStringLiteral("cannot write the output file %1: %2").arg(shown(outPath), refusal);
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
    if (!writeLockedFile(outPath, bytes, &why)) {
        *error = QStringLiteral("cannot write the output file %1: %2").arg(shown(outPath), why);
        return false;
    }
    return true;
}

} // namespace velmor::files
