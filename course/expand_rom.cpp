#include "course/expand_rom.h"

#include "course/rom_file.h"
#include "platform/byte_span.h"
#include "platform/file_dialog.h"
#include "platform/file_filters.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "platform/save_dialog.h"
#include "platform/services.h"
#include "rom/rom_identity.h"
#include "rom/rom_image.h"

#include <QDir>
#include <QFileInfo>

namespace velmor {

namespace {

constexpr std::size_t Megabit = 0x20000;

QString notExpandedTitle()
{
    return ExpandRom::tr("ROM Not Expanded");
}

} // namespace

ExpandRom::ExpandRom(Services &services)
    : mServices(services)
{ }

ExpandRom::Outcome ExpandRom::refuse(const QString &text)
{
    mServices.messages.inform(text, notExpandedTitle());
    return Outcome::Refused;
}

ExpandRom::Outcome ExpandRom::run(const QString &proposal)
{
    mWritten.clear();
    FileDialog &dialog = mServices.dialog;
    dialog.setTitle(tr("Choose the ROM to Expand"));
    dialog.setFilter(filters::romsToOpen());
    dialog.setDefaultExtension(QStringLiteral("smc"));
    dialog.setFileName(proposal);
    dialog.setDirectory(proposal.isEmpty() ? QString() : QFileInfo(proposal).absolutePath());
    const std::optional<QString> chosen = dialog.showOpen();
    if (!chosen)
        return Outcome::Cancelled;
    const QString rom = *chosen;
    const QString shown = displayPath(rom);

    // Refused before any question: what the ROM is decides whether it can grow at all.
    QString error;
    const std::optional<QByteArray> bytes =
        mServices.files.readFile(rom, qint64(rom::MaxFileSize), &error);
    if (!bytes)
        return refuse(tr("%1 cannot be read:\n%2").arg(shown, error));
    const rom::RomIdentity identity = rom::identifyRom(byteView(*bytes));
    if (const std::string why = rom::usWriteRefusal(identity); !why.empty())
        return refuse(tr("%1 was not expanded: %2").arg(shown, QString::fromStdString(why)));

    int megabits = 0;
    for (const int size : {8, 16, 32}) {
        if (std::size_t(size) * Megabit <= identity.gameSize)
            continue;
        const MessageBoxes::Answer answer = mServices.messages.show(
            tr("%1 is %2. Expand it to %3 Mbit?\n\nYes expands it to %3 Mbit, No asks for a "
               "larger size, Cancel leaves it.")
                .arg(shown, QString::fromStdString(rom::megabitText(identity.gameSize)))
                .arg(size),
            tr("Expand ROM"), MessageBoxes::Buttons::YesNoCancel);
        if (answer == MessageBoxes::Answer::Cancel)
            return Outcome::Cancelled;
        if (answer == MessageBoxes::Answer::Yes) {
            megabits = size;
            break;
        }
    }
    if (megabits == 0) {
        if (identity.gameSize >= 32 * Megabit)
            return refuse(tr("%1 is already 32 Mbit, the largest size.").arg(shown));
        return Outcome::Cancelled;
    }

    const QFileInfo info(rom);
    const QString suggested = info.absoluteDir().filePath(
        QStringLiteral("%1_%2mbit.%3").arg(info.completeBaseName()).arg(megabits).arg(info.suffix()));
    const std::optional<QString> out = askSaveName(mServices, [&](FileDialog &save) {
        save.setTitle(tr("Save the Expanded ROM As"));
        save.setFilter(filters::romsToOpen());
        save.setDefaultExtension(QStringLiteral("smc"));
        save.setFileName(suggested);
        save.setDirectory(info.absolutePath());
    });
    if (!out)
        return Outcome::Cancelled;
    const FileOutcome expanded = expandFile(rom, *out, megabits);
    if (!expanded.ok)
        return refuse(tr("%1 was not expanded; nothing was written.\n\n%2").arg(shown, expanded.message));
    mWritten = *out;
    mServices.messages.inform(tr("%1\n\nSave your courses into %2: a course too large for its slot "
                                 "moves into the added banks. %3 is left as it was.")
                                  .arg(expanded.message, displayPath(*out), shown),
        tr("ROM Expanded"));
    return Outcome::Done;
}

} // namespace velmor
