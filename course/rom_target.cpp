#include "course/rom_target.h"

#include "course/configuration.h"
#include "platform/file_dialog.h"
#include "platform/file_filters.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "platform/save_dialog.h"
#include "platform/services.h"
#include "rom/rom_image.h"

#include <QCoreApplication>

namespace velmor {

RomTarget chooseRomToWrite(Services &services, const Configuration &settings, const QString &title)
{
    const std::optional<QString> chosen = askSaveName(services, [&](FileDialog &dialog) {
        dialog.setDefaultExtension(QStringLiteral("smc"));
        // The working ROM's exact name, so the suggestion finds it on any file system.
        dialog.setFileName(settings.romBaseName + QStringLiteral("_velmor.smc"));
        dialog.setFilter(filters::romFiles());
        dialog.setTitle(title);
        dialog.setDirectory(settings.romFolder);
    });
    RomTarget target;
    if (!chosen)
        return target;
    target.path = *chosen;
    if (services.files.isFile(target.path)) {
        target.outcome = RomTarget::Outcome::Chosen;
        return target;
    }
    QString error;
    if (!services.files.copyFile(
            settings.userRomPath, target.path, qint64(rom::MaxFileSize), &error)) {
        target.outcome = RomTarget::Outcome::Failed;
        target.error = QCoreApplication::translate("velmor::RomInsertion",
            "The new ROM %1 could not be made as a copy of %2:\n%3")
                           .arg(displayPath(target.path), displayPath(settings.userRomPath), error);
        return target;
    }
    target.outcome = RomTarget::Outcome::Chosen;
    return target;
}

} // namespace velmor
