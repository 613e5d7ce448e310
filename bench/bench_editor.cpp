// Times the map's editing and drawing: a pointer move that paints a cell (model only and with the
// view's repaint request), repainting the visible map, "Clear Color" and "Texture Filler" over all
// 16384 cells, and a drag of an item or of the start grid with the repaint of what it changed.
// Prints the median, least and most of many runs against each target.
#include "bench/bench_figures.h"
#include "document/course_map.h"
#include "document/map_geometry.h"
#include "document/course_document.h"
#include "document/race_layers.h"
#include "editor/tool_controller.h"
#include "rom/course_layers.h"
#include "rom/item_kinds.h"
#include "editor/map_view.h"
#include "editor/painting.h"

#include <QApplication>
#include <QFrame>
#include <QImage>
#include <QPainter>

#include <cstdio>
#include <vector>

using namespace velmor;
using velmor::bench::print;
using velmor::bench::timeMicros;

namespace {

constexpr int Runs = 201;
constexpr int MovesPerRun = 1000;
constexpr double MoveTargetMicros = 20;
constexpr double RepaintTargetMillis = 2;
constexpr double WholeMapTargetMicros = 1000;

// Paints MovesPerRun cells along rows, alternating palettes so that every move really writes.
void paintMoves(TilePainter &painter, int &next, bool &flip)
{
    const Palettes a{QStringLiteral("3C"), QStringLiteral("00")};
    const Palettes b{QStringLiteral("C3"), QStringLiteral("00")};
    for (int k = 0; k < MovesPerRun; ++k) {
        painter.move(next, LeftButton, flip ? a : b);
        next = (next + 1) % CellCount;
        if (next == 0)
            flip = !flip;
    }
}

// A race course with every item the game allows, loaded as from a ROM.
void loadRace(CourseDocument &document)
{
    rom::CourseLayers race;
    rom::OverlayItems items;
    for (int i = 0; i < 41; ++i)
        items.push_back(rom::makeItem(i % 28, 4 + (i % 8) * 3, 4 + (i / 8) * 3));
    race.theme = {rom::Theme::MarioCircuit, {}};
    race.items = {items, {}};
    race.objects = {rom::ObjectPositions {}, {}};
    race.start = {rom::StartGrid(rom::RaceStart {120, 40, 24}), {}};
    race.lap = {rom::LapLine {300, 2, 18, 8, 2}, {}};
    race.ai = {rom::CourseAi {}, {}};
    document.loadRace(race);
}

// One pointer move of a drag, one cell on and back, then the repaint of what the layers and the
// tool's preview said had changed, as the view's next paint event would do it.
void timeDrag(const char *what, ToolController &tools, MapView *view, QPointF from)
{
    QRect dirty;
    const auto grow = [&dirty](const QRect &cells) { dirty |= cells; };
    const QMetaObject::Connection layers = QObject::connect(&view->document(),
        &CourseDocument::layerChanged, view, [grow](Layer *, const QRect &cells) { grow(cells); });
    const QMetaObject::Connection preview
        = QObject::connect(&tools, &ToolController::previewChanged, view, grow);
    QImage image(view->size(), QImage::Format_ARGB32_Premultiplied);
    ToolEvent press = ToolEvent::at(from);
    press.button = press.buttons = LeftButton;
    tools.press(press);
    bool flip = false;
    auto f = timeMicros(Runs, [&] {
        dirty = QRect();
        ToolEvent move = ToolEvent::at(from + QPointF(flip ? 0 : 8, 0));
        move.buttons = LeftButton;
        tools.move(move);
        // What the view repaints: the changed cells and the reach of what a layer draws past them.
        const QRect pixels = MapView::cellsPixelRect(dirty).adjusted(-16, -16, 16, 16);
        view->render(&image, pixels.topLeft(), QRegion(pixels), QWidget::DrawChildren);
        flip = !flip;
    });
    ToolEvent release = ToolEvent::at(from);
    release.button = LeftButton;
    tools.release(release);
    QObject::disconnect(layers);
    QObject::disconnect(preview);
    f = {f.median / 1000, f.least / 1000, f.most / 1000};
    print(what, f, "ms", RepaintTargetMillis);
}

} // namespace

