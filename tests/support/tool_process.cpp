#include "tests/support/tool_process.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <filesystem>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace velmor::test {

ToolRun runTool(const QString &program, const QStringList &arguments,
    const QString &workingDirectory, int waitMs)
{
    QProcess process;
    if (!workingDirectory.isEmpty())
        process.setWorkingDirectory(workingDirectory);
    process.start(program, arguments);
    ToolRun run;
    const QString name = QFileInfo(program).fileName();
    if (!process.waitForStarted(5000)) {
        run.failure =
            QStringLiteral("%1 did not start within 5 s: %2").arg(name, process.errorString());
    } else if (!process.waitForFinished(waitMs)) {
        run.failure = QStringLiteral("%1 %2 did not end within %3 s")
                          .arg(name, arguments.join(QLatin1Char(' ')))
                          .arg(waitMs / 1000.0);
        process.kill();
        process.waitForFinished(5000);
    }
    if (!run.failure.isEmpty()) {
        run.err = run.failure;
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

bool writeBytes(const QString &path, const codec::Bytes &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly)
        && file.write(reinterpret_cast<const char *>(bytes.data()), qint64(bytes.size()))
        == qint64(bytes.size());
}

bool makeFifo(const QString &path)
{
#ifdef Q_OS_UNIX
    return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
#else
    Q_UNUSED(path);
    return false;
#endif
}

bool isFifo(const QString &path)
{
    std::error_code failed;
    return std::filesystem::is_fifo(QFileInfo(path).filesystemFilePath(), failed);
}

bool makeSparseFile(const QString &path, qint64 size)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.resize(size);
}

codec::Bytes readBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    return codec::Bytes(bytes.begin(), bytes.end());
}

} // namespace velmor::test
