#include "tools/course_import_command.h"

#include "course/course_import.h"
#include "platform/byte_span.h"
#include "platform/file_access.h"
#include "rom/rom_image.h"
#include "tools/course_choice.h"
#include "tools/course_command_line.h"
#include "tools/tool_command_line.h"

namespace velmor::tools {

namespace {

const QString Name = QString::fromLatin1(CourseToolName);

const CourseCommand *importCommand()
{
    for (const CourseCommand &command : courseCommands()) {
        if (command.name == QStringLiteral("import"))
            return &command;
    }
    return nullptr;
}

// The course ID the command line names; an offset is looked up in the ROM's own table.
std::optional<int> placeOf(const QString &romPath, const CourseChoice &choice, QString *error)
{
    if (choice.id)
        return choice.id;
    const std::optional<QByteArray> romFile =
        files::readWhole(romPath, QStringLiteral("ROM file"), qint64(rom::MaxFileSize), error);
    if (!romFile)
        return std::nullopt;
    std::string notRom;
    const std::optional<rom::RomImage> image = rom::RomImage::open(byteView(*romFile), &notRom);
    if (!image) {
        *error = QStringLiteral("the ROM file %1: %2")
                     .arg(files::shown(romPath), QString::fromStdString(notRom));
        return std::nullopt;
    }
    const std::optional<CourseSite> site = locateCourse(*image, choice, error);
    return site ? std::optional<int>(site->id) : std::nullopt;
}

} // namespace

QString importCourseHelp()
{
    return QStringLiteral(
        "import writes a course file into the ROM at the course's place: its layout, theme, items, "
        "objects, start grid, lap line and AI (every course's AI repacked into the AI block), "
        "each checked before anything is written and only where it differs from the ROM. It "
        "writes the ROM in place (keeping a restore point first) or, with --output, a new ROM; "
        "whole or not at all. A course file made for another course goes into this one's place "
        "when both are race courses or both battle courses. A start record or an AI set the "
        "course shares with others is changed for all of them only with --change-shared; "
        "--split-ai gives the course an AI set of its own instead.");
}

int importCourse(const CommandArguments &arguments)
{
    const QString &romPath = arguments.operands[0];
    QString error;
    const std::optional<CourseChoice> choice = parseCourse(arguments.operands[1], &error);
    if (!choice)
        return courseUsageError(error, importCommand());
    const std::optional<int> place = placeOf(romPath, *choice, &error);
    if (!place)
        return report(Name, {false, error});
    const bool change = arguments.has(QStringLiteral("--change-shared"));
    const SharingAnswers::Ai ai = arguments.has(QStringLiteral("--split-ai"))
        ? SharingAnswers::Ai::Split
        : change ? SharingAnswers::Ai::KeepShared : SharingAnswers::Ai::Cancel;
    SharingAnswers answers = SharingAnswers::fixed(change, ai);
    answers.declinedHint = QStringLiteral(" (--change-shared changes it for all of them; "
                                          "--split-ai gives the course an AI set of its own)");
    const FileOutcome outcome = importCourseFile(romPath, *place, arguments.operands[2],
                                                 arguments.values.value(QStringLiteral("--output")),
                                                 answers);
    return report(Name, outcome);
}

} // namespace velmor::tools