int main(int argc, char **argv)
{
    std::vector<char *> args = velmor::bench::offscreenArguments(argc, argv);
    int count = int(args.size());
    QApplication app(count, args.data());

    {
        CourseMap map;
        TilePainter painter(map);
        int next = 0;
        bool flip = false;
        auto f = timeMicros(Runs, [&] { paintMoves(painter, next, flip); });
        f = {f.median / MovesPerRun, f.least / MovesPerRun, f.most / MovesPerRun};
        print("paint move, model only", f, "us", MoveTargetMicros);
    }

    CourseDocument document;
    CourseMap &map = document.map();
    TilePainter painter(map);
    QFrame viewport;
    viewport.setGeometry(0, 0, twipsToPixels(7935), twipsToPixels(4815));
    auto *view = new MapView(document, &viewport);
    view->setGeometry(0, 0, twipsToPixels(MapContainerTwips), twipsToPixels(MapContainerTwips));
    {
        int next = 0;
        bool flip = false;
        auto f = timeMicros(Runs, [&] { paintMoves(painter, next, flip); });
        f = {f.median / MovesPerRun, f.least / MovesPerRun, f.most / MovesPerRun};
        print("paint move, model + view repaint request", f, "us", MoveTargetMicros);
    }
    {
        // A varied map, some cells painted, some erased, so fonts and colours change as in use.
        for (int i = 0; i < CellCount; ++i)
            map.setCell(i, QStringLiteral("%1").arg(i % 256, 2, 16, QLatin1Char('0')).toUpper(),
                        Mark(i % 3));
        QImage image(viewport.size(), QImage::Format_ARGB32_Premultiplied);
        const QRegion visible(viewport.rect());
        auto f = timeMicros(Runs, [&] {
            view->render(&image, QPoint(), visible, QWidget::DrawChildren);
        });
        f = {f.median / 1000, f.least / 1000, f.most / 1000};
        print("repaint of the visible map (33 x 20 cells)", f, "ms", RepaintTargetMillis);
    }
    {
        bool flip = false;
        auto f = timeMicros(Runs, [&] {
            painter.press(flip ? 5 : 6, LeftButton, {QStringLiteral("AA"), QString()});
            painter.clearColor();
            flip = !flip;
        });
        print("Clear Color, 16384 cells (+ repaint request)", f, "us", WholeMapTargetMicros);
    }
    {
        bool flip = false;
        auto f = timeMicros(Runs, [&] {
            painter.textureFiller(flip ? QStringLiteral("0F") : QStringLiteral("F0"));
            flip = !flip;
        });
        print("Texture Filler, 16384 cells (+ repaint request)", f, "us", WholeMapTargetMicros);
    }
    {
        loadRace(document);
        ToolController tools(document);
        view->setToolController(&tools);
        tools.setTool(QStringLiteral("items"));
        timeDrag("item drag move + repaint (41 items)", tools, view, QPointF(4 * 8 + 4, 4 * 8 + 4));
        tools.setTool(QStringLiteral("start"));
        timeDrag("start grid drag move + repaint", tools, view, QPointF(120, 40));
        {
            // Dragging an AI zone among 60 others, their targets shown: each pointer move previews the
            // set and repaints what changed (where the zone was and is), as the map view does.
            rom::CourseAi ai;
            for (int k = 0; k < 60; ++k) {
                ai.zones.push_back({rom::ZoneShape::Rectangle, (k % 10) * 6, (k / 10) * 6, 5, 5});
                ai.targets.push_back({(k % 10) * 12 + 5, (k / 10) * 12 + 5, k % 4});
            }
            document.zones().load(ai);
            document.zones().setVisible(true);
            document.targets().setVisible(true);
            ToolController tools(document);
            tools.setTool(QStringLiteral("zones"));
            QRect changed;
            QObject::connect(&document, &CourseDocument::layerChanged,
                [&changed](Layer *, const QRect &cells) { changed |= cells; });
            QImage image(viewport.size(), QImage::Format_ARGB32_Premultiplied);
            const auto event = [](QPointF pixel, int button, int buttons) {
                ToolEvent e = ToolEvent::at(pixel);
                e.button = button;
                e.buttons = buttons;
                return e;
            };
            tools.press(event({40, 40}, LeftButton, LeftButton));
            int step = 0;
            auto f = timeMicros(Runs, [&] {
                changed = QRect();
                step = (step + 1) % 8;
                tools.move(event({40.0 + 16 * step, 40.0 + 8 * step}, 0, LeftButton));
                const QRect area(changed.topLeft() * 16, changed.size() * 16);
                view->render(&image, QPoint(), QRegion(area & viewport.rect()), QWidget::DrawChildren);
            });
            tools.escape();
            f = {f.median / 1000, f.least / 1000, f.most / 1000};
            print("AI zone drag: preview + repaint of the change", f, "ms", RepaintTargetMillis);
        }
    }
    return 0;
}
