// Times the drawing tools' edits on a real course map with its undo history, each as the one
// undoable step a user makes: a fill of the whole empty map and its undo, a line across the map,
// and pasting a 64 x 64 block. Prints the median, least and most of many runs against each target.
#include "bench/bench_figures.h"
#include "editor/cell_block.h"
#include "document/course_map.h"
#include "editor/map_edits.h"
#include "document/map_history.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QUndoStack>

#include <vector>

using namespace velmor;
using velmor::bench::print;
using velmor::bench::summarise;
using velmor::bench::timeMicros;

namespace {

constexpr int Runs = 201;
constexpr int WarmUp = 5;
constexpr double FillTargetMicros = 2000;
constexpr double LineTargetMicros = 100;
constexpr double PasteTargetMicros = 1000;
constexpr int PasteSide = 64;

// A block of varied tiles, so that the undo history sees many distinct texts.
CellBlock variedBlock(int shift)
{
    QStringList texts;
    for (int i = 0; i < PasteSide * PasteSide; ++i)
        texts.append(
            QStringLiteral("%1").arg((i + shift) % 251, 2, 16, QLatin1Char('0')).toUpper());
    return CellBlock(PasteSide, PasteSide, texts);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);

    {
        // Fill the empty map, then undo it: every run starts from the same empty map.
        CourseMap map;
        MapHistory history(map);
        MapEdits edits(map, history);
        std::vector<double> fills;
        std::vector<double> undos;
        QElapsedTimer timer;
        for (int k = 0; k < WarmUp + Runs; ++k) {
            timer.start();
            const EditResult result = edits.fill({64, 64}, QStringLiteral("3C"));
            const double fill = double(timer.nsecsElapsed()) / 1000.0;
            Q_ASSERT(result.changedCells == CellCount);
            timer.start();
            history.stack()->undo();
            const double undo = double(timer.nsecsElapsed()) / 1000.0;
            if (k >= WarmUp) {
                fills.push_back(fill);
                undos.push_back(undo);
            }
        }
        print(
            "fill of the whole empty map (16384 cells)", summarise(fills), "us", FillTargetMicros);
        print("undo of that fill", summarise(undos), "us", FillTargetMicros);
    }
    {
        CourseMap map;
        MapHistory history(map);
        MapEdits edits(map, history);
        bool flip = false;
        auto f = timeMicros(Runs, [&] {
            edits.line({0, 3}, {127, 124}, flip ? QStringLiteral("0F") : QStringLiteral("F0"));
            flip = !flip;
        });
        print("line across the map (0,3)-(127,124)", f, "us", LineTargetMicros);
    }
    {
        CourseMap map;
        MapHistory history(map);
        MapEdits edits(map, history);
        const CellBlock blocks[2] = {variedBlock(0), variedBlock(7)};
        int next = 0;
        auto f = timeMicros(Runs, [&] {
            edits.paste(blocks[next], {32, 32});
            next = 1 - next;
        });
        print("paste of a 64 x 64 block of varied tiles", f, "us", PasteTargetMicros);
    }
    return 0;
}
