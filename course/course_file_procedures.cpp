#include "course/course_file_procedures.h"

#include "course/course_file.h"
#include "course/course_import.h"
#include "document/course_document.h"
#include "document/layer.h"
#include "platform/file_dialog.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "platform/save_dialog.h"
#include "platform/services.h"

#include <QFileInfo>

namespace velmor {

namespace {

constexpr char Extension[] = "vcourse";

QString exportTitle()
{
    return CourseFileProcedures::tr("Course Not Exported");
}

QString importTitle()
{
    return CourseFileProcedures::tr("Course Not Imported");
}

// Why the document cannot be written as a course file; empty when it can.
QString whyNoCourse(const CourseDocument &document)
{
    const CourseChoice &choice = document.courseChoice();
    if (!choice.course.isValid())
        return choice.whyNoCourse() + CourseFileProcedures::tr(" to export the course.");
    if (document.raceCourse() != choice.course)
        return CourseFileProcedures::tr("The document holds no race of %1 (its items, objects, "
                                        "start, lap line and AI): open the course from a ROM or "
                                        "import a course file first.")
            .arg(choice.course.name());
    for (const Layer *layer : document.layers()) {
        if (!layer->unreadableReason().isEmpty())
            return CourseFileProcedures::tr("The %1 of the course could not be read from the ROM, "
                                            "so a course file would not hold the course whole: %2")
                .arg(layer->title(), layer->unreadableReason());
    }
    return CourseFileProcedures::tr("A cell of the map holds no tile number.");
}

} // namespace

CourseFileProcedures::CourseFileProcedures(Services &services)
    : mServices(services)
{ }

QString CourseFileProcedures::filter()
{
    return QStringLiteral("Velmor Courses (*.vcourse)|*.vcourse");
}

CourseFileProcedures::Outcome CourseFileProcedures::refuse(const QString &text, const QString &title)
{
    mServices.messages.inform(text, title);
    return Outcome::Refused;
}

CourseFileProcedures::Outcome CourseFileProcedures::exportCourse(const CourseDocument &document)
{
    mSummary.clear();
    const std::optional<rom::CourseData> course =
        document.raceCourse() == document.course() ? document.courseData() : std::nullopt;
    if (!course)
        return refuse(whyNoCourse(document), exportTitle());
    QString error;
    const std::optional<QByteArray> bytes = coursefile::write(*course, &error);
    if (!bytes)
        return refuse(tr("%1 cannot be written as a course file: %2")
                          .arg(document.course().name(), error),
                      exportTitle());
    const QString folder =
        document.romPath().isEmpty() ? QString() : QFileInfo(document.romPath()).absolutePath();
    const std::optional<QString> path = askSaveName(mServices, [&](FileDialog &dialog) {
        dialog.setTitle(tr("Export Course"));
        dialog.setFilter(filter());
        dialog.setDefaultExtension(QLatin1String(Extension));
        dialog.setFileName(document.course().name() + QLatin1Char('.') + QLatin1String(Extension));
        dialog.setDirectory(folder);
    });
    if (!path)
        return Outcome::Cancelled;
    if (!mServices.files.writeFile(*path, *bytes, &error))
        return refuse(tr("The course file %1 was not written: %2").arg(displayPath(*path), error),
                      exportTitle());
    mSummary = tr("Exported %1 to %2").arg(document.course().name(), displayPath(*path));
    return Outcome::Done;
}

CourseFileProcedures::Outcome CourseFileProcedures::importCourse(CourseDocument &document)
{
    mSummary.clear();
    FileDialog &dialog = mServices.dialog;
    dialog.setTitle(tr("Import Course"));
    dialog.setFilter(filter());
    dialog.setDefaultExtension(QLatin1String(Extension));
    dialog.setFileName(QString());
    const std::optional<QString> path = dialog.showOpen();
    if (!path)
        return Outcome::Cancelled;
    return importCourseFrom(document, *path);
}

CourseFileProcedures::Outcome CourseFileProcedures::importCourseFrom(CourseDocument &document,
                                                                     const QString &path)
{
    mSummary.clear();
    const CourseChoice &choice = document.courseChoice();
    if (!choice.course.isValid())
        return refuse(choice.whyNoCourse() + tr(" to import a course into its place."),
                      importTitle());
    QString error;
    const std::optional<QByteArray> bytes =
        mServices.files.readFile(path, coursefile::MaxFileSize, &error);
    if (!bytes)
        return refuse(tr("The course file %1 cannot be read:\n%2").arg(displayPath(path), error),
                      importTitle());
    const PlacedCourse placed = readCourseFile(*bytes, displayPath(path), choice.course.id());
    if (!placed.course)
        return refuse(placed.error, importTitle());
    document.replaceCourse(*placed.course, tr("Import Course"));
    mSummary = tr("Imported %1 from %2").arg(choice.course.name(), displayPath(path));
    if (!placed.note.isEmpty())
        mSummary += QStringLiteral(" (") + placed.note + QLatin1Char(')');
    return Outcome::Done;
}

} // namespace velmor
