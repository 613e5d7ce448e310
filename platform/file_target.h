#pragma once

#include <QString>

namespace velmor {

// What a path names, as whole-file reads and writes care. Found from the file system's entry
// alone, symbolic links followed: nothing is opened, so a FIFO or a device never blocks the
// caller and is never changed by the asking.
enum class EntryKind { Missing, File, Folder, Device, Fifo, Socket, Other };

EntryKind entryKindOf(const QString &path);

// "a folder", "a device", "a FIFO (a named pipe)", ... for a message that says what is there.
QString describeEntry(EntryKind kind);

// The file a write to path really changes: symbolic links followed to the entry they name, which
// need not exist yet. Two names of one file through links give one answer, so a lock taken on it
// keeps out every writer whatever name it used.
QString writtenPath(const QString &path);

// Why a whole-file write to path must be refused before a byte is written, in a few words ("it
// is a FIFO (a named pipe), not a regular file"); empty when it may be written. Only regular
// files and names not yet taken may be. A file with more than one hard link is refused too:
// replacing it whole would give this name the new bytes and leave the others holding the old.
QString writeRefusal(const QString &path);

} // namespace velmor
