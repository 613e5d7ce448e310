#pragma once

#include <QString>

namespace velmor {

// What export and insertion share between presses, kept by the window for the whole run.
struct TrackState
{
    // LastExport: the hexadecimal text of the last export that reached the disk.
    QString lastExport;
    // The track file that holds lastExport.
    QString lastExportPath;
    // TrackPath: the path last chosen in a track dialog.
    QString trackPath;
    // TargetRom: the ROM last chosen in the ROM dialog.
    QString targetRom;
};

} // namespace velmor
