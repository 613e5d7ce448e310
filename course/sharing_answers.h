#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <functional>

namespace velmor {

class MessageBoxes;

// What a write of one course asks before it changes other courses with it: the game lets courses
// share a start record (fixed in place, so it changes for all of them or not at all) and an AI set
// (which may be split off, at the cost of its room in the AI block). The editor asks the user;
// the command line answers from its options.
struct SharingAnswers
{
    Q_DECLARE_TR_FUNCTIONS(velmor::SharingAnswers)

public:
    enum class Ai { KeepShared, Split, Cancel };

    // True: change the record for the other courses too; false: write nothing.
    std::function<bool(const QString &course, const QStringList &others)> changeSharedStart;
    std::function<Ai(const QString &course, const QStringList &others)> sharedAi;
    // Added to the message when an answer stops the write: how to answer otherwise.
    QString declinedHint;

    // The questions in message boxes.
    static SharingAnswers askWith(MessageBoxes &messages);
    // Fixed answers; a shared record that may not change is refused by the image as cancelled.
    static SharingAnswers fixed(bool changeSharedStart, Ai sharedAi);
};

} // namespace velmor
