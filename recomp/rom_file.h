#pragma once

#include <QString>

#include <cstddef>

// The file side of the tools: read, check, and replace files whole or not at all.
namespace velmor::recomp {

struct FileOutcome
{
    bool ok = false;
    // One line: the success summary, or what failed and why.
    QString message;
};

// Compresses the input file into the ROM file at offset. The ROM is replaced atomically and
// only after the new slot has been decoded back to the input; on any refusal it is not touched.
FileOutcome insertFile(const QString &inputPath, const QString &romPath, std::size_t offset);

// Decodes the stream at offset in the ROM file and writes the bytes to the output file atomically.
FileOutcome extractFile(const QString &romPath, const QString &outputPath, std::size_t offset);

} // namespace velmor::recomp
