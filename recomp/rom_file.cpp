#include "recomp/rom_file.h"

#include "recomp/rom_insert.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <optional>

namespace velmor::recomp {

namespace {

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

std::optional<codec::Bytes> readAll(const QString &path, const QString &role, QString *error)
{
    QFile file(path);
    if (!QFileInfo(path).isFile()) {
        *error = QStringLiteral("cannot read the %1 %2: no such file").arg(role, shown(path));
        return std::nullopt;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read the %1 %2: %3").arg(role, shown(path), file.errorString());
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *error = QStringLiteral("cannot read the %1 %2: %3").arg(role, shown(path), file.errorString());
        return std::nullopt;
    }
    return codec::Bytes(bytes.begin(), bytes.end());
}

bool writeAtomically(const QString &path, const codec::Bytes &bytes, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    const auto size = qint64(bytes.size());
    if (file.write(reinterpret_cast<const char *>(bytes.data()), size) != size) {
        *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

// Read-only by its owner's choice; the permission check alone would let an administrator through.
bool isReadOnly(const QString &path)
{
    const QFileInfo info(path);
    return !info.isWritable() || !(info.permissions() & QFileDevice::WriteOwner);
}

} // namespace

FileOutcome insertFile(const QString &inputPath, const QString &romPath, std::size_t offset)
{
    FileOutcome outcome;
    const auto input = readAll(inputPath, QStringLiteral("input file"), &outcome.message);
    if (!input)
        return outcome;
    const auto rom = readAll(romPath, QStringLiteral("ROM file"), &outcome.message);
    if (!rom)
        return outcome;
    const InsertOutcome inserted = insertIntoRom(*rom, *input, offset);
    if (!inserted.ok) {
        outcome.message = QString::fromStdString(inserted.message);
        return outcome;
    }
    if (isReadOnly(romPath)) {
        outcome.message = QStringLiteral("cannot write the ROM file %1: it is read-only")
                              .arg(shown(romPath));
        return outcome;
    }
    QString error;
    if (!writeAtomically(romPath, inserted.rom, &error)) {
        outcome.message = QStringLiteral("cannot write the ROM file %1: %2").arg(shown(romPath), error);
        return outcome;
    }
    // What the disk holds now must be what was checked; if not, put the old ROM back.
    const auto written = readAll(romPath, QStringLiteral("ROM file"), &error);
    if (!written || *written != inserted.rom) {
        writeAtomically(romPath, *rom, &error);
        outcome.message = QStringLiteral("the ROM file %1 did not read back as written; "
                                         "the original was restored")
                              .arg(shown(romPath));
        return outcome;
    }
    outcome.ok = true;
    outcome.message = QString::fromStdString(inserted.message);
    return outcome;
}

FileOutcome extractFile(const QString &romPath, const QString &outputPath, std::size_t offset)
{
    FileOutcome outcome;
    const auto rom = readAll(romPath, QStringLiteral("ROM file"), &outcome.message);
    if (!rom)
        return outcome;
    const ExtractOutcome extracted = extractFromRom(*rom, offset);
    if (!extracted.ok) {
        outcome.message = QString::fromStdString(extracted.message);
        return outcome;
    }
    QString error;
    if (!writeAtomically(outputPath, extracted.data, &error)) {
        outcome.message = QStringLiteral("cannot write the output file %1: %2")
                              .arg(shown(outputPath), error);
        return outcome;
    }
    outcome.ok = true;
    outcome.message = QStringLiteral("wrote %1 bytes to %2 (stream at %3, %4 bytes)")
                          .arg(extracted.data.size())
                          .arg(shown(outputPath),
                               QString::fromStdString(hexText(offset)))
                          .arg(extracted.slot);
    return outcome;
}

} // namespace velmor::recomp
