#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QString>
#include <QStringList>

#include <optional>

namespace velmor::test {

// The fake outside tool built beside the tests.
inline QString recordArgsProgram()
{
    return QStringLiteral(VELMOR_RECORD_ARGS);
}

// Tells record_args, for as long as this lives, where to write its arguments and how to end.
class RecordArgsEnv
{
public:
    explicit RecordArgsEnv(
        const QString &outFile, int exitCode = 0, const QByteArray &complaint = {}, int sleepMs = 0)
    {
        qputenv("RECORD_ARGS_OUT", QFile::encodeName(outFile));
        qputenv("RECORD_ARGS_EXIT", QByteArray::number(exitCode));
        qputenv("RECORD_ARGS_STDERR", complaint);
        qputenv("RECORD_ARGS_SLEEP_MS", QByteArray::number(sleepMs));
    }
    ~RecordArgsEnv()
    {
        qunsetenv("RECORD_ARGS_OUT");
        qunsetenv("RECORD_ARGS_EXIT");
        qunsetenv("RECORD_ARGS_STDERR");
        qunsetenv("RECORD_ARGS_SLEEP_MS");
    }
    RecordArgsEnv(const RecordArgsEnv &) = delete;
    RecordArgsEnv &operator=(const RecordArgsEnv &) = delete;
};

// The argument list record_args saw, or nothing when it never ran.
inline std::optional<QStringList> recordedArgs(const QString &outFile)
{
    QFile file(outFile);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll());
    if (!document.isArray())
        return std::nullopt;
    QStringList result;
    for (const QJsonValue &value : document.array())
        result.append(value.toString());
    return result;
}

inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A synthetic ROM image: a counting byte pattern, so a copy can be told from an empty file.
inline QByteArray syntheticRom(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xff);
    return bytes;
}

inline QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace velmor::test
