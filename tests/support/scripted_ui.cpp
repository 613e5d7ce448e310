#include "tests/support/scripted_ui.h"

namespace velmor::test {

namespace {

// A procedure that loops on unexpected answers would hang the test; stop it loudly instead.
constexpr int MaxUnexpected = 50;

void countUnexpected(int &count, const char *what)
{
    if (++count > MaxUnexpected)
        qFatal("%s: the script ran out %d times; the procedure under test is looping", what,
               count);
}

} // namespace

std::optional<QString> ScriptedFileDialog::run(Mode mode, const Settings &settings)
{
    mShowings.append({mode, settings});
    if (mScript.isEmpty()) {
        countUnexpected(mUnexpected, "file dialog");
        return std::nullopt;
    }
    return mScript.dequeue();
}

MessageBoxes::Answer ScriptedMessageBoxes::show(const QString &text, const QString &title,
                                                Buttons buttons)
{
    mMessages.append({text, title, buttons});
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    if (mScript.isEmpty()) {
        countUnexpected(mUnexpected, "message boxes");
        return buttons == Buttons::YesNoCancel ? Answer::Cancel : Answer::No;
    }
    return mScript.dequeue();
}

QStringList ScriptedMessageBoxes::titles() const
{
    QStringList result;
    for (const Message &message : mMessages)
        result.append(message.title);
    return result;
}

} // namespace velmor::test
