#include "course/patch_file.h"

#include "patch/bps.h"
#include "patch/crc32.h"
#include "patch/ips.h"
#include "platform/byte_span.h"
#include "platform/file_access.h"
#include "rom/rom_image.h"

#include <QFileInfo>

namespace velmor {

namespace {

using files::shown;

QString fromStd(const std::string &text)
{
    return QString::fromStdString(text);
}

// The ROM in a file, or the reason its size is none.
std::optional<rom::RomImage> romIn(
    const QByteArray &bytes, const QString &role, const QString &path, QString *error)
{
    std::string why;
    auto image = rom::RomImage::open(byteView(bytes), &why);
    if (!image)
        *error = QStringLiteral("cannot use the %1 %2: %3").arg(role, shown(path), fromStd(why));
    return image;
}

std::optional<QByteArray> readRom(const QString &path, const QString &role, QString *error)
{
    return files::readWhole(path, role, qint64(rom::MaxFileSize), error);
}

// A BPS refusal over the source in words about ROMs: which ROM the patch wants, and why this
// one is not it.
QString wrongRom(const patch::bps::Header &header, const rom::RomImage &image)
{
    const std::size_t size = image.game().size();
    if (header.sourceSize != size) {
        QString text = QStringLiteral("this patch was made for a ROM of %1 bytes without the "
                                      "copier header; this ROM's game has %2 bytes")
                           .arg(header.sourceSize)
                           .arg(size);
        if (header.sourceSize == size + rom::CopierHeaderSize)
            text += QStringLiteral(": the patch was made against a ROM with its copier header "
                                   "counted, and Velmor patches the game without it");
        return text;
    }
    return QStringLiteral("this patch was made for another ROM: its source CRC32 is %1, this "
                          "ROM's is %2")
        .arg(fromStd(patch::hex32(header.sourceCrc)),
            fromStd(patch::hex32(patch::crc32(image.game()))));
}

} // namespace

std::optional<PatchFormat> patchFormatOf(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix();
    if (suffix.compare(QLatin1String("bps"), Qt::CaseInsensitive) == 0)
        return PatchFormat::Bps;
    if (suffix.compare(QLatin1String("ips"), Qt::CaseInsensitive) == 0)
        return PatchFormat::Ips;
    return std::nullopt;
}

FileOutcome createPatchFile(
    const QString &originalPath, const QString &modifiedPath, const QString &outPath)
{
    FileOutcome outcome;
    const std::optional<PatchFormat> format = patchFormatOf(outPath);
    if (!format) {
        outcome.message = QStringLiteral("cannot tell which patch to make from the name %1: it "
                                         "must end in .bps or .ips")
                              .arg(shown(outPath));
        return outcome;
    }
    const QString originalRole = QStringLiteral("original ROM");
    const QString modifiedRole = QStringLiteral("modified ROM");
    const auto original = readRom(originalPath, originalRole, &outcome.message);
    if (!original)
        return outcome;
    const auto modified = readRom(modifiedPath, modifiedRole, &outcome.message);
    if (!modified)
        return outcome;
    const auto from = romIn(*original, originalRole, originalPath, &outcome.message);
    if (!from)
        return outcome;
    const auto to = romIn(*modified, modifiedRole, modifiedPath, &outcome.message);
    if (!to)
        return outcome;
    if (!files::isUsableOutput(outPath, {{originalRole, originalPath}, {modifiedRole, modifiedPath}},
            &outcome.message))
        return outcome;
    const patch::ByteView source = from->game();
    const patch::ByteView target = to->game();
    if (std::equal(source.begin(), source.end(), target.begin(), target.end())) {
        outcome.message = QStringLiteral("the original ROM %1 and the modified ROM %2 hold the "
                                         "same game: a patch would change nothing")
                              .arg(shown(originalPath), shown(modifiedPath));
        return outcome;
    }
    const bool bps = *format == PatchFormat::Bps;
    // Applying keeps an IPS within the game it patches (that is how a patch for another ROM shows
    // itself), so an IPS that made the game larger could never be applied here.
    if (!bps && target.size() > source.size()) {
        outcome.message = QStringLiteral("cannot make the patch %1: the modified ROM's game has "
                                         "%2 bytes, more than the original's %3, and an IPS "
                                         "patch is applied only within the original's size; "
                                         "make a .bps patch instead")
                              .arg(shown(outPath))
                              .arg(target.size())
                              .arg(source.size());
        return outcome;
    }
    const patch::PatchResult made =
        bps ? patch::bps::create(source, target) : patch::ips::create(source, target);
    if (!made.ok) {
        outcome.message =
            QStringLiteral("cannot make the patch %1: %2").arg(shown(outPath), fromStd(made.error));
        return outcome;
    }
    if (!files::writeOutput(outPath, toByteArray(made.bytes), &outcome.message))
        return outcome;
    outcome.ok = true;
    outcome.message = QStringLiteral("wrote the %1 patch %2 (%3 bytes) for the game without the "
                                     "copier header")
                          .arg(bps ? QStringLiteral("BPS") : QStringLiteral("IPS"), shown(outPath))
                          .arg(made.bytes.size());
    if (!bps)
        outcome.message += QStringLiteral("; IPS has no checksums, so applying it to another "
                                          "ROM will not be noticed");
    return outcome;
}

FileOutcome applyPatchFile(const QString &romPath, const QString &patchPath, const QString &outPath)
{
    FileOutcome outcome;
    const QString romRole = QStringLiteral("ROM file");
    const QString patchRole = QStringLiteral("patch file");
    const auto romBytes = readRom(romPath, romRole, &outcome.message);
    if (!romBytes)
        return outcome;
    const auto patchBytes = files::readWhole(
        patchPath, patchRole, qint64(patch::MaxPatchFileSize), &outcome.message);
    if (!patchBytes)
        return outcome;
    const auto image = romIn(*romBytes, romRole, romPath, &outcome.message);
    if (!image)
        return outcome;
    if (!files::isUsableOutput(outPath, {{romRole, romPath}, {patchRole, patchPath}}, &outcome.message))
        return outcome;

    const patch::ByteView patchView = byteView(*patchBytes);
    const QString refused =
        QStringLiteral("cannot apply %1 to %2: ").arg(shown(patchPath), shown(romPath));
    const bool bps = patch::bps::hasMagic(patchView);
    if (!bps && !patch::ips::hasMagic(patchView)) {
        outcome.message = refused
            + QStringLiteral("it is neither a BPS nor an IPS patch (it starts with neither "
                             "\"BPS1\" nor \"PATCH\")");
        return outcome;
    }
    // An IPS may not make the game longer here: past the end is where a patch for a larger ROM,
    // or one counting the copier header, shows itself.
    const patch::PatchResult applied = bps
        ? patch::bps::apply(image->game(), patchView)
        : patch::ips::apply(image->game(), patchView, image->game().size());
    if (!applied.ok) {
        outcome.message = refused + fromStd(applied.error);
        // Refused for the source only after its header was read, so it reads again here.
        if (bps && applied.fault == patch::PatchFault::WrongSource)
            outcome.message = refused + wrongRom(*patch::bps::readHeader(patchView), *image);
        if (!bps && applied.fault == patch::PatchFault::PastEnd)
            outcome.message += QStringLiteral(" (the patch was made for a larger ROM, or for one "
                                              "with the copier header counted)");
        return outcome;
    }
    if (rom::headerFormOf(applied.bytes.size()) != rom::HeaderForm::Headerless) {
        outcome.message = refused
            + QStringLiteral("the patched game would have %1 bytes, which is no ROM size")
                  .arg(applied.bytes.size());
        return outcome;
    }
    QByteArray result = romBytes->left(qsizetype(image->headerSize()));
    result.append(toByteArray(applied.bytes));
    if (!files::writeOutput(outPath, result, &outcome.message))
        return outcome;
    outcome.ok = true;
    outcome.message = QStringLiteral("wrote %1 (%2 bytes, %3 like %4); %5")
                          .arg(shown(outPath))
                          .arg(result.size())
                          .arg(image->hasHeader() ? QStringLiteral("with the copier header")
                                                  : QStringLiteral("without a copier header"),
                              shown(romPath),
                              bps ? QStringLiteral("BPS checks passed: the ROM is the one the "
                                                   "patch was made for, the patch is whole and "
                                                   "the result is exact")
                                  : QStringLiteral("IPS has no checksums, so whether the patch "
                                                   "was made for this ROM cannot be checked"));
    return outcome;
}

} // namespace velmor
