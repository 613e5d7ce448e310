// velmor-course: a course of a ROM shown, and kept as a course file. A thin front end over
// tools/course_command_line.h, which holds the subcommands.
#include "tools/course_command_line.h"

#include <QCoreApplication>

int main(int argc, char **argv)
{
    const QCoreApplication app(argc, argv);
    // arguments() rather than argv: file names keep their characters on every system.
    return velmor::tools::runCourseTool(QCoreApplication::arguments().mid(1));
}
