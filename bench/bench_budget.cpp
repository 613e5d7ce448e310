// Times the slot budget: measuring whole course-like maps (the map encoded as a track and that
// compressed, as insertion writes it), and a painting move on the UI thread while the budget keeps
// measuring in the background. Prints the median, least and most against each target.
#include "bench/bench_figures.h"
#include "course/slot_budget.h"
#include "editor/course_map.h"
#include "editor/map_geometry.h"
#include "editor/painting.h"
#include "rom/course_catalogue.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <random>

using namespace velmor;
using velmor::bench::print;
using velmor::bench::summarise;
using velmor::bench::timeMicros;

namespace {

constexpr int MeasureRuns = 41;
constexpr double MeasureTargetMillis = 10;
constexpr int Moves = 20000;
constexpr double MoveTargetMicros = 20;

// A road loop with kerbs on grass, items scattered by the seed: what a course looks like.
QStringList courseLikeMap(unsigned seed)
{
    constexpr int Side = MapSide;
    std::mt19937 rng(seed);
    QStringList texts(CellCount, QStringLiteral("01"));
    const int inset = 10 + int(rng() % 10);
    const int width = 6 + int(rng() % 6);
    for (int row = 0; row < Side; ++row) {
        for (int column = 0; column < Side; ++column) {
            const int edge = std::min(
                {row - inset, column - inset, Side - 1 - inset - row, Side - 1 - inset - column});
            if (edge >= 0 && edge < width)
                texts[cellIndex(row, column)] =
                    (edge == 0 || edge == width - 1) ? QStringLiteral("5A") : QStringLiteral("40");
        }
    }
    const int items = 20 + int(rng() % 40);
    for (int k = 0; k < items; ++k)
        texts[int(rng() % CellCount)] = QStringLiteral("8%1").arg(rng() % 8);
    return texts;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const rom::Course &course = *rom::courseById(0x07);

    for (unsigned seed = 1; seed <= 4; ++seed) {
        const QStringList map = courseLikeMap(seed);
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
    map.setAll(courseLikeMap(1), map.marks());
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
