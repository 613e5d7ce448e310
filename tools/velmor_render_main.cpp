#include "tools/course_render.h"
#include "tools/render_command_line.h"
#include "tools/tool_command_line.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

const QString Name = QStringLiteral("velmor-render");

int usageError(const QString &why)
{
    return velmor::tools::usageError(Name, why, velmor::tools::RenderCommandLine::usage());
}

// The race layers' numbers are text, and text needs fonts, which only a GUI application has. A
// tool shows no window, so it takes the platform without a screen unless told otherwise; the
// plain course needs none of it and starts as fast as before.
bool asksForLayers(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0)
            return false;
        if (std::strncmp(argv[i], "--layers", 8) == 0)
            return true;
    }
    return false;
}

std::unique_ptr<QCoreApplication> application(int &argc, char **argv)
{
    if (!asksForLayers(argc, argv))
        return std::make_unique<QCoreApplication>(argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QGuiApplication>(argc, argv);
}

} // namespace

int main(int argc, char **argv)
{
    using namespace velmor::tools;
    const std::unique_ptr<QCoreApplication> app = application(argc, argv);
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
