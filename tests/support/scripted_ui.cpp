#include "tests/support/scripted_ui.h"

namespace velmor::test {

std::optional<QString> ScriptedFileDialog::run(Mode mode, const Settings &settings)
{
    mShowings.append({mode, settings});
    if (mScript.isEmpty()) {
        ++mUnexpected;
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
        ++mUnexpected;
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
