// The colour picker's costs: the time to its first complete frame (against Qt's own colour dialog
// built, shown and grabbed the same way), one full paint of the hue-saturation box, and one
// mouse-move step in the box.
#include "dialog/CVKZLMOBILEDsnColorDialog.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QColorDialog>
#include <QPixmap>

#include <cstdlib>

namespace {

void BM_PickerFirstFrame(benchmark::State& State)
{
    TStringList Custom;
    for (auto _ : State) {
        TCVKZLMOBILEColorForm Form(nullptr, &Custom);
        Form.SetSelectedIdentifier("$00336699");
        Form.show();
        QPixmap Frame = Form.grab();
        benchmark::DoNotOptimize(Frame);
    }
}
BENCHMARK(BM_PickerFirstFrame)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_QtColorDialogFirstFrame(benchmark::State& State)
{
    for (auto _ : State) {
        QColorDialog Dialog(QColor(0x99, 0x66, 0x33));
        Dialog.show();
        QPixmap Frame = Dialog.grab();
        benchmark::DoNotOptimize(Frame);
    }
}
BENCHMARK(BM_QtColorDialogFirstFrame)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_BoxFullPaint(benchmark::State& State)
{
    TStringList Custom;
    TCVKZLMOBILEColorForm Form(nullptr, &Custom);
    Form.show();
    for (auto _ : State) {
        Form.PaintBoxColor->Repaint();
        benchmark::DoNotOptimize(Form.PaintBoxColor->Image().constBits());
    }
}
BENCHMARK(BM_BoxFullPaint)->Unit(benchmark::kMicrosecond);

void BM_BoxMouseMoveStep(benchmark::State& State)
{
    TStringList Custom;
    TCVKZLMOBILEColorForm Form(nullptr, &Custom);
    Form.show();
    Form.PaintBoxColor->Repaint();
    int Step = 0;
    for (auto _ : State) {
        const int X = 1 + Step % 200;
        const int Y = 1 + (Step * 7) % 200;
        Form.PaintBoxColorMouseMove(ssLeft, X, Y);
        ++Step;
    }
}
BENCHMARK(BM_BoxMouseMoveStep)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication App(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
