#include "platform/save_dialog.h"

#include "platform/file_dialog.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "platform/services.h"

namespace velmor {

std::optional<QString> askSaveName(Services &services,
    const std::function<void(FileDialog &dialog)> &prepare,
    const std::function<void(const QString &path)> &picked)
{
    for (;;) {
        prepare(services.dialog);
        const std::optional<QString> chosen = services.dialog.showSave();
        if (!chosen)
            return std::nullopt;
        if (picked)
            picked(*chosen);
        if (!services.files.isFile(*chosen) || services.messages.askOverwrite(*chosen))
            return chosen;
    }
}

} // namespace velmor
