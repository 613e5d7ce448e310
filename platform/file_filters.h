#pragma once

#include <QString>

// The kinds of file the dialogs offer, in the dialog's "description|patterns" form: written once,
// since the first run, the insertion, the openers and the patch entries share them.
namespace velmor::filters {

// Track files: "BIN Files (*.bin)|*.bin".
inline QString trackFiles()
{
    return QStringLiteral("BIN Files (*.bin)|*.bin");
}
// The ROM dialogs of the first run and of insertion, as the product has them.
inline QString romFiles()
{
    return QStringLiteral("SNES Files (*.smc)|*.smc");
}
// ROMs to read from, with or without the copier header's usual extension.
inline QString romsToOpen()
{
    return QStringLiteral("SNES Files (*.smc *.sfc)|*.smc;*.sfc");
}
inline QString patches()
{
    return QStringLiteral("BPS Patches (*.bps)|*.bps|IPS Patches (*.ips)|*.ips");
}
inline QString pngImages()
{
    return QStringLiteral("PNG Images (*.png)|*.png");
}

} // namespace velmor::filters
