#include "document/layer.h"

#include "document/map_geometry.h"

#include <QUndoStack>

namespace velmor {

Layer::Layer(const QString &key, const QString &title, QObject *parent)
    : QObject(parent)
    , mKey(key)
    , mTitle(title)
{ }

void Layer::setVisible(bool visible)
{
    if (visible == mVisible)
        return;
    mVisible = visible;
    emit visibilityChanged(visible);
    emit changed(QRect(0, 0, MapSide, MapSide));
}

void Layer::setUnreadable(const QString &reason)
{
    if (reason == mUnreadable)
        return;
    mUnreadable = reason;
    emit changed(QRect(0, 0, MapSide, MapSide));
}

QString Layer::describeAt(QPointF) const
{
    return {};
}

void Layer::push(QUndoCommand *command)
{
    if (mStack) {
        mStack->push(command);
        return;
    }
    // A layer outside a document has no history: the edit just happens.
    command->redo();
    delete command;
}

} // namespace velmor
