// The race's layers in the document: filling every layer of a course from a 512 KB synthetic ROM
// (target: median under 2 ms), drawing all of them over the part of the map the map view shows
// (under 2 ms) and over the whole course at 1024 x 1024 (under 10 ms); and velmor-course show
// --json as a whole process against velmor-render without layers on the same course, same run
// (under 1.5 times).
#include "bench/bench_figures.h"
#include "document/course_document.h"
#include "document/layer.h"
#include "document/layer_canvas.h"
#include "document/race_layers.h"
#include "rom/course_layers.h"
#include "tests/support/synthetic_race.h"
#include "tests/support/tool_process.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <cstdio>

namespace {

using namespace velmor;

constexpr int Runs = 101;
constexpr int ProcessRuns = 15;
constexpr double LoadTargetUs = 2000;
constexpr double VisibleTargetUs = 2000;
constexpr double WholeTargetUs = 10000;
constexpr double ProcessRatioTarget = 1.5;
// The map view: 32 x 20 tiles of 16 pixels, two to a course pixel.
constexpr double ViewScale = 2.0;

// The course with the most zones, so that the AI layers draw their most.
int busiestCourse()
{
    int best = 0;
    for (const rom::CourseData &course : test::syntheticCourses()) {
        if (course.ai.zones.size() > test::syntheticCourses()[std::size_t(best)].ai.zones.size())
            best = course.id;
    }
    return best;
}

void drawRace(const CourseDocument &document, QImage &image, double scale)
{
    QPainter painter(&image);
    const LayerCanvas canvas(scale, QPointF(0, 0), QRectF(image.rect()), nullptr);
    for (const Layer *layer : document.layers()) {
        if (layer != document.layers().constFirst() && layer->isVisible())
            layer->draw(painter, canvas);
    }
}

double processMillis(const QString &program, const QStringList &arguments, bool *ok)
{
    const bench::Figures figures = bench::timeMicros(ProcessRuns, [&] {
        const test::ToolRun run = test::runTool(program, arguments, QString(), 20000);
        *ok = *ok && run.exitCode == 0;
    }, 2);
    return figures.median / 1000.0;
}

} // namespace

int main(int argc, char **argv)
{
    std::vector<char *> args = velmor::bench::offscreenArguments(argc, argv);
    int count = int(args.size());
    const QGuiApplication app(count, args.data());
    const test::GameRom built = test::gameRom(
        {.seed = 11, .copierHeader = false, .themeGraphics = true, .raceData = true});
    const auto image = rom::RomImage::open(built.bytes);
    const int id = busiestCourse();
    std::printf("course %02x: %zu zones, %zu items\n", id,
                test::syntheticCourses()[std::size_t(id)].ai.zones.size(),
                test::syntheticCourses()[std::size_t(id)].items.size());

    CourseDocument document;
    const bench::Figures load = bench::timeMicros(Runs, [&] {
        document.loadRace(rom::readCourseLayers(*image, id));
    });
    bench::print("read every layer into the document", load, "us", LoadTargetUs);
    for (Layer *layer : document.layers())
        layer->setVisible(true);

    QImage visible(int(VisibleColumns * CoursePixelsPerTile * ViewScale),
                   int(VisibleRows * CoursePixelsPerTile * ViewScale),
                   QImage::Format_ARGB32_Premultiplied);
    // The layers alone, over what the tile art drew: in the views' own pixel format.
    visible.fill(Qt::white);
    const bench::Figures shown = bench::timeMicros(Runs, [&] { drawRace(document, visible, ViewScale); });
    bench::print("draw all layers over the visible map", shown, "us", VisibleTargetUs);

    QImage whole(CoursePixelSide, CoursePixelSide, QImage::Format_RGB32);
    whole.fill(Qt::white);
    const bench::Figures all = bench::timeMicros(Runs, [&] { drawRace(document, whole, 1.0); });
    bench::print("draw all layers over the course, 1024 x 1024", all, "us", WholeTargetUs);
    if (qEnvironmentVariableIsSet("VELMOR_BENCH_EACH_LAYER")) {
        for (const Layer *layer : document.layers()) {
            if (layer == document.layers().constFirst())
                continue;
            const bench::Figures one = bench::timeMicros(Runs, [&] {
                QPainter painter(&whole);
                layer->draw(painter, LayerCanvas(1.0, QPointF(0, 0), QRectF(whole.rect()), nullptr));
            });
            bench::print(qPrintable(QStringLiteral("  of which %1").arg(layer->key())), one, "us",
                         WholeTargetUs);
        }
    }

    QTemporaryDir dir;
    const QString rom = dir.filePath(QStringLiteral("race.sfc"));
    bool ok = dir.isValid() && test::writeBytes(rom, built.bytes);
    const QString idText = QStringLiteral("%1").arg(id, 2, 16, QLatin1Char('0'));
    const double show = processMillis(QStringLiteral(VELMOR_COURSE_EXE),
                                      {QStringLiteral("show"), QStringLiteral("--json"), rom, idText},
                                      &ok);
    const double render = processMillis(QStringLiteral(VELMOR_RENDER_EXE),
                                        {rom, idText, dir.filePath(QStringLiteral("course.png"))},
                                        &ok);
    std::printf("%-44s median %9.3f ms; velmor-render %9.3f ms: %.2f x, target < %.1f x  %s\n",
                "velmor-course show --json, whole process", show, render, show / render,
                ProcessRatioTarget, show / render < ProcessRatioTarget ? "ok" : "MISSED");
    if (!ok) {
        std::printf("a tool did not run to its end\n");
        return 1;
    }
    return 0;
}
