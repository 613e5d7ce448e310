#pragma once

#include "course/configuration.h"

#include <QString>

namespace velmor {

struct Services;

// "Create Patch…" and "Apply Patch…" as a user runs them from the menu: the dialogs, the
// overwrite question and one message at the end saying what was made or why nothing was. The
// file work is that of velmor-patch (course/patch_file.h), so the two never differ.
class PatchProcedures
{
public:
    enum class Outcome { Done, Cancelled, Refused };

    explicit PatchProcedures(Services &services);

    // The difference between the user's original ROM (UserRomPath, only ever read) and a ROM the
    // user picks, the working ROM proposed; saved as .bps or .ips as the user names it.
    Outcome createPatch(const Configuration &config, const QString &modifiedProposal);
    // A patch applied to a ROM the user picks (the original proposed), written as a new ROM.
    Outcome applyPatch(const Configuration &config);

private:
    // Shows an open or save dialog with all its settings; empty when cancelled. A save dialog
    // asks before an existing file is replaced, and shows itself again on No.
    QString pick(bool save, const QString &title, const QString &filter, const QString &extension,
        const QString &proposal);

    Services &mServices;
};

} // namespace velmor
