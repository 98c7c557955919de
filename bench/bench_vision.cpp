// Speed of showing a drawn form as people with a colour vision deficiency see it: simulateImage
// on a 1060 × 700 image, once per vision. The image is a smooth sweep of hue across and lightness
// down in which neighbouring pixels differ, so no pixel takes its neighbour's result: a drawn
// form, mostly runs of one colour, converts faster. Goal: a few milliseconds.

#include "core/SimulatedImage.h"

#include <benchmark/benchmark.h>

#include <QColor>
#include <QImage>

namespace {

QImage Sweep()
{
    QImage image(1060, 700, QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            row[x] = QColor::fromHslF(x / float(image.width()), 1.0f - 0.3f * (x % 2), y / float(image.height() - 1)).rgba();
    }
    return image;
}

void BM_SimulateImage(benchmark::State& state, Vision vision)
{
    const QImage source = Sweep();
    for (auto _ : state) {
        state.PauseTiming();
        QImage image = source.copy();
        state.ResumeTiming();
        simulateImage(vision, image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetItemsProcessed(state.iterations() * source.width() * source.height());
}
BENCHMARK_CAPTURE(BM_SimulateImage, Protanopia, Vision::Protanopia)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SimulateImage, Deuteranopia, Vision::Deuteranopia)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SimulateImage, Tritanopia, Vision::Tritanopia)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SimulateImage, Achromatopsia, Vision::Achromatopsia)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
