#include "app/first_run.h"

#include "app/config_file.h"
#include "app/startup_texts.h"
#include "platform/file_dialog.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "platform/services.h"
#include "platform/byte_span.h"
#include "rom/rom_identity.h"
#include "rom/rom_image.h"

#include <QDir>

namespace velmor {

FirstRunSetup::FirstRunSetup(Services &services, const QString &startDirectory)
    : mServices(services)
    , mStartDirectory(startDirectory)
{
}

bool FirstRunSetup::run(StartupState *state)
{
    state->firstRun = true;
    state->setupCompleted = pickCompressor(state) && pickRomAndCopy(state);
    return state->setupCompleted;
}

bool FirstRunSetup::pickCompressor(StartupState *state)
{
    mServices.messages.inform(startup::welcomeText(), startup::welcomeTitle());
    for (;;) {
        // No settings here: the dialog shows what it holds, on the first showing its initial
        // "Point to recomp.exe" state.
        const std::optional<QString> chosen = mServices.dialog.showOpen();
        keepStartDirectory();
        if (!chosen) {
            if (mServices.messages.askYesNo(startup::noCompressorText(),
                                            startup::noCompressorTitle()))
                return false;
            continue;
        }
        state->config.recompPath = *chosen;
        // Exact, lower case: a file stored as RECOMP.EXE is not the one, nor is a missing file.
        if (mServices.files.storedName(*chosen) == startup::compressorFileName())
            return true;
        mServices.messages.inform(startup::wrongCompressorText(), startup::wrongCompressorTitle());
    }
}

bool FirstRunSetup::pickRomAndCopy(StartupState *state)
{
    mServices.messages.inform(startup::pickRomText(), startup::pickRomTitle());
    for (;;) {
        if (tryRom(state) == Outcome::Done)
            return true;
        // Yes keeps whatever was done before the failure: the values and any copies made.
        if (mServices.messages.askYesNo(startup::noRomText(), startup::noRomTitle()))
            return false;
    }
}

FirstRunSetup::Outcome FirstRunSetup::tryRom(StartupState *state)
{
    FileDialog &dialog = mServices.dialog;
    FileSystem &files = mServices.files;
    Configuration &config = state->config;

    dialog.setDefaultExtension(startup::romDialogExtension());
    dialog.setFileName(startup::romDialogFileName());
    dialog.setFilter(startup::romDialogFilter());
    dialog.setTitle(startup::romDialogTitle());
    const std::optional<QString> chosen = dialog.showOpen();
    keepStartDirectory();
    if (!chosen) {
        mError = QStringLiteral("No ROM was picked.");
        return Outcome::Failed;
    }
    config.userRomPath = *chosen;
    state->romFileName = files.storedName(config.userRomPath);
    config.romFolder = config.userRomPath.left(config.userRomPath.size()
                                               - state->romFileName.size());

    // The found name addresses the user's ROM also where letter case matters to the file system,
    // as it would where the product was made; a missing ROM leaves the chosen path, which fails.
    const QString source = state->romFileName.isEmpty() ? config.userRomPath
                                                        : config.romFolder + state->romFileName;
    const QString backup = config.romFolder + state->romFileName + startup::backupSuffix();
    if (!files.copyFile(source, backup, qint64(rom::MaxFileSize), &mError))
        return Outcome::Failed;
    mServices.messages.inform(
        startup::backedUpText(displayPath(state->romFileName),
                              displayPath(state->romFileName + startup::backupSuffix())),
        startup::backedUpTitle(displayPath(state->romFileName)));
    noteWhichRom(source, displayPath(state->romFileName));

    if (state->romFileName.size() < startup::RomExtensionLength) {
        mError = QStringLiteral("The ROM's file name \"%1\" is too short to lose an extension.")
                     .arg(state->romFileName);
        return Outcome::Failed;
    }
    config.romBaseName = state->romFileName.chopped(startup::RomExtensionLength);
    state->targetRom = config.romBaseName + startup::workingRomSuffix();
    if (!files.copyFile(
            source, config.romFolder + state->targetRom, qint64(rom::MaxFileSize), &mError))
        return Outcome::Failed;

    const QString configPath = QDir(mStartDirectory).filePath(startup::configFileName());
    if (!ConfigFile::write(files, configPath, config, &mError))
        return Outcome::Failed;
    mError.clear();
    return Outcome::Done;
}

void FirstRunSetup::noteWhichRom(const QString &path, const QString &shownName)
{
    // The set-up only copies the file; what it is matters later, when Velmor writes into it.
    // A file that is no ROM at all says so itself at the first course opened from it.
    const std::optional<QByteArray> bytes =
        mServices.files.readFile(path, qint64(rom::MaxFileSize), nullptr);
    if (!bytes)
        return;
    const rom::RomIdentity identity = rom::identifyRom(byteView(*bytes));
    if (!identity.readable || identity.isUsGame())
        return;
    mServices.messages.inform(startup::notUsRomText(shownName,
                                  QString::fromStdString(identity.describe())),
        startup::notUsRomTitle(shownName));
}

void FirstRunSetup::keepStartDirectory() const
{
    // Some platform dialogs move the current directory; the program's files stay where it started.
    if (QDir::current() != QDir(mStartDirectory))
        QDir::setCurrent(mStartDirectory);
}

} // namespace velmor
