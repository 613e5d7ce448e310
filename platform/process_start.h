#pragma once

#include <QString>
#include <QStringList>

namespace velmor {

// Starts a program that runs on its own, as an emulator does: the program is not waited for and
// may outlive Velmor. Arguments reach it as they are, without a shell. The program uses the
// system's starter; tests may record the starts instead.
class ProcessStarter
{
public:
    struct Started
    {
        bool ok = false;
        qint64 pid = 0;
        QString reason; // why it could not be started, in words; empty when it was
    };

    virtual ~ProcessStarter() = default;
    virtual Started startDetached(
        const QString &program, const QStringList &arguments, const QString &workingDirectory) = 0;
};

// The system's starter, through QProcess::startDetached.
class QtProcessStarter : public ProcessStarter
{
public:
    Started startDetached(const QString &program, const QStringList &arguments,
        const QString &workingDirectory) override;
};

// Why a program cannot be started from this path or name, in words; empty when it can. A bare
// name is looked for on the PATH, as the system would.
QString whyNotRunnable(const QString &program);

// The full path of a program named without a folder, found on the PATH; empty when there is none.
QString findOnPath(const QString &name);

} // namespace velmor
