#pragma once

#include <QCoreApplication>
#include <QString>

namespace velmor {

class CourseDocument;
struct Services;

// File ▸ Export Course… and Import Course…: the document's whole course as a course file, and a
// course file read into the document as one undo step. A file made for another course of the same
// kind goes into the document's course's place; a file that cannot be read is refused with the
// reader's key path and reason, and the document stays as it was.
class CourseFileProcedures
{
    Q_DECLARE_TR_FUNCTIONS(velmor::CourseFileProcedures)

public:
    enum class Outcome { Done, Cancelled, Refused };

    explicit CourseFileProcedures(Services &services);

    Outcome exportCourse(const CourseDocument &document);
    // Asks for the file.
    Outcome importCourse(CourseDocument &document);
    // A file chosen already (dropped on the window).
    Outcome importCourseFrom(CourseDocument &document, const QString &path);
    // After Done: what was done, for the status bar.
    QString summary() const { return mSummary; }

    static QString filter();

private:
    Outcome refuse(const QString &text, const QString &title);

    Services &mServices;
    QString mSummary;
};

} // namespace velmor
