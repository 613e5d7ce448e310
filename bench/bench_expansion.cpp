// Room for bigger courses: expanding the US image from 4 to 32 Mbit (target: under 100 ms), the
// header checksum of a 4 MB image (under 5 ms), and an insertion that moves a course into the
// added banks with its checksum (under 20 ms besides the compression, which is timed apart and
// taken off).
#include "bench/bench_figures.h"
#include "codec/codec.h"
#include "rom/checksum.h"
#include "rom/course_placement.h"
#include "rom/expansion.h"
#include "rom/rom_image.h"
#include "tests/support/synthetic_rom.h"

#include <cstdio>
#include <random>

namespace {

constexpr int Runs = 21;
constexpr double ExpandTargetMs = 100;
constexpr double ChecksumTargetMs = 5;
constexpr double MoveTargetMs = 20;
constexpr int MarioCircuit1 = 0x07;

velmor::bench::Figures inMs(const velmor::bench::Figures &micros)
{
    return {micros.median / 1000, micros.least / 1000, micros.most / 1000};
}

} // namespace

int main()
{
    using namespace velmor;
    const codec::Bytes us = test::gameRom().bytes;
    bool sound = true;

    codec::Bytes grown;
    const bench::Figures expand = bench::timeMicros(Runs, [&] {
        grown = rom::expandRom(us, 32).rom;
    });
    sound = sound && grown.size() == 0x400200;
    bench::print("expand 4 -> 32 Mbit", inMs(expand), "ms", ExpandTargetMs);

    std::uint16_t sum = 0;
    const codec::ByteView game = rom::RomImage::open(grown)->game();
    const bench::Figures checksum = bench::timeMicros(Runs, [&] { sum = rom::computeChecksum(game); });
    sound = sound && sum == rom::storedChecksum(game).checksum;
    bench::print("checksum of a 4 MB image", inMs(checksum), "ms", ChecksumTargetMs);

    // A course 3,000 bytes larger than its slot, into the 32 Mbit image.
    std::mt19937 rng(9);
    codec::Bytes cells = test::randomBytes(rng, rom::courseById(MarioCircuit1)->slotLength + 3000);
    cells.resize(16384, 0x01);
    const codec::Bytes track = test::trackStream(cells);
    std::size_t packed = 0;
    const bench::Figures compression =
        bench::timeMicros(Runs, [&] { packed = codec::compress(track).size(); }, 2);
    rom::PlaceOutcome placed;
    const bench::Figures move = bench::timeMicros(Runs, [&] {
        placed = rom::insertCourse(grown, track, MarioCircuit1);
    }, 2);
    sound = sound && placed.ok && placed.moved && placed.written == packed;
    // The compression's median taken off every run of the insertion.
    const bench::Figures moveOnly{move.median - compression.median,
        move.least - compression.median, move.most - compression.median};
    std::printf("%-44s median %9.3f ms\n", "  of which compression", compression.median / 1000);
    bench::print("insertion with a move, less compression", inMs(moveOnly), "ms", MoveTargetMs);

    if (!sound) {
        std::printf("a result was wrong\n");
        return 1;
    }
    return 0;
}
