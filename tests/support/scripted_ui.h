#pragma once

#include "platform/file_dialog.h"
#include "platform/message_box.h"
#include "platform/preferences_dialog.h"
#include "platform/replace_dialog.h"
#include "platform/restore_point_dialog.h"

#include <QList>
#include <QQueue>
#include <QString>

#include <optional>

namespace velmor::test {

// Stands in for the human at the file dialog: answers each showing from a queue of picks
// (a path, or nothing for Cancel) and records what was shown.
class ScriptedFileDialog : public FileDialog
{
public:
    struct Showing
    {
        Mode mode;
        Settings settings;
    };

    void pick(const QString &path) { mScript.enqueue(path); }
    void cancel() { mScript.enqueue(std::nullopt); }

    const QList<Showing> &showings() const { return mShowings; }
    int unanswered() const { return mScript.size(); }
    // Showings that found the script empty; they were answered with Cancel.
    int unexpected() const { return mUnexpected; }

protected:
    std::optional<QString> run(Mode mode, const Settings &settings) override;

private:
    QQueue<std::optional<QString>> mScript;
    QList<Showing> mShowings;
    int mUnexpected = 0;
};

// Stands in for the human at the message boxes. A box with OK alone is answered OK at once; a
// question takes the next answer of the script (an empty script answers No or Cancel and counts
// as unexpected).
class ScriptedMessageBoxes : public MessageBoxes
{
public:
    struct Message
    {
        QString text;
        QString title;
        Buttons buttons;
    };

    void answer(Answer answer) { mScript.enqueue(answer); }
    Answer show(const QString &text, const QString &title, Buttons buttons) override;

    const QList<Message> &messages() const { return mMessages; }
    QStringList titles() const;
    int unanswered() const { return mScript.size(); }
    int unexpected() const { return mUnexpected; }

private:
    QQueue<Answer> mScript;
    QList<Message> mMessages;
    int mUnexpected = 0;
};

// Stands in for the human at Replace…: answers from a queue (a pair, or nothing for Cancel) and
// records the proposals shown.
class ScriptedReplaceDialog : public ReplaceDialog
{
public:
    void answer(const QString &from, const QString &to) { mScript.enqueue(Tiles{from, to}); }
    void cancel() { mScript.enqueue(std::nullopt); }
    std::optional<Tiles> ask(const Tiles &proposal) override
    {
        mProposals.append(proposal);
        return mScript.isEmpty() ? std::nullopt : mScript.dequeue();
    }
    const QList<Tiles> &proposals() const { return mProposals; }

private:
    QQueue<std::optional<Tiles>> mScript;
    QList<Tiles> mProposals;
};

// Stands in for the human at Preferences: answers from a queue (an emulator, or nothing for
// Cancel) and records the requests shown.
class ScriptedPreferencesDialog : public PreferencesDialog
{
public:
    void answer(const QString &program, const QString &arguments)
    {
        mScript.enqueue(Emulator {program, arguments, {}});
    }
    std::optional<Emulator> ask(const Request &request) override
    {
        mRequests.append(request);
        return mScript.isEmpty() ? std::nullopt : mScript.dequeue();
    }
    const QList<Request> &requests() const { return mRequests; }

private:
    QQueue<std::optional<Emulator>> mScript;
    QList<Request> mRequests;
};

// Stands in for the human at Restore Points: chooses the rows of a queue (nothing for Close)
// and records the rows shown.
class ScriptedRestorePointDialog : public RestorePointDialog
{
public:
    void choose(int row) { mScript.enqueue(row); }
    std::optional<int> choose(const QString &, const QList<Row> &rows) override
    {
        mShown.append(rows);
        return mScript.isEmpty() ? std::nullopt : mScript.dequeue();
    }
    const QList<QList<Row>> &shown() const { return mShown; }

private:
    QQueue<std::optional<int>> mScript;
    QList<QList<Row>> mShown;
};

} // namespace velmor::test
