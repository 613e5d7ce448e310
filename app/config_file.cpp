#include "app/config_file.h"

#include "app/startup_texts.h"
#include "platform/file_system.h"

#include <QDir>
#include <QList>
#include <QStringDecoder>
#include <QStringEncoder>

namespace velmor {

namespace {

void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

// Splits off at most `wanted` lines. CR LF, a lone CR and a lone LF each end a line, so a file
// edited with any tool reads the same.
QList<QByteArray> firstLines(const QByteArray &bytes, int wanted)
{
    QList<QByteArray> lines;
    qsizetype start = 0;
    qsizetype at = 0;
    const qsizetype size = bytes.size();
    while (at < size && lines.size() < wanted) {
        const char c = bytes.at(at);
        if (c != '\r' && c != '\n') {
            ++at;
            continue;
        }
        lines.append(bytes.mid(start, at - start));
        ++at;
        if (c == '\r' && at < size && bytes.at(at) == '\n')
            ++at;
        start = at;
    }
    if (lines.size() < wanted && start < size)
        lines.append(bytes.mid(start));
    return lines;
}

} // namespace

std::optional<QByteArray> ConfigFile::encode(const Configuration &config, QString *error)
{
    const QStringList lines{startup::labelRecompPath(),  config.recompPath,
                            startup::labelRomFolder(),   config.romFolder,
                            startup::labelUserRomPath(), config.userRomPath,
                            startup::labelRomBaseName(), config.romBaseName};
    QByteArray bytes;
    for (const QString &line : lines) {
        if (line.contains(QLatin1Char('\r')) || line.contains(QLatin1Char('\n'))) {
            setError(error, QStringLiteral("The value \"%1\" holds a line break, so %2 could not "
                                           "be read back.")
                                .arg(line, startup::configFileName()));
            return std::nullopt;
        }
        QStringEncoder encoder(QStringEncoder::System);
        const QByteArray encoded = encoder(line);
        // Some code pages replace what they cannot store without complaint: decoding again is the
        // one test that works everywhere.
        QStringDecoder decoder(QStringDecoder::System);
        const QString back = decoder(encoded);
        if (encoder.hasError() || decoder.hasError() || back != line) {
            setError(error, QStringLiteral("The path \"%1\" holds characters that the system's "
                                           "code page cannot store in %2.")
                                .arg(line, startup::configFileName()));
            return std::nullopt;
        }
        bytes += encoded;
        bytes += startup::ConfigLineEnd;
    }
    return bytes;
}

std::optional<Configuration> ConfigFile::decode(const QByteArray &bytes, QString *error)
{
    const QList<QByteArray> raw = firstLines(bytes, startup::ConfigLineCount);
    if (raw.size() < startup::ConfigLineCount) {
        setError(error, QStringLiteral("%1 has %2 lines instead of %3.")
                            .arg(startup::configFileName())
                            .arg(raw.size())
                            .arg(startup::ConfigLineCount));
        return std::nullopt;
    }
    QStringList lines;
    for (int i = 0; i < raw.size(); ++i) {
        QStringDecoder decoder(QStringDecoder::System);
        lines.append(decoder(raw.at(i)));
        if (decoder.hasError()) {
            setError(error, QStringLiteral("Line %1 of %2 is not text in the system's code page.")
                                .arg(i + 1)
                                .arg(startup::configFileName()));
            return std::nullopt;
        }
    }
    // Lines 1, 3, 5 and 7 are labels, skipped without comparing them to anything.
    return Configuration{lines.at(1), lines.at(3), lines.at(5), lines.at(7)};
}

bool ConfigFile::write(FileSystem &files, const QString &path, const Configuration &config,
                       QString *error)
{
    const std::optional<QByteArray> bytes = encode(config, error);
    return bytes && files.writeFile(path, *bytes, error);
}

std::optional<Configuration> ConfigFile::read(const FileSystem &files, const QString &path,
                                              QString *error)
{
    const std::optional<QByteArray> bytes = files.readFile(path, startup::ConfigFileLimit, error);
    if (!bytes)
        return std::nullopt;
    QString why;
    std::optional<Configuration> config = decode(*bytes, &why);
    if (!config)
        setError(error, QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), why));
    return config;
}

} // namespace velmor
