#pragma once

#include <QString>

namespace velmor {

// The four values that "Velmor.cfg" records, kept by the window for the whole run and read by
// insertion. All empty until start-up sets them.
struct Configuration
{
    QString recompPath;  // RecompPath: the compressor as chosen
    QString romFolder;   // RomFolder: the ROM's folder, ending with its separator
    QString userRomPath; // UserRomPath: the user's ROM as chosen
    QString romBaseName; // RomBaseName: the ROM's file name without its last four characters

    bool operator==(const Configuration &other) const = default;
};

} // namespace velmor
