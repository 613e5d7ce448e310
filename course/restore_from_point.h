#pragma once

#include <QCoreApplication>
#include <QString>

namespace velmor {

class CourseDocument;
struct Services;

// File ▸ Restore Points…: the restore points of a ROM listed with their time, course, size and
// state, and the one the user chooses restored (itself a save, so it keeps a point of its own
// first). A damaged point is shown as damaged and never applied. When the ROM is the document's,
// the document learns the ROM's new bytes, so that its next save is not taken for a save over
// another program's change; its map stays as the user edited it.
class RestoreFromPoint
{
    Q_DECLARE_TR_FUNCTIONS(velmor::RestoreFromPoint)

public:
    enum class Outcome { Restored, Closed, Failed };

    explicit RestoreFromPoint(Services &services);

    Outcome run(CourseDocument &document, const QString &romPath);
    QString summary() const { return mSummary; }

private:
    Services &mServices;
    QString mSummary;
};

} // namespace velmor
