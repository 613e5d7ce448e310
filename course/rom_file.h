#pragma once

#include <QString>
#include <QStringList>

#include <cstddef>

// Compressed streams in ROM files, as the command-line tools work with them: read, check, and
// replace files whole or not at all, each ROM locked for the whole of a change.
namespace velmor {

struct FileOutcome
{
    bool ok = false;
    // The success summary, or what failed and why, in one line.
    QString message;
};

// Compresses the input file into the ROM file at offset, within the room the place has; in the
// US game a course that outgrows its slot moves into an expanded image's added banks, and the
// header's checksum is fixed. A course's offset in another region's image is refused. The ROM
// is replaced atomically and only after the new stream has been decoded back to the input; on
// any refusal it is left byte for byte as it was.
FileOutcome insertFile(const QString &inputPath, const QString &romPath, std::size_t offset);

// Decodes the stream at offset in the ROM file and writes the bytes to the output file
// atomically. The output may not be the ROM file itself, under any name.
FileOutcome extractFile(const QString &romPath, const QString &outputPath, std::size_t offset);

// Every course of the ROM, one line each after a heading (the lines are in the message).
FileOutcome listCourses(const QString &romPath);

// Expand ROM: the US image grown to 8, 16 or 32 Mbit written to the output file, which may not be
// the ROM itself; the ROM is only read.
FileOutcome expandFile(const QString &romPath, const QString &outputPath, int megabits);

// What velmor-rom info prints (the lines are in the message).
FileOutcome describeRom(const QString &romPath);

} // namespace velmor
