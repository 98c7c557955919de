// The readability fix: the nearest passing colour for one finding, both of its colours tried as
// Fix does (goal: under 50 ms a finding). Each search is made afresh: the memo of answers is
// defeated by a colour a little different on every run.
#include "core/FormModel.h"
#include "core/Readability.h"
#include "core/ReadabilityFix.h"

#include "host/cvcolor/CVColor.h"
#include "host/palmo/PalmoControl.h"
#include "host/vcl/Graphics.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QMetaProperty>

namespace {

void Fresh(benchmark::State& state, TColor first, TColor second, bool textContrast)
{
    const ReadabilityThresholds thresholds;
    int run = 0;
    for (auto _ : state) {
        // A level or two of blue and green apart each run (4,096 ways): a new question every time.
        const int step = run++ % 4096;
        const TColor changed = (first & 0x0000FF) | ((((first >> 8) & 0xFF) ^ (step & 0x3F)) << 8)
                               | ((((first >> 16) & 0xFF) ^ (step >> 6)) << 16);
        benchmark::DoNotOptimize(ReadabilityFix::nearestPassing(changed, {{second, textContrast, true}}, thresholds));
        benchmark::DoNotOptimize(ReadabilityFix::nearestPassing(second, {{changed, textContrast, false}}, thresholds));
    }
}

// Gray text on White, both colours tried.
void BM_FixTextContrast(benchmark::State& state)
{
    Fresh(state, 0x808080, clWhite, true);
}
BENCHMARK(BM_FixTextContrast)->Unit(benchmark::kMillisecond);

// SeaGreen against Tomato, as a switch's on and off.
void BM_FixStateColours(benchmark::State& state)
{
    Fresh(state, 0x578B2E, 0x4763FF, false);
}
BENCHMARK(BM_FixStateColours)->Unit(benchmark::kMillisecond);

// A near-equal pair: every measure fails.
void BM_FixNearEqualState(benchmark::State& state)
{
    Fresh(state, 0x996633, 0x986633, false);
}
BENCHMARK(BM_FixNearEqualState)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
