// A button whose Hint (12 MiB) and Caption (4 MiB) fill a form file to its limit, selected in the
// shown main window: one repaint of the inspector and of the preview must take less than a frame
// (16 ms), and the process's peak memory stay within about twice the file's size above a window's.
//
//   QT_QPA_PLATFORM=offscreen build/release/bin/bench_long_text

#include "views/MainWindow.h"
#include "views/PreviewWidget.h"
#include "views/PropertyInspector.h"

#include "host/palmo/PalmoControls.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTreeView>

#include <sys/resource.h>

namespace {

void BM_RepaintWithA16MiBText(benchmark::State& state)
{
    MainWindow window{QStringLiteral(CV_PACKAGE_PATH)};
    window.resize(1060, 760);
    window.show();
    auto* button = static_cast<TPalmoButton*>(window.addControl(QStringLiteral("TPalmoButton")));
    button->setProperty("Hint", QString(12 * 1024 * 1024, QLatin1Char('W')));
    button->Appearance()->FCaption = QString(4 * 1024 * 1024, QLatin1Char('W'));
    window.setSelection({button});
    QApplication::processEvents();
    for (auto _ : state) {
        window.inspector()->view()->viewport()->repaint();
        window.preview()->repaint();
    }
    struct rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    state.counters["peak MiB"] = double(usage.ru_maxrss) / 1024;
}
BENCHMARK(BM_RepaintWithA16MiBText)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
