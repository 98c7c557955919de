// Speed of the colour model on both real types: one conversion each way, and the whole
// 200 × 200 hue–saturation field that the dialog paints at the box brightness.
// Goals: the hardware path at most 25 ns per HSBtoRGB and 1.0 ms per field pixel by pixel, the
// portable path at most four times that; the field by rows, as the dialog computes it, at most
// 0.5 ms on the hardware path.

#include "color/ColorConversion.h"
#include "color/ColorModel.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

template <class RealT>
std::vector<RealT> Fractions()
{
    std::vector<RealT> fractions;
    for (int p = 0; p <= 200; ++p)
        fractions.push_back(colormodel::FractionOfT<RealT>(p, 200));
    return fractions;
}

template <class RealT>
void BM_HSBtoRGB(benchmark::State& state)
{
    const std::vector<RealT> f = Fractions<RealT>();
    // Walk hue, saturation and brightness positions with different strides, so that every call
    // sees new inputs and every sector is taken.
    unsigned h = 0, s = 37, b = 101;
    for (auto _ : state) {
        benchmark::DoNotOptimize(colormodel::HSBtoRGBT<RealT>(f[h], f[s], f[b]));
        h = h == 200 ? 0 : h + 1;
        s = s >= 197 ? s - 197 : s + 3;
        b = b >= 193 ? b - 193 : b + 7;
    }
    state.SetItemsProcessed(state.iterations());
}

template <class RealT>
void BM_RGBToHSB(benchmark::State& state)
{
    unsigned r = 0, g = 90, b = 200;
    for (auto _ : state) {
        RealT hue, sat, bright;
        colormodel::RGBToHSBT<RealT>(static_cast<int>(r), static_cast<int>(g), static_cast<int>(b), hue, sat, bright);
        benchmark::DoNotOptimize(hue);
        benchmark::DoNotOptimize(sat);
        benchmark::DoNotOptimize(bright);
        r = (r + 1) & 0xFF;
        g = (g + 3) & 0xFF;
        b = (b + 7) & 0xFF;
    }
    state.SetItemsProcessed(state.iterations());
}

// The box as the dialog paints it: rows from saturation 199/200 down to 0, each from hue 0 to
// 199/200, brightness 150/200, every pixel computed afresh.
template <class RealT>
void BM_Field(benchmark::State& state)
{
    std::vector<TColor> field(HueSteps * SatSteps);
    const RealT bright = colormodel::FractionOfT<RealT>(150, BrightSteps);
    for (auto _ : state) {
        for (int n = SatSteps - 1; n >= 0; --n) {
            const RealT sat = colormodel::FractionOfT<RealT>(n, SatSteps);
            TColor* row = &field[(SatSteps - 1 - n) * HueSteps];
            for (int i = 0; i < HueSteps; ++i)
                row[i] = colormodel::HSBtoRGBT<RealT>(colormodel::FractionOfT<RealT>(i, HueSteps), sat, bright);
        }
        benchmark::DoNotOptimize(field.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * HueSteps * SatSteps);
}

// The same field as the dialog computes it: each column's hue worked out once per field, then
// each row by HSBtoRGBRowT.
template <class RealT>
void BM_FieldByRows(benchmark::State& state)
{
    std::vector<TColor> field(HueSteps * SatSteps);
    const RealT bright = colormodel::FractionOfT<RealT>(150, BrightSteps);
    std::vector<colormodel::HueColumnT<RealT>> columns(HueSteps);
    for (auto _ : state) {
        for (int i = 0; i < HueSteps; ++i)
            columns[i] = colormodel::HueColumnOfT<RealT>(colormodel::FractionOfT<RealT>(i, HueSteps));
        for (int n = SatSteps - 1; n >= 0; --n)
            colormodel::HSBtoRGBRowT<RealT>(columns.data(), HueSteps, colormodel::FractionOfT<RealT>(n, SatSteps), bright,
                                            &field[(SatSteps - 1 - n) * HueSteps]);
        benchmark::DoNotOptimize(field.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * HueSteps * SatSteps);
}

// The public function, on the real this build selected.
void BM_PublicHSBtoRGB(benchmark::State& state)
{
    const std::vector<Real> f = Fractions<Real>();
    unsigned h = 0, s = 37;
    for (auto _ : state) {
        benchmark::DoNotOptimize(HSBtoRGB(f[h], f[s], BoxBrightness));
        h = h == 200 ? 0 : h + 1;
        s = s >= 197 ? s - 197 : s + 3;
    }
}

} // namespace

BENCHMARK(BM_HSBtoRGB<long double>)->Name("HSBtoRGB/hardware");
BENCHMARK(BM_HSBtoRGB<ext::Ext80>)->Name("HSBtoRGB/portable");
BENCHMARK(BM_RGBToHSB<long double>)->Name("RGBToHSB/hardware");
BENCHMARK(BM_RGBToHSB<ext::Ext80>)->Name("RGBToHSB/portable");
BENCHMARK(BM_Field<long double>)->Name("Field200x200/hardware")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Field<ext::Ext80>)->Name("Field200x200/portable")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FieldByRows<long double>)->Name("Field200x200ByRows/hardware")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FieldByRows<ext::Ext80>)->Name("Field200x200ByRows/portable")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PublicHSBtoRGB)->Name("HSBtoRGB/public");

BENCHMARK_MAIN();
