#include "platform/tool_runner.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTimer>

namespace velmor {

namespace {

// Enough of a tool's complaint for a message box; the rest is cut so a chatty tool cannot flood it.
constexpr qsizetype MaxErrorOutput = 4000;

QString toolName(const QString &program)
{
    const QString name = QFileInfo(program).fileName();
    return name.isEmpty() ? QDir::toNativeSeparators(program) : name;
}

QString startErrorText(QProcess::ProcessError error, const QString &detail)
{
    switch (error) {
    case QProcess::FailedToStart:
        return detail.isEmpty() ? ToolRunner::tr("the program is missing or not executable")
                                : detail;
    default:
        return detail;
    }
}

} // namespace

QString ToolResult::describe() const
{
    const QString name = toolName(program);
    QString text;
    switch (outcome) {
    case Outcome::Finished:
        text = exitCode == 0
            ? ToolRunner::tr("%1 finished successfully.").arg(name)
            : ToolRunner::tr("%1 failed with exit status %2.").arg(name).arg(exitCode);
        break;
    case Outcome::NotStarted:
        text = ToolRunner::tr("%1 could not be started (%2): %3")
                   .arg(name, QDir::toNativeSeparators(program), reason);
        break;
    case Outcome::CannotRunHere:
        text = ToolRunner::tr("%1 cannot be run here: %2").arg(name, reason);
        break;
    case Outcome::Crashed:
        text = ToolRunner::tr("%1 crashed.").arg(name);
        break;
    case Outcome::TimedOut:
        text = ToolRunner::tr("%1 did not finish within %2 seconds and was stopped.")
                   .arg(name)
                   .arg(timeoutMs / 1000.0);
        break;
    }
    if (!errorOutput.isEmpty())
        text += QLatin1Char('\n') + errorOutput;
    return text;
}

ToolRun::ToolRun(const QString &program, int timeoutMs, QObject *parent)
    : QObject(parent)
{
    mResult.program = program;
    mResult.timeoutMs = timeoutMs;
}

void ToolRun::launch(const QString &executable, const QStringList &arguments)
{
    mProcess = new QProcess(this);
    // Only standard error matters; discarding standard output keeps a talkative tool from
    // filling memory while it runs.
    mProcess->setStandardOutputFile(QProcess::nullDevice());
    mProcess->setStandardInputFile(QProcess::nullDevice());
    connect(mProcess, &QProcess::finished, this, &ToolRun::onFinished);
    connect(mProcess, &QProcess::errorOccurred, this, &ToolRun::onError);

    mTimer = new QTimer(this);
    mTimer->setSingleShot(true);
    connect(mTimer, &QTimer::timeout, this, [this] {
        mTimedOut = true;
        mProcess->kill();
    });

    // setProgram + setArguments never goes through a shell or splits anything.
    mProcess->setProgram(executable);
    mProcess->setArguments(arguments);
    if (mResult.timeoutMs > 0)
        mTimer->start(mResult.timeoutMs);
    mProcess->start(QIODevice::ReadOnly);
}

void ToolRun::failLater(ToolResult::Outcome outcome, const QString &reason)
{
    mResult.outcome = outcome;
    mResult.reason = reason;
    deliver(mResult);
}

void ToolRun::onFinished(int exitCode, QProcess::ExitStatus status)
{
    mTimer->stop();
    QString errorText = QString::fromLocal8Bit(mProcess->readAllStandardError()).trimmed();
    if (errorText.size() > MaxErrorOutput)
        errorText = errorText.left(MaxErrorOutput) + QStringLiteral("…");
    mResult.errorOutput = errorText;
    mResult.exitCode = exitCode;
    if (mTimedOut)
        mResult.outcome = ToolResult::Outcome::TimedOut;
    else if (status == QProcess::CrashExit)
        mResult.outcome = ToolResult::Outcome::Crashed;
    else
        mResult.outcome = ToolResult::Outcome::Finished;
    deliver(mResult);
}

void ToolRun::onError(QProcess::ProcessError error)
{
    // Errors of a running process (crash, pipe trouble) are followed by finished(); only a failed
    // start has no finished() to come.
    if (error != QProcess::FailedToStart)
        return;
    mTimer->stop();
    mResult.outcome = ToolResult::Outcome::NotStarted;
    mResult.reason = startErrorText(error, mProcess->errorString());
    deliver(mResult);
}

void ToolRun::deliver(ToolResult result)
{
    if (mDelivered)
        return;
    mDelivered = true;
    // Queued, so that a caller always has the time to connect, even when QProcess reports a failed
    // start from inside start().
    QMetaObject::invokeMethod(
        this,
        [this, result] {
            emit finished(result);
            deleteLater();
        },
        Qt::QueuedConnection);
}

ToolRunner::ToolRunner(QObject *parent)
    : QObject(parent)
    , mWineProgram(QStandardPaths::findExecutable(QStringLiteral("wine")))
{
    qRegisterMetaType<ToolResult>();
}

bool ToolRunner::isWindowsExecutable(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return file.read(2) == QByteArrayLiteral("MZ");
}

ToolRun *ToolRunner::start(const QString &program, const QStringList &arguments)
{
    auto *run = new ToolRun(program, mTimeoutMs, this);
    if (program.isEmpty()) {
        run->failLater(ToolResult::Outcome::NotStarted, tr("no program was given"));
        return run;
    }
#ifndef Q_OS_WIN
    if (isWindowsExecutable(program)) {
        if (mWineProgram.isEmpty()) {
            run->failLater(ToolResult::Outcome::CannotRunHere,
                tr("it is a Windows program, and wine is not installed to run it "
                   "on this system."));
            return run;
        }
        run->launch(mWineProgram, QStringList {program} + arguments);
        return run;
    }
#endif
    run->launch(program, arguments);
    return run;
}

} // namespace velmor
