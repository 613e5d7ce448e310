#pragma once

#include "course/configuration.h"

#include <QCoreApplication>
#include <QString>

namespace velmor {

class CourseDocument;
struct Services;

// Save Course into ROM: the document's course written into a ROM in process, by the same
// insertion recomp.exe runs (and refused with its messages when the course does not fit), under
// the ROM's lock and whole or not at all. The ROM is the one the course came from or was last
// written into; with none yet, the user chooses one as for insertion. A ROM that was changed on
// disk since Velmor read it, or is gone, is refused: writing into it would undo the other change.
class CourseRomSave
{
    Q_DECLARE_TR_FUNCTIONS(velmor::CourseRomSave)

public:
    enum class Outcome { Saved, Cancelled, Refused, Failed };

    CourseRomSave(Services &services, const Configuration &settings);

    Outcome save(CourseDocument &document);
    // After Saved: what was written, in one line for the status bar.
    QString summary() const { return mSummary; }

private:
    Outcome refuse(const QString &text);
    Outcome fail(const QString &text);
    // A 4 Mbit ROM without room for the course: Expand ROM offered, and the course saved into the
    // expanded ROM when the user takes it.
    Outcome offerExpansion(CourseDocument &document, const QString &path, const QString &why);

    Services &mServices;
    Configuration mSettings;
    QString mSummary;
};

} // namespace velmor
