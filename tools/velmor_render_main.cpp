#include "tools/course_render.h"
#include "tools/render_command_line.h"
#include "tools/tool_command_line.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

int usageError(const QString &why)
{
    velmor::tools::printLine(stderr,
        QStringLiteral("velmor-render: %1 (usage: %2; try --help)")
            .arg(why, velmor::tools::RenderCommandLine::usage()));
    return velmor::tools::ExitUsage;
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
        velmor::tools::printLine(stdout, RenderCommandLine::help());
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
    const velmor::FileOutcome outcome = renderCourse(line.request(), *course);
    if (!outcome.ok) {
        velmor::tools::printLine(stderr, QStringLiteral("velmor-render: %1").arg(outcome.message));
        return ExitRefused;
    }
    velmor::tools::printLine(stdout, outcome.message);
    return ExitSuccess;
}
