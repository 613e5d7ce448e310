#include "tools/course_check_command.h"

#include "course/course_check_input.h"
#include "course/course_file.h"
#include "platform/file_access.h"
#include "tools/course_choice.h"
#include "tools/course_command_line.h"
#include "tools/tool_command_line.h"

#include "platform/byte_span.h"
#include "rom/rom_image.h"

namespace velmor::tools {

namespace {

const QString RomOption = QStringLiteral("--rom");

bool isCourseFileName(const QString &path)
{
    return path.endsWith(QStringLiteral(".vcourse"), Qt::CaseInsensitive);
}

int refuse(const QString &why)
{
    printLine(stderr, QStringLiteral("%1: %2").arg(QLatin1String(CourseToolName), files::oneLine(why)));
    return ExitRefused;
}

int report(const rom::CheckInput &input)
{
    const rom::CheckReport report = rom::checkCourse(input);
    for (const rom::Finding &finding : report.findings)
        printLine(stdout, QString::fromStdString(finding.line()));
    return report.errors() > 0 ? ExitRefused : ExitSuccess;
}

const CourseCommand *checkCommand()
{
    for (const CourseCommand &command : courseCommands()) {
        if (command.name == QStringLiteral("check"))
            return &command;
    }
    return nullptr;
}

} // namespace

int checkCourse(const CommandArguments &arguments)
{
    QString romPath = arguments.operands.value(0);
    QString second = arguments.operands.value(1);
    const bool courseFile = arguments.has(RomOption);
    // FILE.vcourse --rom ROM: the option's operand is the ROM, in whichever order they came.
    if (courseFile && isCourseFileName(romPath) && !isCourseFileName(second))
        std::swap(romPath, second);
    QString error;
    std::optional<CourseChoice> choice;
    if (!courseFile) {
        choice = parseCourse(second, &error);
        if (!choice)
            return courseUsageError(error, checkCommand());
    }
    const std::optional<QByteArray> romFile =
        files::readWhole(romPath, QStringLiteral("ROM file"), qint64(rom::MaxFileSize), &error);
    if (!romFile)
        return refuse(error);

    if (courseFile) {
        const std::optional<QByteArray> bytes = files::readWhole(
            second, QStringLiteral("course file"), coursefile::MaxFileSize, &error);
        if (!bytes)
            return refuse(error);
        const coursefile::ReadResult read = coursefile::read(*bytes);
        if (!read.ok())
            return refuse(QStringLiteral("the course file %1: %2").arg(files::shown(second), read.error));
        return report(courseCheckInput(*romFile, *read.course));
    }

    std::string notRom;
    const std::optional<rom::RomImage> image = rom::RomImage::open(byteView(*romFile), &notRom);
    if (!image)
        return refuse(QStringLiteral("the ROM file %1: %2")
                          .arg(files::shown(romPath), QString::fromStdString(notRom)));
    const std::optional<CourseSite> site = locateCourse(*image, *choice, &error);
    if (!site)
        return refuse(error);
    return report(romCheckInput(*romFile, site->id));
}

} // namespace velmor::tools
