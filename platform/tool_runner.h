#pragma once

#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>

class QTimer;

namespace velmor {

// How long an outside tool may run before it is stopped and reported as hung.
inline constexpr int DefaultToolTimeoutMs = 60 * 1000;

// What became of one run of an outside tool, in one value the caller can show as it is.
struct ToolResult
{
    enum class Outcome {
        Finished, // ran and exited on its own; see exitCode
        NotStarted, // the system could not start it; see reason
        CannotRunHere, // a Windows program on another system, and no wine to run it
        Crashed, // ended by a signal or an exception
        TimedOut // did not end in time and was stopped
    };

    Outcome outcome = Outcome::NotStarted;
    int exitCode = -1;
    // What the tool wrote to standard error, trimmed.
    QString errorOutput;
    // Why it could not be started or run, in words.
    QString reason;
    QString program;
    int timeoutMs = 0;

    bool succeeded() const { return outcome == Outcome::Finished && exitCode == 0; }
    // One or two sentences for a message box: what happened, then what the tool said.
    QString describe() const;
};

// One running tool. Owned by the runner that started it; it deletes itself after finished().
class ToolRun : public QObject
{
    Q_OBJECT

public:
    ToolRun(const QString &program, int timeoutMs, QObject *parent);

    // Always emitted exactly once, and always from the event loop, never from inside start().
    Q_SIGNAL void finished(const velmor::ToolResult &result);

private:
    friend class ToolRunner;
    void launch(const QString &executable, const QStringList &arguments);
    void failLater(ToolResult::Outcome outcome, const QString &reason);
    void onFinished(int exitCode, QProcess::ExitStatus status);
    void onError(QProcess::ProcessError error);
    void deliver(ToolResult result);

    QProcess *mProcess = nullptr;
    QTimer *mTimer = nullptr;
    ToolResult mResult;
    bool mTimedOut = false;
    bool mDelivered = false;
};

// Starts outside programs without a shell: every argument reaches the program as it is, blanks,
// quotes and semicolons included. Never blocks; each start() answers through its ToolRun.
class ToolRunner : public QObject
{
    Q_OBJECT

public:
    explicit ToolRunner(QObject *parent = nullptr);

    void setTimeout(int milliseconds) { mTimeoutMs = milliseconds; }
    int timeout() const { return mTimeoutMs; }

    // The program that runs Windows executables on other systems; found on the PATH at
    // construction, empty when there is none.
    void setWineProgram(const QString &program) { mWineProgram = program; }
    QString wineProgram() const { return mWineProgram; }

    ToolRun *start(const QString &program, const QStringList &arguments);

    // True when the file at path is a Windows executable (it begins with "MZ").
    static bool isWindowsExecutable(const QString &path);

private:
    int mTimeoutMs = DefaultToolTimeoutMs;
    QString mWineProgram;
};

} // namespace velmor

Q_DECLARE_METATYPE(velmor::ToolResult)
