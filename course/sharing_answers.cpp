#include "course/sharing_answers.h"

#include "platform/message_box.h"

namespace velmor {

namespace {

QString listed(const QStringList &names)
{
    if (names.size() < 2)
        return names.join(QString());
    return names.mid(0, names.size() - 1).join(QStringLiteral(", ")) + SharingAnswers::tr(" and ")
        + names.last();
}

} // namespace

SharingAnswers SharingAnswers::askWith(MessageBoxes &messages)
{
    SharingAnswers answers;
    answers.changeSharedStart = [&messages](const QString &course, const QStringList &others) {
        return messages.askYesNo(
            tr("%1 shares its start record with %2: the game keeps one record for them, so the "
               "new start places change for %2 too. Change it for all of them?")
                .arg(course, listed(others)),
            tr("Shared Start Record"));
    };
    answers.sharedAi = [&messages](const QString &course, const QStringList &others) {
        const MessageBoxes::Answer answer = messages.show(
            tr("%1 shares its AI zones and targets with %2. Yes changes them for all of them; No "
               "gives %1 a set of its own (it takes its own room in the AI block) and keeps %2 "
               "as they are.")
                .arg(course, listed(others)),
            tr("Shared AI"), MessageBoxes::Buttons::YesNoCancel);
        switch (answer) {
        case MessageBoxes::Answer::Yes:
            return Ai::KeepShared;
        case MessageBoxes::Answer::No:
            return Ai::Split;
        default:
            return Ai::Cancel;
        }
    };
    return answers;
}

SharingAnswers SharingAnswers::fixed(bool changeSharedStart, Ai sharedAi)
{
    SharingAnswers answers;
    answers.changeSharedStart = [changeSharedStart](const QString &, const QStringList &) {
        return changeSharedStart;
    };
    answers.sharedAi = [sharedAi](const QString &, const QStringList &) { return sharedAi; };
    return answers;
}

} // namespace velmor
