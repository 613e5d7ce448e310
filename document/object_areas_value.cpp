#include "document/object_areas_value.h"

#include <QUndoCommand>
#include <QUndoStack>

namespace velmor {

class ObjectAreasCommand : public QUndoCommand
{
public:
    ObjectAreasCommand(ObjectAreasValue &target, std::optional<rom::ObjectAreas> value,
        const QString &text)
        : QUndoCommand(text)
        , mTarget(target)
        , mBefore(target.value())
        , mAfter(std::move(value))
    { }

    void redo() override { mTarget.set(mAfter); }
    void undo() override { mTarget.set(mBefore); }

private:
    ObjectAreasValue &mTarget;
    std::optional<rom::ObjectAreas> mBefore;
    std::optional<rom::ObjectAreas> mAfter;
};

ObjectAreasValue::ObjectAreasValue(QUndoStack *stack, QObject *parent)
    : QObject(parent)
    , mStack(stack)
{ }

void ObjectAreasValue::load(const std::optional<rom::ObjectAreas> &value, const QString &unreadableReason)
{
    mUnreadable = unreadableReason;
    set(value);
}

void ObjectAreasValue::replace(const std::optional<rom::ObjectAreas> &value, const QString &undoText)
{
    if (value != mValue)
        mStack->push(new ObjectAreasCommand(*this, value, undoText));
}

void ObjectAreasValue::set(const std::optional<rom::ObjectAreas> &value)
{
    mValue = value;
    emit changed();
}

} // namespace velmor
