// Compressed sizes of the optimal parse against the greedy one on a corpus of track files and
// noise, and how long each takes. Prints medians of several runs with min and max as the noise.
#include "course/track_file.h"
#include "codec/codec.h"

#include <QStringList>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

using velmor::codec::Bytes;

constexpr int Side = 128;
constexpr std::size_t Cells = Side * Side;
constexpr int Runs = 9;

// The track file the editor writes for these cells, so the corpus is what insertion compresses.
Bytes trackStream(const Bytes &cells)
{
    QStringList texts;
    texts.reserve(qsizetype(cells.size()));
    for (const std::uint8_t cell : cells)
        texts.append(QStringLiteral("%1").arg(cell, 2, 16, QLatin1Char('0')));
    const QByteArray track = velmor::track::toBytes(velmor::track::encode(texts)).value();
    return Bytes(track.begin(), track.end());
}

// A course-like map: grass, a road loop of some width with kerbs on both edges, a short cut,
// and items scattered over the road.
Bytes courseCells(unsigned seed)
{
    std::mt19937 rng(seed);
    Bytes cells(Cells, 0x01);
    const int inset = 8 + int(rng() % 12);
    const int width = 5 + int(rng() % 8);
    for (int row = 0; row < Side; ++row) {
        for (int col = 0; col < Side; ++col) {
            const int edge = std::min({row - inset, col - inset, Side - 1 - inset - row, Side - 1 - inset - col});
            if (edge >= 0 && edge < width)
                cells[std::size_t(row * Side + col)] = (edge == 0 || edge == width - 1) ? 0x5A : 0x40 + std::uint8_t((row + col) % 2);
        }
    }
    const int cut = 40 + int(rng() % 48);
    for (int col = inset; col < Side - inset; ++col)
        for (int row = cut; row < cut + 4; ++row)
            cells[std::size_t(row * Side + col)] = 0x44;
    const int items = 30 + int(rng() % 60);
    for (int k = 0; k < items; ++k)
        cells[rng() % Cells] = std::uint8_t(0x80 + rng() % 12);
    return cells;
}

struct Timing
{
    double median = 0;
    double min = 0;
    double max = 0;
};

Timing timeIt(const std::function<void()> &work)
{
    std::vector<double> ms;
    for (int run = 0; run < Runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        work();
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.front(), ms.back()};
}

} // namespace

int main()
{
    std::mt19937 rng(2024);
    std::vector<std::pair<std::string, Bytes>> corpus;
    corpus.emplace_back("fresh map track", trackStream(Bytes(Cells, 0x01)));
    Bytes pattern(Cells);
    for (std::size_t i = 0; i < Cells; ++i)
        pattern[i] = i % 3 == 0 ? 0x0A : 0x0B;
    corpus.emplace_back("repeating pattern track", trackStream(pattern));
    for (unsigned seed = 1; seed <= 4; ++seed) {
        std::string name = "course-like track ";
        name += std::to_string(seed);
        corpus.emplace_back(std::move(name), trackStream(courseCells(seed)));
    }
    Bytes noiseCells(Cells);
    for (auto &b : noiseCells)
        b = std::uint8_t(rng());
    corpus.emplace_back("noise track", trackStream(noiseCells));
    Bytes noise(velmor::codec::MaxOutput);
    for (auto &b : noise)
        b = std::uint8_t(rng());
    corpus.emplace_back("random 64 KB", noise);

    std::printf("%d runs each; times in ms as median (min-max)\n\n", Runs);
    std::printf("%-26s %7s %8s %8s %6s  %-24s %-24s\n", "input", "bytes", "optimal", "greedy",
                "saved", "optimal time", "greedy time");
    bool sound = true;
    for (const auto &[name, data] : corpus) {
        const Bytes optimal = velmor::codec::compress(data);
        const Bytes greedy = velmor::codec::compressGreedy(data);
        sound = sound && optimal.size() <= greedy.size()
                && velmor::codec::decode(optimal).output == data;
        const Timing t = timeIt([&] { velmor::codec::compress(data); });
        const Timing g = timeIt([&] { velmor::codec::compressGreedy(data); });
        char optimalTime[64];
        char greedyTime[64];
        std::snprintf(optimalTime, sizeof optimalTime, "%.1f (%.1f-%.1f)", t.median, t.min, t.max);
        std::snprintf(greedyTime, sizeof greedyTime, "%.1f (%.1f-%.1f)", g.median, g.min, g.max);
        const double saved = 100.0 * (double(greedy.size()) - double(optimal.size())) / double(greedy.size());
        std::printf("%-26s %7zu %8zu %8zu %5.1f%%  %-24s %-24s\n", name.c_str(), data.size(),
                    optimal.size(), greedy.size(), saved, optimalTime, greedyTime);
    }
    if (!sound) {
        std::printf("\nERROR: an optimal stream was longer than the greedy one or did not decode back\n");
        return 1;
    }
    return 0;
}
