// The colour picker's costs: the time to its first complete frame (against Qt's own colour dialog
// built, shown and grabbed the same way), the box's first paint and its later repaints, and one
// mouse-move step in the box.
//
// Goals, medians of one run: a repaint of the box at most 0.1 ms; the box's first paint in a fresh
// process at most 1.0 ms; the first frame of every dialog after a process's first at most half of
// Qt's colour dialog's. The first dialog of a process is measured on its own, in fresh processes:
// this program runs itself with --probe=<what> and reads back the time the probe took.
#include "dialog/CVKZLMOBILEDsnColorDialog.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QColorDialog>
#include <QElapsedTimer>
#include <QPixmap>
#include <QProcess>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// One dialog built, shown and grabbed: its first complete frame.
void PickerFrame()
{
    TStringList Custom;
    TCVKZLMOBILEColorForm Form(nullptr, &Custom);
    Form.SetSelectedIdentifier("$00336699");
    Form.show();
    QPixmap Frame = Form.grab();
    benchmark::DoNotOptimize(Frame);
}

void QtDialogFrame()
{
    QColorDialog Dialog(QColor(0x99, 0x66, 0x33));
    Dialog.show();
    QPixmap Frame = Dialog.grab();
    benchmark::DoNotOptimize(Frame);
}

// Runs in a fresh process: times one action and prints the nanoseconds it took.
int RunProbe(const char* What)
{
    QElapsedTimer Timer;
    if (std::strcmp(What, "picker-frame") == 0) {
        Timer.start();
        PickerFrame();
    } else if (std::strcmp(What, "qt-frame") == 0) {
        Timer.start();
        QtDialogFrame();
    } else if (std::strcmp(What, "box-paint") == 0) {
        TStringList Custom;
        TCVKZLMOBILEColorForm Form(nullptr, &Custom);
        Timer.start();
        Form.PaintBoxColor->Repaint();
    } else {
        return 2;
    }
    const qint64 Nanoseconds = Timer.nsecsElapsed();
    std::printf("%lld\n", static_cast<long long>(Nanoseconds));
    return 0;
}

// The probe's time in a fresh process per iteration; process start-up is not counted.
void FreshProcess(benchmark::State& State, const char* What)
{
    for (auto _ : State) {
        QProcess Probe;
        Probe.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--probe=%1").arg(What)});
        if (!Probe.waitForFinished(30000) || Probe.exitCode() != 0) {
            State.SkipWithError("the probe failed");
            return;
        }
        const double Seconds = Probe.readAllStandardOutput().trimmed().toDouble() / 1e9;
        State.SetIterationTime(Seconds);
    }
}

void BM_PickerFirstFrame_FirstInProcess(benchmark::State& State) { FreshProcess(State, "picker-frame"); }
void BM_QtColorDialogFirstFrame_FirstInProcess(benchmark::State& State) { FreshProcess(State, "qt-frame"); }
void BM_BoxFirstPaint_FirstInProcess(benchmark::State& State) { FreshProcess(State, "box-paint"); }

BENCHMARK(BM_PickerFirstFrame_FirstInProcess)->UseManualTime()->Iterations(1)->Repetitions(15)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QtColorDialogFirstFrame_FirstInProcess)->UseManualTime()->Iterations(1)->Repetitions(15)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BoxFirstPaint_FirstInProcess)->UseManualTime()->Iterations(1)->Repetitions(15)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);

// Dialogs after the process's first: what a user opening the dialog again waits for.
void BM_PickerFirstFrame(benchmark::State& State)
{
    PickerFrame();
    for (auto _ : State)
        PickerFrame();
}
BENCHMARK(BM_PickerFirstFrame)->Unit(benchmark::kMillisecond)->MinTime(0.5)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_QtColorDialogFirstFrame(benchmark::State& State)
{
    QtDialogFrame();
    for (auto _ : State)
        QtDialogFrame();
}
BENCHMARK(BM_QtColorDialogFirstFrame)->Unit(benchmark::kMillisecond)->MinTime(0.5)->Repetitions(5)->ReportAggregatesOnly(true);

// A repaint of the box: the kept field copied, the frame and the cross drawn.
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
BENCHMARK(BM_BoxFullPaint)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The first paint after the package was loaded again, in a warm process: the field computed anew.
void BM_BoxFirstPaintAfterReload(benchmark::State& State)
{
    TStringList Custom;
    TCVKZLMOBILEColorForm Form(nullptr, &Custom);
    Form.show();
    for (auto _ : State) {
        State.PauseTiming();
        CVKZLMOBILEDsnColorDialogInitialization();
        CVKZLMOBILEDsnColorDialogFinalization();
        State.ResumeTiming();
        Form.PaintBoxColor->Repaint();
        benchmark::DoNotOptimize(Form.PaintBoxColor->Image().constBits());
    }
}
BENCHMARK(BM_BoxFirstPaintAfterReload)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

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
BENCHMARK(BM_BoxMouseMoveStep)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const char* ProbeFlag = "--probe=";
    if (argc == 2 && std::strncmp(argv[1], ProbeFlag, std::strlen(ProbeFlag)) == 0) {
        QApplication App(argc, argv);
        return RunProbe(argv[1] + std::strlen(ProbeFlag));
    }
    QApplication App(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
