// The race's data of a course on a 512 KB synthetic ROM with every course's race data: reading
// every layer of one course (target: median under 2 ms), and repacking all 24 courses' AI into the
// AI block with both pointer tables (target: median under 5 ms), after one course grew.
#include "bench/bench_figures.h"
#include "rom/ai_repack.h"
#include "rom/course_layers.h"
#include "tests/support/synthetic_race.h"

#include <cstdio>

namespace {

using namespace velmor;

constexpr int Runs = 201;
// The targets in microseconds: the figures are far below a millisecond.
constexpr double ReadTargetUs = 2000;
constexpr double RepackTargetUs = 5000;
constexpr int MarioCircuit1 = 0x07;

} // namespace

int main()
{
    const test::GameRom built = test::gameRom({.seed = 11, .copierHeader = false, .raceData = true});
    const auto image = rom::RomImage::open(built.bytes);

    std::size_t layers = 0;
    const bench::Figures read = bench::timeMicros(Runs, [&] {
        const rom::CourseLayers course = rom::readCourseLayers(*image, MarioCircuit1);
        layers += course.errors().empty() ? 1 : 0;
    });
    bench::print("read every layer of Mario Circuit 1", read, "us", ReadTargetUs);

    rom::AiSets sets = *rom::readAiSets(*image).value;
    for (int k = 0; k < 20; ++k) {
        sets.setFor(MarioCircuit1).zones.push_back({rom::ZoneShape::Rectangle, k, 5, 2, 2});
        sets.setFor(MarioCircuit1).targets.push_back({2 * k, 10, k % 4});
    }
    codec::Bytes bytes = built.bytes;
    std::size_t refusals = 0;
    const bench::Figures repack = bench::timeMicros(Runs, [&] {
        refusals += rom::repackAi(bytes, sets).empty() ? 0 : 1;
    });
    bench::print("repack all 24 courses' AI", repack, "us", RepackTargetUs);
    if (refusals > 0 || layers == 0) {
        std::printf("the synthetic ROM did not read or repack\n");
        return 1;
    }
    return 0;
}
