// Times the track file's encoder and decoder on whole course maps: the median, least and most of
// many runs, in microseconds. Targets: encoding plus converting under 1 ms in the worst case (no
// two neighbours alike), decoding under 0.5 ms.
#include "bench/bench_figures.h"
#include "course/track_file.h"
#include "document/map_geometry.h"

#include <QStringList>

#include <cstdio>
#include <functional>

namespace {

constexpr int Runs = 301;
constexpr int WarmUpRuns = 20;

velmor::bench::Figures measure(const std::function<void()> &work)
{
    return velmor::bench::timeMicros(Runs, work, WarmUpRuns);
}

void report(const char *what, const velmor::bench::Figures &figures, double targetMicros)
{
    velmor::bench::print(what, figures, "us", targetMicros);
}

QStringList worstCaseMap()
{
    // No two neighbours alike: every cell goes into a copy group, the longest file there is.
    QStringList cells;
    cells.reserve(velmor::CellCount);
    for (int i = 0; i < velmor::CellCount; ++i)
        cells.append(QString::number(i % 251, 16).rightJustified(2, QLatin1Char('0')).toUpper());
    return cells;
}

QStringList freshMap()
{
    QStringList cells;
    cells.fill(QStringLiteral("01"), velmor::CellCount);
    return cells;
}

} // namespace

int main()
{
    const QStringList worst = worstCaseMap();
    const QStringList fresh = freshMap();
    qsizetype sink = 0;

    const auto encodeAndConvert = [&sink](const QStringList &cells) {
        return [&sink, &cells] {
            const QString hex = velmor::track::encode(cells);
            sink += velmor::track::toBytes(hex)->size();
        };
    };
    report("encode + convert, worst case", measure(encodeAndConvert(worst)), 1000);
    report("encode + convert, fresh map", measure(encodeAndConvert(fresh)), 1000);
    report("validate cells, worst case",
        measure([&] { sink += velmor::track::firstBadCell(worst).has_value(); }), 1000);

    const QByteArray worstFile = *velmor::track::toBytes(velmor::track::encode(worst));
    const QByteArray freshFile = *velmor::track::toBytes(velmor::track::encode(fresh));
    report("decode, worst case",
        measure([&] { sink += velmor::track::decode(worstFile).texts.size(); }), 500);
    report("decode, fresh map",
        measure([&] { sink += velmor::track::decode(freshFile).texts.size(); }), 500);
    std::printf("(%d runs each after %d warm-up runs; worst-case file %lld bytes; check %lld)\n",
        Runs, WarmUpRuns, static_cast<long long>(worstFile.size()), static_cast<long long>(sink));
    return 0;
}
