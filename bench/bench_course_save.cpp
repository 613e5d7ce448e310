// A whole course saved and a course file imported, on a 512 KB synthetic ROM with every course's
// race data: building the new ROM with every block of Mario Circuit 1 changed (layout compressed,
// theme, items, objects, start grid, lap line, all 24 courses' AI repacked, each block read back;
// target: median under 30 ms), and reading a course file into the document as one undo step
// (target: median under 5 ms).
#include "bench/bench_figures.h"
#include "course/course_file.h"
#include "course/course_image.h"
#include "course/course_import.h"
#include "document/course_document.h"
#include "platform/byte_span.h"
#include "tests/support/synthetic_race.h"

#include <QCoreApplication>
#include <QUndoStack>

#include <cstdio>

namespace {

using namespace velmor;

constexpr int Runs = 51;
constexpr double SaveTargetMs = 30;
constexpr double ImportTargetMs = 5;
constexpr int MarioCircuit1 = 0x07;

rom::CourseData changedCourse()
{
    rom::CourseData course = test::syntheticCourses()[MarioCircuit1];
    const codec::Bytes cells = test::courseLikeCells(3);
    course.layout.assign(cells.begin(), cells.end());
    course.theme = rom::Theme::KoopaBeach;
    course.items.pop_back();
    course.objects->groups[1][1] = {20, 30};
    std::get<rom::RaceStart>(course.start).x += 8;
    course.lap->y += 8;
    for (int k = 0; k < 20; ++k) {
        course.ai.zones.push_back({rom::ZoneShape::Rectangle, k, 5, 2, 2});
        course.ai.targets.push_back({2 * k, 10, k % 4});
    }
    course.ai.spare.clear();
    return course;
}

} // namespace

int main(int argc, char **argv)
{
    const QCoreApplication app(argc, argv);
    const QByteArray rom = toByteArray(
        test::gameRom({.seed = 11, .copierHeader = false, .raceData = true}).bytes);
    const rom::CourseData course = changedCourse();

    int refused = 0;
    const SharingAnswers answers = SharingAnswers::fixed(false, SharingAnswers::Ai::Cancel);
    const bench::Figures save = bench::timeMicros(Runs, [&] {
        refused += CourseImage::build(course, rom, answers).written.size() == 8 ? 0 : 1;
    });
    bench::print("save Mario Circuit 1 whole into 512 KB", {save.median / 1000, save.least / 1000,
                 save.most / 1000}, "ms", SaveTargetMs);

    // Two files in turn, so that every import changes the document.
    const QByteArray files[] = {*coursefile::write(course),
                                *coursefile::write(test::syntheticCourses()[0x00])};
    int turn = 0;
    const bench::Figures read = bench::timeMicros(Runs, [&] {
        refused += coursefile::read(files[turn++ % 2]).ok() ? 0 : 1;
    });
    bench::print("  of which reading the file", {read.median / 1000, read.least / 1000,
                 read.most / 1000}, "ms", ImportTargetMs);
    CourseDocument document;
    document.setCourseChoice(CourseChoice::fromText(QString::fromStdString(
        rom::courseListLines()[2].text)));
    const bench::Figures import = bench::timeMicros(Runs, [&] {
        const PlacedCourse placed = readCourseFile(files[turn++ % 2], QString(), document.course().id());
        if (placed.course)
            document.replaceCourse(*placed.course, QStringLiteral("Import Course"));
        else
            ++refused;
    });
    bench::print("import a course file into the document", {import.median / 1000,
                 import.least / 1000, import.most / 1000}, "ms", ImportTargetMs);
    if (refused > 0 || document.undoStack()->count() == 0) {
        std::printf("the synthetic course was not saved or imported whole\n");
        return 1;
    }
    return 0;
}
