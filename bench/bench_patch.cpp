// Patches between two 512 KB ROMs that differ in one course, as a user's edited course makes
// them: random filler, and at the course's place the game's compression of the old map in one, of
// the edited map in the other. Times BPS creation (target: median under 100 ms) and application,
// checks the BPS patch is no larger than the changed bytes plus 100, and prints the IPS size for
// the same pair.
#include "bench/bench_figures.h"
#include "codec/codec.h"
#include "patch/bps.h"
#include "patch/ips.h"
#include "rom/course_catalogue.h"
#include "tests/support/synthetic_rom.h"

#include <algorithm>
#include <cstdio>
#include <random>

namespace {

using velmor::patch::Bytes;

constexpr int Runs = 21;
constexpr int WarmUpRuns = 3;
constexpr std::size_t RomSize = 0x80000;
// Mario Circuit 1's place in a ROM without the copier header.
const std::size_t CourseOffset = velmor::rom::courseById(0x07)->layoutOffset;
constexpr int Side = 128;
constexpr double CreateTargetMs = 100;
constexpr std::size_t SizeAllowance = 100;

Bytes romWithCourse(const Bytes &cells)
{
    std::mt19937 rng(7);
    Bytes rom(RomSize);
    for (auto &b : rom)
        b = std::uint8_t(rng());
    const Bytes stream = velmor::codec::compress(velmor::test::trackStream(cells));
    std::copy(stream.begin(), stream.end(), rom.begin() + std::ptrdiff_t(CourseOffset));
    return rom;
}

void printMs(const char *what, const velmor::bench::Figures &micros, double targetMs)
{
    const velmor::bench::Figures ms {micros.median / 1000, micros.least / 1000, micros.most / 1000};
    if (targetMs > 0) {
        velmor::bench::print(what, ms, "ms", targetMs);
    } else {
        std::printf(
            "%-44s median %9.3f ms  (min %9.3f, max %9.3f)\n", what, ms.median, ms.least, ms.most);
    }
}

} // namespace

int main()
{
    const Bytes oldCells = velmor::test::courseLikeCells(3);
    // The user's edit: a short cut across the lower half and a few more items.
    Bytes newCells = oldCells;
    for (int row = 80; row < 84; ++row)
        for (int col = 20; col < 108; ++col)
            newCells[std::size_t(row * Side + col)] = 0x44;
    for (int k = 0; k < 12; ++k)
        newCells[std::size_t((30 + 7 * k) * Side + 40 + 5 * k)] = 0x86;
    const Bytes source = romWithCourse(oldCells);
    const Bytes target = romWithCourse(newCells);
    std::size_t changed = 0;
    for (std::size_t i = 0; i < RomSize; ++i)
        changed += source[i] != target[i];

    const velmor::patch::PatchResult bps = velmor::patch::bps::create(source, target);
    const velmor::patch::PatchResult ips = velmor::patch::ips::create(source, target);
    const bool sound = bps.ok && ips.ok
        && velmor::patch::bps::apply(source, bps.bytes).bytes == target
        && velmor::patch::ips::apply(source, ips.bytes).bytes == target;
    if (!sound) {
        std::printf("ERROR: a patch did not turn the source into the target: %s%s\n",
            bps.error.c_str(), ips.error.c_str());
        return 1;
    }

    std::size_t sink = 0;
    printMs("BPS create, 512 KB ROMs, one course changed",
        velmor::bench::timeMicros(
            Runs, [&] { sink += velmor::patch::bps::create(source, target).bytes.size(); },
            WarmUpRuns),
        CreateTargetMs);
    printMs("BPS apply",
        velmor::bench::timeMicros(
            Runs, [&] { sink += velmor::patch::bps::apply(source, bps.bytes).bytes.size(); },
            WarmUpRuns),
        0);
    printMs("IPS create",
        velmor::bench::timeMicros(
            Runs, [&] { sink += velmor::patch::ips::create(source, target).bytes.size(); },
            WarmUpRuns),
        0);
    const bool small = bps.bytes.size() <= changed + SizeAllowance;
    std::printf("changed bytes %zu; BPS patch %zu bytes (limit %zu)  %s; IPS patch %zu bytes\n",
        changed, bps.bytes.size(), changed + SizeAllowance, small ? "ok" : "MISSED",
        ips.bytes.size());
    std::printf("(%d runs each after %d warm-up runs; check %zu)\n", Runs, WarmUpRuns, sink);
    return 0;
}
