#include "platform/file_target.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <filesystem>

namespace velmor {

namespace {

// Links deeper than this are a loop; the system itself gives up at about the same depth.
constexpr int MaxLinkHops = 40;

QString tr(const char *text)
{
    return QCoreApplication::translate("velmor::FileTarget", text);
}

} // namespace

EntryKind entryKindOf(const QString &path)
{
    if (path.isEmpty())
        return EntryKind::Missing;
    // Qt's resources live inside the program, where the file system cannot see them.
    if (path.startsWith(QLatin1Char(':'))) {
        const QFileInfo resource(path);
        return resource.isFile() ? EntryKind::File
            : resource.isDir()   ? EntryKind::Folder
                                 : EntryKind::Missing;
    }
    std::error_code failed;
    const std::filesystem::file_status status =
        std::filesystem::status(QFileInfo(path).filesystemFilePath(), failed);
    switch (status.type()) {
    case std::filesystem::file_type::regular:
        return EntryKind::File;
    case std::filesystem::file_type::directory:
        return EntryKind::Folder;
    case std::filesystem::file_type::block:
    case std::filesystem::file_type::character:
        return EntryKind::Device;
    case std::filesystem::file_type::fifo:
        return EntryKind::Fifo;
    case std::filesystem::file_type::socket:
        return EntryKind::Socket;
    case std::filesystem::file_type::not_found:
    case std::filesystem::file_type::none:
        return EntryKind::Missing;
    default:
        return EntryKind::Other;
    }
}

QString describeEntry(EntryKind kind)
{
    switch (kind) {
    case EntryKind::Missing:
        return tr("nothing");
    case EntryKind::File:
        return tr("a file");
    case EntryKind::Folder:
        return tr("a folder");
    case EntryKind::Device:
        return tr("a device");
    case EntryKind::Fifo:
        return tr("a FIFO (a named pipe)");
    case EntryKind::Socket:
        return tr("a socket");
    case EntryKind::Other:
        break;
    }
    return tr("a special file");
}

QString writtenPath(const QString &path)
{
    QString current = QFileInfo(path).absoluteFilePath();
    for (int hop = 0; hop < MaxLinkHops; ++hop) {
        const QFileInfo info(current);
        if (!info.isSymbolicLink())
            break;
        // Absolute, a relative target taken from the link's own folder.
        const QString target = info.symLinkTarget();
        if (target.isEmpty())
            break;
        current = target;
    }
    return QDir::cleanPath(current);
}

QString writeRefusal(const QString &path)
{
    const QString target = writtenPath(path);
    if (QFileInfo(target).isSymbolicLink())
        return tr("its symbolic links go round in a circle");
    const EntryKind kind = entryKindOf(target);
    if (kind == EntryKind::Missing)
        return {};
    if (kind == EntryKind::Folder)
        return tr("it is a folder");
    if (kind != EntryKind::File)
        return tr("it is %1, not a regular file").arg(describeEntry(kind));
    std::error_code failed;
    const std::uintmax_t links =
        std::filesystem::hard_link_count(QFileInfo(target).filesystemFilePath(), failed);
    if (!failed && links > 1) {
        return tr("it has %1 names (hard links), and replacing it would leave the other names "
                  "holding the old file; write to a new name, or remove the other links first")
            .arg(links);
    }
    return {};
}

} // namespace velmor
