#pragma once

#include "course/configuration.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace velmor {

class FileSystem;

// The format of "Velmor.cfg": eight lines, each ended by CR LF, a label before each of the four
// values, single-byte text in the system's code page. The format is pure code over bytes; read and
// write put the file system on top.
class ConfigFile
{
public:
    // The eight lines, byte for byte. Fails when a value holds a line end (the file could not be
    // read back) or a character the system's code page cannot store (it would come back changed).
    static std::optional<QByteArray> encode(const Configuration &config, QString *error);

    // Lines 2, 4, 6 and 8. A line ends at CR LF, a lone CR or a lone LF; a last line without an end
    // still counts. Fewer than eight lines, or lines that are no text in the system's code page,
    // fail. Nothing after line 8 is looked at.
    static std::optional<Configuration> decode(const QByteArray &bytes, QString *error);

    // Creates or replaces the file whole; a failure leaves the old file as it was.
    static bool write(FileSystem &files, const QString &path, const Configuration &config,
                      QString *error);
    static std::optional<Configuration> read(const FileSystem &files, const QString &path,
                                             QString *error);
};

} // namespace velmor
