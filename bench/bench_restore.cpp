// Restore points of a 512 KB ROM whose saves each change one course: keeping one (the BPS patch
// back to the old state, its file, and dropping the oldest of a full folder; target: median under
// 20 ms), listing a full folder of 50 with every CRC checked, and restoring the oldest of them.
#include "bench/bench_figures.h"
#include "codec/codec.h"
#include "course/restore_points.h"
#include "platform/file_system.h"
#include "platform/whole_file_write.h"
#include "rom/rom_image.h"
#include "tests/support/synthetic_rom.h"

#include <QTemporaryDir>
#include <QTimeZone>

#include <cstdio>
#include <utility>

namespace {

using velmor::RestorePoints;

constexpr int Runs = 21;
constexpr int RestoreRuns = 5;
constexpr double KeepTargetMs = 20;
const QString Course = QStringLiteral("Mario Circuit 1");

velmor::bench::Figures inMs(const velmor::bench::Figures &micros)
{
    return {micros.median / 1000, micros.least / 1000, micros.most / 1000};
}

void printUntargeted(const char *what, const velmor::bench::Figures &ms)
{
    std::printf("%-44s median %9.3f ms  (min %9.3f, max %9.3f)  no target\n", what, ms.median,
        ms.least, ms.most);
}

} // namespace

int main()
{
    const velmor::test::GameRom game = velmor::test::gameRom({1, false});
    // Each save swaps Mario Circuit 1 between the builder's course and a course-like map.
    QByteArray rom = velmor::test::toQByteArray(game.bytes);
    const auto stream =
        velmor::codec::compress(velmor::test::trackStream(velmor::test::courseLikeCells(3)));
    QByteArray other = rom;
    other.replace(qsizetype(game.fileOffset(velmor::rom::courses()[7].layoutOffset)),
        qsizetype(stream.size()), velmor::test::toQByteArray(stream));

    QTemporaryDir dir;
    const QString romPath = dir.filePath(QStringLiteral("game.smc"));
    const RestorePoints points(romPath);
    QDateTime time(QDate(2025, 3, 14), QTime(15, 30), QTimeZone::utc());
    bool sound = dir.isValid();
    const auto save = [&] {
        time = time.addSecs(60);
        sound = sound && points.keep(rom, other, Course, time).ok;
        std::swap(rom, other);
    };
    // A full folder first, so that every timed keep also drops the oldest point.
    for (int k = 0; k < RestorePoints::Kept; ++k)
        save();
    velmor::bench::print("keep a restore point, 512 KB ROM, one course",
        inMs(velmor::bench::timeMicros(Runs, save)), "ms", KeepTargetMs);

    QString why;
    sound = sound && velmor::writeWholeFile(romPath, rom, &why);
    RestorePoints::Listing listing;
    const velmor::bench::Figures listed =
        inMs(velmor::bench::timeMicros(Runs, [&] { listing = points.list(); }));
    printUntargeted("list 50 restore points", listed);
    for (const RestorePoints::Point &point : listing.points)
        sound = sound && point.state == RestorePoints::State::Usable;
    sound = sound && listing.points.size() == RestorePoints::Kept;

    // Each restore keeps a point of its own, so the oldest of 50 stays 50 patches away.
    const velmor::bench::Figures restored = inMs(velmor::bench::timeMicros(
        RestoreRuns,
        [&] {
            time = time.addSecs(60);
            sound = sound && points.restore(RestorePoints::Kept, time).ok;
        },
        1));
    printUntargeted("restore the oldest of 50 (50 patches, keep, write)", restored);
    if (!sound) {
        std::printf("ERROR: a restore point could not be kept, listed or restored\n");
        return 1;
    }
    std::printf("(patch of one course %lld bytes; %d runs each, restores %d)\n",
        listing.points.front().size, Runs, RestoreRuns);
    return 0;
}
