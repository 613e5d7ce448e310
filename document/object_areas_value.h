#pragma once

#include "rom/object_areas.h"

#include <QObject>
#include <QString>

#include <optional>

class QUndoStack;

namespace velmor {

// The object areas' thresholds of the course (zone numbers that choose the live object group),
// held beside the layers because nothing draws them: they change with the race order, as undo
// steps on the document's stack. Nothing for battle courses or when the ROM's record could not be
// read (then the reason is kept).
class ObjectAreasValue : public QObject
{
    Q_OBJECT

public:
    explicit ObjectAreasValue(QUndoStack *stack, QObject *parent = nullptr);

    const std::optional<rom::ObjectAreas> &value() const { return mValue; }
    QString unreadableReason() const { return mUnreadable; }

    // Not an undo step: what the course was opened with.
    void load(const std::optional<rom::ObjectAreas> &value, const QString &unreadableReason = {});
    // One undo step (inside a macro, part of the edit that caused it).
    void replace(const std::optional<rom::ObjectAreas> &value, const QString &undoText);

signals:
    void changed();

private:
    friend class ObjectAreasCommand;
    void set(const std::optional<rom::ObjectAreas> &value);

    QUndoStack *mStack;
    std::optional<rom::ObjectAreas> mValue;
    QString mUnreadable;
};

} // namespace velmor
