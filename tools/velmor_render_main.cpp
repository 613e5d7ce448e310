#include "tools/course_render.h"
#include "tools/render_command_line.h"
#include "tools/tool_command_line.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

const QString Name = QStringLiteral("velmor-render");

int usageError(const QString &why)
{
    return velmor::tools::usageError(Name, why, velmor::tools::RenderCommandLine::usage());
}

} // namespace

int main(int argc, char **argv)
{
    using namespace velmor::tools;
    const QCoreApplication app(argc, argv);
    // arguments() rather than argv: file names keep their characters on every system.
    const RenderCommandLine line(QCoreApplication::arguments().mid(1));
    switch (line.outcome()) {
    case RenderCommandLine::Outcome::Help:
        printLine(stdout, RenderCommandLine::help());
        return ExitSuccess;
    case RenderCommandLine::Outcome::Wrong:
        return usageError(line.error());
    case RenderCommandLine::Outcome::Render:
        break;
    }
    QString why;
    const std::optional<CourseChoice> course = parseCourse(line.request().course, &why);
    if (!course)
        return usageError(why);
    return report(Name, renderCourse(line.request(), *course));
}
