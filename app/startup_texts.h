#pragma once

#include "platform/file_filters.h"
#include <QString>
#include <QStringList>

// The fixed names and texts of start-up. The product's own texts stay exactly as they are, blanks
// included, so they are kept here rather than passed through tr().
namespace velmor::startup {

// The configuration file, addressed by its bare name in the start-up directory.
inline QString configFileName() { return QStringLiteral("Velmor.cfg"); }
// The configuration check matches this name ignoring letter case.
inline QString configFileNameAnyCase() { return QStringLiteral("velmor.cfg"); }
inline constexpr int ConfigLineCount = 8;
inline constexpr char ConfigLineEnd[] = "\r\n";
// Eight lines of paths and names: anything larger is no configuration and is not read.
inline constexpr qint64 ConfigFileLimit = 1024 * 1024;

// The label lines 1, 3, 5 and 7; a reader skips them without comparing.
inline QString labelRecompPath() { return QStringLiteral("Full Path to RECOMP.EXE"); }
inline QString labelRomFolder() { return QStringLiteral("ROM Folder"); }
inline QString labelUserRomPath() { return QStringLiteral("Original ROM Path"); }
inline QString labelRomBaseName() { return QStringLiteral("ROM name with no Extension"); }

// The compressor's stored name must be exactly this, lower case.
inline QString compressorFileName() { return QStringLiteral("recomp.exe"); }
inline QString backupSuffix() { return QStringLiteral(".bak"); }
inline QString workingRomSuffix() { return QStringLiteral("_velmor.smc"); }
// The cut that turns a ROM's file name into its base name, whatever the characters are.
inline constexpr int RomExtensionLength = 4;

// The controls that need a configuration, in the order they are disabled without one.
inline QStringList insertionControls()
{
    return {QStringLiteral("FromFile"), QStringLiteral("FromVelmor"), QStringLiteral("CourseList")};
}

// Stage A: the compressor.
inline QString welcomeText()
{
    return QStringLiteral("This is the first time you've run Velmor. Please point to your Lunar "
                          "Compress RECOMP.EXE file.");
}
inline QString welcomeTitle() { return QStringLiteral("First time running Velmor?"); }
inline QString wrongCompressorText()
{
    return QStringLiteral("You must have picked the wrong file. Please select your Lunar Compress "
                          "RECOMP.EXE file again.");
}
inline QString wrongCompressorTitle() { return QStringLiteral("That's not RECOMP.EXE!"); }
inline QString noCompressorText()
{
    return QStringLiteral("If you continue on without selecting the Lunar Compress RECOMP.EXE, you "
                          "will not be able to automate the track insertion process. You can "
                          "still, however, export your track for later use.  Would you like to "
                          "continue on anyways?");
}
inline QString noCompressorTitle() { return QStringLiteral("I did not find RECOMP.EXE."); }

// Stage B: the ROM.
inline QString pickRomText()
{
    return QStringLiteral("Now please pick your Super Mario Kart ROM file. Velmor will backup this "
                          "file, and make a duplicate copy to work with.");
}
inline QString pickRomTitle() { return QStringLiteral("Point to your ROM file."); }
inline QString romDialogExtension() { return QStringLiteral("smc"); }
inline QString romDialogFileName() { return QStringLiteral("Super Mario Kart ROM"); }
inline QString romDialogFilter() { return filters::romFiles(); }
inline QString romDialogTitle() { return QStringLiteral("Select your SMK ROM"); }
inline QString noRomText()
{
    return QStringLiteral("If you continue on without selecting your SMK ROM, you will not be able "
                          "to automate the track insertion process. You can still, however, "
                          "export your track for later use.  Would you like to continue on "
                          "anyways?");
}
inline QString noRomTitle() { return QStringLiteral("You did not pick your SMK ROM."); }

// After the backup message, once, when the ROM is not the US game; both arguments as shown.
inline QString notUsRomText(const QString &romFileName, const QString &identity)
{
    return QStringLiteral("%1 is %2. Velmor knows the places of the US ROM only: it can paint and "
                          "save track files, but it will not write courses into this ROM or read "
                          "them from it. Pick the US ROM of Super Mario Kart to work in a ROM.")
        .arg(romFileName, identity);
}
inline QString notUsRomTitle(const QString &romFileName)
{
    return QStringLiteral("%1 is not the US ROM").arg(romFileName);
}

// Stage C: the backup message; both arguments are already in capitals.
inline QString backedUpText(const QString &romFileName, const QString &backupName)
{
    return QStringLiteral("Your %1 was backed up to %2.").arg(romFileName, backupName);
}
inline QString backedUpTitle(const QString &romFileName)
{
    return QStringLiteral("%1 was backed up.").arg(romFileName);
}

} // namespace velmor::startup
