#include "platform/process_start.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace velmor {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("velmor::ProcessStarter", text);
}

bool namesAFolder(const QString &program)
{
    return program.contains(QLatin1Char('/')) || program.contains(QLatin1Char('\\'));
}

} // namespace

QString findOnPath(const QString &name)
{
    if (name.isEmpty() || namesAFolder(name))
        return {};
    return QStandardPaths::findExecutable(name);
}

QString whyNotRunnable(const QString &program)
{
    if (program.trimmed().isEmpty())
        return tr("no program is given");
    if (!namesAFolder(program)) {
        if (findOnPath(program).isEmpty())
            return tr("there is no program \"%1\" on the PATH").arg(program);
        return {};
    }
    const QFileInfo info(program);
    const QString shown = QDir::toNativeSeparators(program);
    if (!info.exists())
        return tr("%1 does not exist").arg(shown);
    if (info.isDir())
        return tr("%1 is a folder, not a program").arg(shown);
    if (!info.isExecutable())
        return tr("%1 is not executable (it lacks the permission to run)").arg(shown);
    return {};
}

ProcessStarter::Started QtProcessStarter::startDetached(
    const QString &program, const QStringList &arguments, const QString &workingDirectory)
{
    Started started;
    // QProcess's own reason for a program that is missing says only "No such file or directory";
    // the check names the program and what is wrong with it.
    started.reason = whyNotRunnable(program);
    if (!started.reason.isEmpty())
        return started;
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setWorkingDirectory(workingDirectory);
    // The emulator's output is its own business; nothing reads it here.
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    started.ok = process.startDetached(&started.pid);
    if (!started.ok) {
        started.reason = process.errorString().isEmpty() ? tr("the system could not start it")
                                                         : process.errorString();
    }
    return started;
}

} // namespace velmor
