#pragma once

#include "rom/course_ai.h"
#include "rom/race_order.h"

#include <QString>

namespace velmor {

class CourseDocument;

// The AI's edits on the document, each one undo step: a zone or target changed in place, or a
// change of the race order together with the object areas' thresholds it shifts. Refused while
// the AI could not be read from the ROM. Shared by the zones and targets tools and the race order
// panel.
class AiEdits
{
public:
    struct Outcome
    {
        QString error; // refused: nothing changed
        QString notice; // what else moved with the edit, for the user
        int zone = -1; // the zone acted on, where it is now

        bool isRefused() const { return !error.isEmpty(); }
    };

    explicit AiEdits(CourseDocument &document)
        : mDocument(document)
    { }

    // Why the AI cannot be edited now; empty when it can.
    QString blocked() const;
    const rom::CourseAi &ai() const;

    // The whole set replaced; the race order and the zone count stay.
    Outcome replace(const rom::CourseAi &ai, const QString &undoText);
    Outcome insert(int after, const rom::Zone &zone, const rom::Target &target, const QString &undoText);
    Outcome remove(int index, const QString &undoText);
    Outcome move(int from, int to, const QString &undoText);
    Outcome reorder(const std::vector<int> &order, const QString &undoText);

    // "Object areas shifted with it: threshold 2 from zone 5 to 6, …"; empty when none moved.
    static QString shiftNotice(const std::vector<rom::ShiftedThreshold> &shifted);

private:
    Outcome apply(const rom::RaceOrderEdit &edit, const QString &undoText);

    CourseDocument &mDocument;
};

} // namespace velmor
