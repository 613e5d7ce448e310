#include "editor/ai_edits.h"

#include "document/course_document.h"
#include "document/object_areas_value.h"
#include "document/race_layers.h"

#include <QCoreApplication>
#include <QStringList>
#include <QUndoStack>

namespace velmor {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("velmor::AiEdits", text);
}

} // namespace

QString AiEdits::blocked() const
{
    const QString reason = mDocument.zones().unreadableReason();
    if (reason.isEmpty())
        return {};
    return tr("The AI of this course could not be read from the ROM, so it cannot be edited: %1")
        .arg(reason);
}

const rom::CourseAi &AiEdits::ai() const
{
    return mDocument.zones().value();
}

AiEdits::Outcome AiEdits::replace(const rom::CourseAi &ai, const QString &undoText)
{
    ZonesLayer &zones = mDocument.zones();
    if (const QString reason = blocked(); !reason.isEmpty()) {
        if (zones.isPreviewing())
            zones.cancelPreview();
        return {reason, {}, -1};
    }
    // After a preview the value shown is the new one: the gesture knows whether it changed.
    if (zones.isPreviewing() || ai != zones.value())
        zones.replace(ai, undoText);
    return {};
}

AiEdits::Outcome AiEdits::insert(
    int after, const rom::Zone &zone, const rom::Target &target, const QString &undoText)
{
    return apply(rom::insertZone(ai(), mDocument.objectAreas().value(), after, zone, target), undoText);
}

AiEdits::Outcome AiEdits::remove(int index, const QString &undoText)
{
    return apply(rom::removeZone(ai(), mDocument.objectAreas().value(), index), undoText);
}

AiEdits::Outcome AiEdits::move(int from, int to, const QString &undoText)
{
    return apply(rom::moveZone(ai(), mDocument.objectAreas().value(), from, to), undoText);
}

AiEdits::Outcome AiEdits::reorder(const std::vector<int> &order, const QString &undoText)
{
    return apply(rom::reorderZones(ai(), mDocument.objectAreas().value(), order), undoText);
}

AiEdits::Outcome AiEdits::apply(const rom::RaceOrderEdit &edit, const QString &undoText)
{
    if (const QString reason = blocked(); !reason.isEmpty()) {
        if (mDocument.zones().isPreviewing())
            mDocument.zones().cancelPreview();
        return {reason, {}, -1};
    }
    if (!edit.ok()) {
        if (mDocument.zones().isPreviewing())
            mDocument.zones().cancelPreview();
        return {QString::fromStdString(edit.error), {}, -1};
    }
    const std::size_t countBefore = ai().zones.size();
    // The zones and the thresholds that follow them are one step: undo gives both back.
    QUndoStack *stack = mDocument.undoStack();
    stack->beginMacro(undoText);
    mDocument.zones().replace(edit.ai, undoText);
    if (edit.areas != mDocument.objectAreas().value())
        mDocument.objectAreas().replace(edit.areas, undoText);
    stack->endMacro();
    QString notice = shiftNotice(edit.shifted);
    const QString unread = mDocument.objectAreas().unreadableReason();
    if (countBefore != edit.ai.zones.size() && !unread.isEmpty()) {
        // Said, because the objects may now come live in other places than the user expects.
        notice = tr("The object areas could not be read from the ROM, so they were not moved "
                    "with the zones: %1").arg(unread);
    }
    return {{}, notice, edit.zone};
}

QString AiEdits::shiftNotice(const std::vector<rom::ShiftedThreshold> &shifted)
{
    if (shifted.empty())
        return {};
    QStringList parts;
    for (const rom::ShiftedThreshold &shift : shifted)
        parts << tr("threshold %1 from zone %2 to %3").arg(shift.index).arg(shift.from).arg(shift.to);
    return tr("The object areas moved with the zones: %1.").arg(parts.join(QStringLiteral(", ")));
}

} // namespace velmor
