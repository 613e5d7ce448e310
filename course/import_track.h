#pragma once

#include "document/course_ref.h"

#include <QString>

namespace velmor {

class CourseMap;
struct Services;
struct TrackState;

// How one opening ended.
enum class ImportResult {
    Opened, // the file described every cell; the map shows it
    Partial, // the file described fewer cells; the rest are "00" and the user was told how many
    Cancelled, // the dialog was cancelled: silent, map unchanged
    Failed, // unreadable or malformed: the user was told what and where, map unchanged
};

// Where an opening takes its file from.
struct ImportSource
{
    enum class Kind {
        TrackOrRom, // "Import Course From File": the dialog offers track files and ROMs
        Rom,        // "Open Course from ROM": the dialog offers ROMs only
    };
    Kind kind = Kind::TrackOrRom;
    // A file chosen already (a recent file): no dialog is shown.
    QString path;
};

// "Import Course From File": asks for a track file or a ROM, decodes it and replaces the whole map
// with its tiles (upper-case texts, marks untouched). From a ROM (.smc or .sfc) it reads the course
// that the course list's current choice names. state.trackPath follows a chosen track
// file so the next track dialog opens in its folder; a ROM leaves it alone, so that no later track
// dialog proposes the ROM's name to be written over. *openedPath, when given, receives the file
// that was opened; *openedBytes, when given, the file's bytes as read (so that what else a ROM
// holds about the course is read from the very bytes its layout came from).
ImportResult importTrack(CourseMap &map, TrackState &state, Services &services,
                         const CourseChoice &choice, const ImportSource &source = {},
                         QString *openedPath = nullptr, QByteArray *openedBytes = nullptr);

} // namespace velmor
