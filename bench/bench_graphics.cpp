// Times the theme graphics: loading a theme from a ROM (decoding its tiles and palette and making
// 256 tile pictures), repainting the visible map in the Tiles mode, drawing a whole course, and
// the overview's update after one painted cell. The ROM is the tests' synthetic one, never the
// game's. Prints the median, least and most of many runs against each target.
#include "bench/bench_figures.h"
#include "document/course_map.h"
#include "document/map_geometry.h"
#include "editor/map_view.h"
#include "editor/painting.h"
#include "document/course_document.h"
#include "editor/course_overview.h"
#include "graphics/course_renderer.h"
#include "graphics/theme_loader.h"
#include "graphics/tile_images.h"
#include "document/tile_text.h"
#include "tests/support/synthetic_graphics.h"

#include <QApplication>
#include <QFrame>
#include <QImage>

#include <vector>

using namespace velmor;
using velmor::bench::print;
using velmor::bench::timeMicros;

namespace {

constexpr int Runs = 201;
constexpr int CellChangesPerRun = 1000;
constexpr double LoadTargetMillis = 5;
constexpr double RepaintTargetMillis = 2;
constexpr double RenderTargetMillis = 15;
constexpr double CellUpdateTargetMicros = 50;
constexpr double ZoomedRepaintTargetMillis = 4;
constexpr double ZoomStepTargetMillis = 16;

bench::Figures inMillis(const bench::Figures &micros)
{
    return {micros.median / 1000, micros.least / 1000, micros.most / 1000};
}

} // namespace

int main(int argc, char **argv)
{
    std::vector<char *> args = velmor::bench::offscreenArguments(argc, argv);
    int count = int(args.size());
    QApplication app(count, args.data());

    const test::GameRom built = test::gameRom({.seed = 5, .themeGraphics = true});
    const rom::RomImage image = *rom::RomImage::open(built.bytes);
    const rom::Theme theme = rom::Theme::MarioCircuit;
    std::shared_ptr<const graphics::ThemeGraphics> graphics;
    {
        const auto f = timeMicros(Runs, [&] {
            graphics = graphics::loadTheme(image, theme).graphics;
            const graphics::TileImages tiles(*graphics);
        });
        print("load a theme: decode, 256 tile pictures", inMillis(f), "ms", LoadTargetMillis);
        const auto decodeOnly = timeMicros(Runs, [&] { graphics::loadTheme(image, theme); });
        print(
            "  of which decoding tiles and palette", inMillis(decodeOnly), "ms", LoadTargetMillis);
    }
    const graphics::TileImages tiles(*graphics);

    QStringList texts;
    for (const std::uint8_t cell : test::courseLikeCells(3))
        texts.append(tileText(cell));
    {
        graphics::CourseRenderer renderer;
        renderer.setGraphics(graphics);
        const auto f = timeMicros(Runs, [&] { renderer.render(texts); });
        print("draw a whole course, 1024 x 1024", inMillis(f), "ms", RenderTargetMillis);
    }

    CourseDocument document;
    CourseMap &map = document.map();
    map.setAll(texts, QList<Mark>(CellCount, Mark::Untouched));
    for (int i = 0; i < CellCount; i += 3)
        map.setMark(i, Mark(1 + i % 2));
    {
        QFrame viewport;
        viewport.setGeometry(0, 0, twipsToPixels(7935), twipsToPixels(4815));
        auto *view = new MapView(document, &viewport);
        view->setGeometry(0, 0, twipsToPixels(MapContainerTwips), twipsToPixels(MapContainerTwips));
        view->setTileImages(tiles.images(), tiles.placeholder());
        view->setViewMode(MapView::ViewMode::Tiles);
        QImage picture(viewport.size(), QImage::Format_ARGB32_Premultiplied);
        const QRegion visible(viewport.rect());
        const auto f = timeMicros(
            Runs, [&] { view->render(&picture, QPoint(), visible, QWidget::DrawChildren); });
        print("Tiles mode: repaint of the visible map", inMillis(f), "ms", RepaintTargetMillis);
    }
    {
        CourseOverview overview(document);
        overview.resize(300, 300);
        overview.setGraphics(graphics);
        // Shown, so that its repaint requests are real ones and not dropped as for a hidden widget.
        overview.show();
        QCoreApplication::processEvents();
        int next = 0;
        bool flip = false;
        // Every change writes: the cell's text alternates between two tiles.
        auto f = timeMicros(Runs, [&] {
            for (int k = 0; k < CellChangesPerRun; ++k) {
                map.setCell(
                    next, flip ? QStringLiteral("C3") : QStringLiteral("3C"), Mark::Painted);
                next = (next + 37) % CellCount;
                if (next == 0)
                    flip = !flip;
            }
        });
        f = {f.median / CellChangesPerRun, f.least / CellChangesPerRun, f.most / CellChangesPerRun};
        print("overview after one painted cell (+ request)", f, "us", CellUpdateTargetMicros);

        // What the request then costs when the event loop paints it.
        const QRect cell = overview.viewportRectOf(QRect(64, 64, 1, 1)).adjusted(-2, -2, 2, 2);
        QImage picture(overview.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
        const auto paint = timeMicros(
            Runs, [&] { overview.viewport()->render(&picture, QPoint(), QRegion(cell)); });
        print("  its repaint of that cell's pixels", paint, "us", CellUpdateTargetMicros);
        const auto whole = timeMicros(Runs, [&] {
            overview.viewport()->render(&picture, QPoint(), QRegion(overview.viewport()->rect()));
        });
        print("  a whole repaint of the overview, 300 x 300", inMillis(whole), "ms",
            RenderTargetMillis);
    }
    {
        // The overview as an editing view, on a large screen, zoomed all the way in.
        CourseOverview overview(document);
        overview.resize(1200, 900);
        overview.setGraphics(graphics);
        overview.show();
        QCoreApplication::processEvents();
        overview.setZoom(CourseOverview::MaxZoom);
        QImage picture(overview.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
        const auto repaint = timeMicros(Runs, [&] {
            overview.viewport()->render(&picture, QPoint(), QRegion(overview.viewport()->rect()));
        });
        print("overview at 8x: repaint of its visible part, 1200 x 900", inMillis(repaint), "ms",
            ZoomedRepaintTargetMillis);
        // A zoom step around the pointer, then the repaint it asks for.
        bool in = false;
        const QPointF centre = overview.viewport()->rect().center();
        const auto step = timeMicros(Runs, [&] {
            in = !in;
            overview.zoomAround(overview.zoom() * (in ? CourseOverview::ZoomStep
                                                       : 1 / CourseOverview::ZoomStep),
                centre);
            overview.viewport()->render(&picture, QPoint(), QRegion(overview.viewport()->rect()));
        });
        print("overview: one zoom step with its repaint", inMillis(step), "ms",
            ZoomStepTargetMillis);
    }
    return 0;
}
