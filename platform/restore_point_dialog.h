#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace velmor {

// File ▸ Restore Points…: a ROM's restore points, newest first, one of which the user may choose
// to restore. A point that cannot be restored (damaged, or not leading back from the ROM as it
// is) is listed with the reason and cannot be chosen. Tests answer from a script.
class RestorePointDialog
{
public:
    struct Row
    {
        QString time; // as shown, e.g. "2025-03-14 15:30:12"
        QString course;
        qint64 size = 0; // bytes of the patch file
        bool usable = true;
        QString problem; // why it cannot be restored
    };

    virtual ~RestorePointDialog() = default;
    // The index of the row to restore; nothing on Close.
    virtual std::optional<int> choose(const QString &rom, const QList<Row> &rows) = 0;
};

} // namespace velmor
