#pragma once

// Median, least and most of repeated timings, shared by the benchmarks.
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace velmor::bench {

struct Figures
{
    double median = 0;
    double least = 0;
    double most = 0;
};

inline Figures summarise(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return {values[values.size() / 2], values.front(), values.back()};
}

// Runs work `runs` times after a few warm-up runs; each figure is microseconds per call.
inline Figures timeMicros(int runs, const std::function<void()> &work, int warmUp = 5)
{
    for (int k = 0; k < warmUp; ++k)
        work();
    std::vector<double> micros;
    micros.reserve(runs);
    QElapsedTimer timer;
    for (int k = 0; k < runs; ++k) {
        timer.start();
        work();
        micros.push_back(double(timer.nsecsElapsed()) / 1000.0);
    }
    return summarise(micros);
}

inline void print(const char *what, const Figures &f, const char *unit, double target)
{
    std::printf("%-44s median %9.3f %s  (min %9.3f, max %9.3f)  target < %g %s  %s\n", what,
                f.median, unit, f.least, f.most, target, unit, f.median < target ? "ok" : "MISSED");
}

// The arguments with "-platform offscreen" after the program's name: a benchmark draws the same,
// and starts at all, whatever display the caller has. Both vector and count must outlive the
// application, which keeps references to them.
inline std::vector<char *> offscreenArguments(int argc, char **argv)
{
    static char platform[] = "-platform";
    static char offscreen[] = "offscreen";
    std::vector<char *> args(argv, argv + argc);
    args.insert(args.begin() + 1, {platform, offscreen});
    return args;
}

} // namespace velmor::bench
