#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>
#include <utility>

// Whole files for the command-line tools and the menu entries over them: read within a limit with
// a reason a user understands, written whole or not at all, and the checks that keep an output
// from replacing an input or anything that is not a regular file.
namespace velmor::files {

// A text on one line whatever it holds: line breaks, tabs and other control characters become
// escapes ("\n", "\t", "\x1b"), so that a message quoting a user's text stays one line.
QString oneLine(const QString &text);

// A path as the system shows it (backslashes on Windows), on one line.
QString shown(const QString &path);

// The file's bytes, or nothing and *error saying "cannot read the <role> <path>: why" (a folder,
// a FIFO, no such file, more than limit bytes by its size on disk, the system's reason).
std::optional<QByteArray> readWhole(
    const QString &path, const QString &role, qint64 limit, QString *error);

// An existing file its owner made read-only; the permission check alone would let an
// administrator through.
bool isReadOnly(const QString &path);

// The same file under two names: a symbolic link, a second hard link, or the same path twice.
bool isSameFile(const QString &a, const QString &b);

// A place a tool may write its output: not one of its inputs under any name (each given with its
// role, "ROM file"), a regular file or no file yet (not a folder, a FIFO, a device; see
// writeRefusal), not read-only. Otherwise *error says which, naming the output.
bool isUsableOutput(
    const QString &outPath, const QList<std::pair<QString, QString>> &inputs, QString *error);

// Writes the output whole or not at all, holding the file's lock meanwhile so that no other
// Velmor writes it at the same time; *error: "cannot write the output file <path>: why".
bool writeOutput(const QString &outPath, const QByteArray &bytes, QString *error);

} // namespace velmor::files
