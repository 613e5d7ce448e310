#include "platform/file_read.h"

#include "platform/file_target.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace velmor {

namespace {

constexpr qint64 ChunkSize = 64 * 1024;

QString tr(const char *text)
{
    return QCoreApplication::translate("velmor::FileRead", text);
}

QString tooLarge(qint64 size, qint64 limit)
{
    return tr("it holds %1 bytes, more than the %2 such a file may hold").arg(size).arg(limit);
}

} // namespace

QString readRefusal(const QString &path)
{
    const EntryKind kind = entryKindOf(path);
    if (kind == EntryKind::Missing)
        return tr("no such file");
    if (kind != EntryKind::File)
        return tr("it is %1, not a file").arg(describeEntry(kind));
    return {};
}

QString readRefusal(const QString &path, qint64 limit)
{
    if (QString refusal = readRefusal(path); !refusal.isEmpty())
        return refusal;
    const qint64 size = QFileInfo(path).size();
    return size > limit ? tooLarge(size, limit) : QString();
}

std::optional<QByteArray> readAtMost(const QString &path, qint64 limit, QString *reason)
{
    if (const QString refusal = readRefusal(path, limit); !refusal.isEmpty()) {
        *reason = refusal;
        return std::nullopt;
    }
    const qint64 size = QFileInfo(path).size();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *reason = file.errorString();
        return std::nullopt;
    }
    // In pieces up to one past the limit, never more: the size above may be out of date.
    QByteArray bytes;
    bytes.reserve(qsizetype(size));
    char chunk[ChunkSize];
    for (;;) {
        const qint64 got = file.read(chunk, qMin(ChunkSize, limit + 1 - bytes.size()));
        if (got < 0) {
            *reason = file.errorString();
            return std::nullopt;
        }
        if (got == 0)
            break;
        bytes.append(chunk, qsizetype(got));
        if (bytes.size() > limit) {
            *reason = tooLarge(qMax(file.size(), qint64(bytes.size())), limit);
            return std::nullopt;
        }
    }
    return bytes;
}

} // namespace velmor
