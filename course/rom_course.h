#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace velmor {

// A course read back out of a ROM: the ROM stream at the course's offset decoded, and the result
// decoded again as a track stream, as the game itself does. Pure over bytes, so every refusal can
// be checked in memory.
struct RomCourse
{
    enum class Fault {
        None,
        NotRom, // the size is no SNES ROM size, so where the course lies cannot be known
        OutsideRom, // the course's offset is not inside the ROM
        NoStream, // the bytes at the offset are no valid compressed stream
        NoTrack, // the stream decodes, but not to a track of at most one map of tiles
    };

    Fault fault = Fault::None;
    // On success a full map of upper-case tile texts; cells the course did not describe hold "00".
    QStringList texts;
    // How many tiles the course itself described.
    int tileCount = 0;
    // Where the course's stream starts in this file, after allowing for a missing copier header.
    qint64 streamOffset = 0;
    // On failure: what is wrong and where, with file offsets in hexadecimal.
    QString error;

    bool ok() const { return fault == Fault::None; }
};


// Whether a chosen file is opened as a ROM: its extension, in any letter case.
bool isRomPath(const QString &path);

// courseOffset is a course table offset, counted in a ROM with the copier header; a ROM without
// the header holds the same course 0x200 bytes earlier.
RomCourse readRomCourse(const QByteArray &rom, qint64 courseOffset);

} // namespace velmor
