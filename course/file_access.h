#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Whole files for the command-line tools and the menu entries over them: read with a reason a
// user understands, written whole or not at all, and the checks that keep an output from
// replacing an input.
namespace velmor::files {

// A path as the system shows it (backslashes on Windows).
QString shown(const QString &path);

// The file's bytes, or nothing and *error saying "cannot read the <role> <path>: why" (a folder,
// no such file, the system's reason).
std::optional<QByteArray> readWhole(const QString &path, const QString &role, QString *error);

// Through a temporary file that replaces path only when complete: a failed write leaves the old
// file whole. *error gets the system's reason.
bool writeAtomically(const QString &path, const QByteArray &bytes, QString *error);

// An existing file its owner made read-only; the permission check alone would let an
// administrator through.
bool isReadOnly(const QString &path);

// The same file under two names: a symbolic link, a second hard link, or the same path twice.
bool isSameFile(const QString &a, const QString &b);

} // namespace velmor::files
