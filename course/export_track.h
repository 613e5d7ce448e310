#pragma once

#include <QStringList>

namespace velmor {

struct Services;
struct TrackState;

namespace track {
struct BadCell;
}

// How one export ended.
enum class ExportResult {
    Written, // the track file is on disk and is now the last export
    Declined, // "No changes?" answered No: nothing else happened
    Cancelled, // the track dialog was cancelled: silent, nothing written
    Failed, // the file could not be written; the user was told where and why
    Refused, // a cell does not hold a tile number; the user was told which
};

// When the map is the one last exported: ask "No changes?" (the buttons, Save), or save anyway
// (Save As, where the user asked for another file on purpose).
enum class UnchangedMap { Ask, SaveAnyway };

// The one export of the program, shared by "Save Course To File" and "From Velmor": encodes the
// cell texts (index order), asks "No changes?" when they match the last export, asks for the
// track file's name, confirms overwriting and writes the file atomically. state.lastExport and
// state.lastExportPath change only when the file has been written; state.trackPath follows every
// completed pick of the dialog.
ExportResult exportTrack(const QStringList &cellTexts, TrackState &state, Services &services,
                         UnchangedMap unchanged = UnchangedMap::Ask);

// What every save of the map says about a cell that holds no tile number: which cell, what it
// holds, and that nothing was written.
QString badCellRefusal(const track::BadCell &cell);

} // namespace velmor
