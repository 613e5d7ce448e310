#include "course/patch_procedures.h"

#include "course/patch_file.h"
#include "platform/file_filters.h"
#include "platform/file_dialog.h"
#include "platform/save_dialog.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "platform/services.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace velmor {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("velmor::PatchProcedures", text);
}


// "kart_velmor.smc" gives "kart_velmor" + suffix, in the same folder.
QString besides(const QString &path, const QString &suffix)
{
    const QFileInfo info(path);
    return info.absoluteDir().filePath(info.completeBaseName() + suffix);
}

} // namespace

PatchProcedures::PatchProcedures(Services &services)
    : mServices(services)
{ }

QString PatchProcedures::pick(bool save, const QString &title, const QString &filter,
    const QString &extension, const QString &proposal)
{
    const auto prepare = [&](FileDialog &dialog) {
        dialog.setTitle(title);
        dialog.setFilter(filter);
        dialog.setDefaultExtension(extension);
        dialog.setFileName(proposal);
        dialog.setDirectory(proposal.isEmpty() ? QString() : QFileInfo(proposal).absolutePath());
    };
    if (save)
        return askSaveName(mServices, prepare).value_or(QString());
    prepare(mServices.dialog);
    return mServices.dialog.showOpen().value_or(QString());
}

PatchProcedures::Outcome PatchProcedures::createPatch(
    const Configuration &config, const QString &modifiedProposal)
{
    const QString original = config.userRomPath;
    if (original.isEmpty() || !mServices.files.isFile(original)) {
        mServices.messages.inform(
            tr("A patch is the difference from your original ROM, and "
               "Velmor knows none: %1 is not there. Finish the first-run "
               "set-up (delete Velmor.cfg and start Velmor again).")
                .arg(original.isEmpty() ? tr("(none recorded)") : displayPath(original)),
            tr("Patch Not Created"));
        return Outcome::Refused;
    }
    const QString modified = pick(false, tr("Choose the ROM Holding Your Course"), filters::romsToOpen(),
        QStringLiteral("smc"), modifiedProposal);
    if (modified.isEmpty())
        return Outcome::Cancelled;
    const QString out = pick(true, tr("Save the Patch As"), filters::patches(), QStringLiteral("bps"),
        besides(modified, QStringLiteral(".bps")));
    if (out.isEmpty())
        return Outcome::Cancelled;

    const FileOutcome made = createPatchFile(original, modified, out);
    if (!made.ok) {
        mServices.messages.inform(
            tr("No patch was made from %1.\n\n%2").arg(displayPath(modified), made.message),
            tr("Patch Not Created"));
        return Outcome::Refused;
    }
    // The outcome's own words already warn that an IPS patch carries no checksums.
    mServices.messages.inform(
        tr("The patch %1 turns your original ROM into %2.\n\n%3\n\nShare the patch, never the "
           "ROM: whoever has the game's ROM applies it with Apply Patch….")
            .arg(displayPath(out), displayPath(modified), made.message),
        tr("Patch Created"));
    return Outcome::Done;
}

PatchProcedures::Outcome PatchProcedures::applyPatch(const Configuration &config)
{
    const QString patch =
        pick(false, tr("Choose the Patch to Apply"), filters::patches(), QStringLiteral("bps"), QString());
    if (patch.isEmpty())
        return Outcome::Cancelled;
    const QString rom = pick(false, tr("Choose the ROM to Apply It To"), filters::romsToOpen(),
        QStringLiteral("smc"), config.userRomPath);
    if (rom.isEmpty())
        return Outcome::Cancelled;
    const QString out = pick(true, tr("Save the Patched ROM As"), filters::romsToOpen(), QStringLiteral("smc"),
        besides(patch, QStringLiteral(".smc")));
    if (out.isEmpty())
        return Outcome::Cancelled;

    const FileOutcome applied = applyPatchFile(rom, patch, out);
    if (!applied.ok) {
        mServices.messages.inform(tr("%1 was not applied to %2; nothing was written.\n\n%3")
                                      .arg(displayPath(patch), displayPath(rom), applied.message),
            tr("Patch Not Applied"));
        return Outcome::Refused;
    }
    mServices.messages.inform(
        tr("%1 was applied to %2 and written as %3.\n\n%4")
            .arg(displayPath(patch), displayPath(rom), displayPath(out), applied.message),
        tr("Patch Applied"));
    return Outcome::Done;
}

} // namespace velmor
