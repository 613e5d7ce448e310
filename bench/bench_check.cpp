// The course check, which runs after every save and may run while painting: a whole check of a
// course as a ROM holds it (reading the course, its theme's tile behaviour and graphics, the
// object zones, measuring the layout against its slot, then every check), the same for the
// editor's course as values, and the checks alone. Target: a whole check's median under 20 ms.
#include "bench/bench_figures.h"
#include "course/course_check_input.h"
#include "tests/support/synthetic_check.h"

#include <QCoreApplication>

#include <random>

namespace {

using namespace velmor;

constexpr int Runs = 41;
constexpr double WholeTargetMs = 20;

void measure(const char *what, const std::function<rom::CheckReport()> &check)
{
    std::size_t findings = 0;
    const bench::Figures figures = bench::timeMicros(Runs, [&] { findings = check().findings.size(); });
    char line[160];
    std::snprintf(line, sizeof line, "%s (%zu findings)", what, findings);
    bench::print(line, {figures.median / 1000, figures.least / 1000, figures.most / 1000}, "ms",
                 WholeTargetMs);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const rom::CourseData clean = test::cleanCheckCourse();
    // A busier course: every road tile one of fifteen, which the compressor finds hardest, and
    // a gap in the zones, so every check has work to do.
    rom::CourseData busy = clean;
    std::mt19937 noise(3);
    for (std::uint8_t &tile : busy.layout)
        tile = tile == test::RoadTile ? std::uint8_t(1 + noise() % 15) : tile;
    busy.ai.zones.pop_back();
    busy.ai.targets.pop_back();

    for (const auto &[name, course] : {std::pair {"clean course", &clean}, {"busy course", &busy}}) {
        const QByteArray rom = test::toQByteArray(test::checkRom(*course).bytes);
        const std::string from = std::string("whole check from the ROM, ") + name;
        measure(from.c_str(), [&] { return rom::checkCourse(romCheckInput(rom, test::CheckCourseId)); });
        const std::string values = std::string("whole check of the editor's course, ") + name;
        measure(values.c_str(), [&] { return rom::checkCourse(courseCheckInput(rom, *course)); });
        const rom::CheckInput input = courseCheckInput(rom, *course);
        const std::string alone = std::string("the checks alone, ") + name;
        measure(alone.c_str(), [&] { return rom::checkCourse(input); });
    }
    return 0;
}
