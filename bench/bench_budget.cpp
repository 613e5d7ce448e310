// Times the slot budget: measuring whole course-like maps (the map encoded as a track and that
// compressed, as insertion writes it), and a painting move on the UI thread while the budget keeps
// measuring in the background. Prints the median, least and most against each target.
#include "bench/bench_figures.h"
#include "course/slot_budget.h"
#include "document/course_map.h"
#include "document/map_geometry.h"
#include "editor/painting.h"
#include "rom/course_catalogue.h"
#include "tests/support/synthetic_rom.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>

using namespace velmor;
using velmor::bench::print;
using velmor::bench::summarise;
using velmor::bench::timeMicros;

namespace {

constexpr int MeasureRuns = 41;
constexpr double MeasureTargetMillis = 10;
constexpr int Moves = 20000;
constexpr double MoveTargetMicros = 20;

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const rom::Course &course = *rom::courseById(0x07);

    for (unsigned seed = 1; seed <= 4; ++seed) {
        const QStringList map = tileTexts(test::courseLikeCells(seed));
        std::size_t bytes = 0;
        const auto figures = timeMicros(
            MeasureRuns, [&] { bytes = measureBudget(map, &course, course.slotLength).bytes; });
        char what[64];
        std::snprintf(what, sizeof what, "budget of course-like map %u (%zu bytes)", seed, bytes);
        print(what, {figures.median / 1000, figures.least / 1000, figures.most / 1000}, "ms",
            MeasureTargetMillis);
    }

    // The window's wiring: every change marks the map, the budget measures on its own thread.
    CourseMap map;
    map.setAll(tileTexts(test::courseLikeCells(1)), map.marks());
    TilePainter painter(map);
    SlotBudget budget;
    budget.setMapSource([&map] { return map.texts(); });
    QObject::connect(&map, &CourseMap::cellsChanged, &budget, &SlotBudget::mapChanged);
    budget.setCourse(&course, course.slotLength);

    std::vector<double> micros;
    micros.reserve(Moves);
    int measurings = 0;
    QObject::connect(&budget, &SlotBudget::budgetChanged, [&measurings] { ++measurings; });
    const Palettes a {QStringLiteral("3C"), QStringLiteral("00")};
    const Palettes b {QStringLiteral("C3"), QStringLiteral("00")};
    QElapsedTimer timer;
    for (int k = 0; k < Moves; ++k) {
        const int cell = (k * 37) % CellCount;
        timer.start();
        painter.move(cell, LeftButton, k % 2 ? a : b);
        micros.push_back(double(timer.nsecsElapsed()) / 1000.0);
        // Delivers finished measurings, which start the next one, as the event loop would.
        QCoreApplication::processEvents();
    }
    print("paint move with the budget measuring", summarise(micros), "us", MoveTargetMicros);
    std::printf("  (%d budgets measured during %d moves)\n", measurings, Moves);
    return 0;
}
