// Single actions on a form of 1,200 buttons and a 64-slot spinner, in the shown main window with
// the package loaded: none may block the window for more than 100 ms. Each iteration is one
// action and everything it leaves for the event loop (the inspector's refresh, the repaints).
// And opening forms of 1,000, 5,000 and 10,000 controls to the first frame: 10,000 within 1 s,
// ten times the controls at most twelve times the time.
//
//   QT_QPA_PLATFORM=offscreen build/release/bin/bench_window

#include "core/Document.h"
#include "core/FormFile.h"
#include "core/FormModel.h"
#include "views/MainWindow.h"
#include "views/PreviewWidget.h"
#include "views/PropertyInspector.h"

#include "host/palmo/PalmoControls.h"
#include "host/palmo/PalmoFactory.h"

#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTemporaryDir>

#include <memory>

namespace {

constexpr int Buttons = 1200;

struct Designer {
    Designer()
    {
        window.resize(1060, 760);
        window.show();
        for (int i = 0; i < Buttons; ++i)
            buttons.push_back(window.addControl(QStringLiteral("TPalmoButton")));
        spinner = window.addControl(QStringLiteral("TPalmoSpinner"));
        PropertyInspector& inspector = *window.inspector();
        inspector.commitText(inspector.rowOf(QStringLiteral("Slots.Count")), QStringLiteral("64"));
        QApplication::processEvents();
    }
    // One action and what it leaves for the event loop.
    template <class Action>
    static void act(Action&& action)
    {
        action();
        QApplication::processEvents();
    }
    MainWindow window{QStringLiteral(CV_PACKAGE_PATH)};
    std::vector<TPalmoControl*> buttons;
    TPalmoControl* spinner = nullptr;
};

// Made before the benchmarks run and freed before the application.
Designer* designer = nullptr;

Designer& TheDesigner()
{
    return *designer;
}

// Undo and redo of a change to every button, with the spinner's 64 slots in the inspector.
void BM_UndoAndRedoOfAChangeToEveryButton(benchmark::State& state)
{
    Designer& d = TheDesigner();
    d.window.setSelection({d.spinner});
    d.window.document()->recordChange(QStringLiteral("Move"), d.buttons, [&] {
        for (TPalmoControl* button : d.buttons)
            button->setProperty("Left", button->FLeft + 1);
    });
    for (auto _ : state) {
        Designer::act([&] { d.window.document()->undo(); });
        state.PauseTiming();
        Designer::act([&] { d.window.document()->redo(); });
        state.ResumeTiming();
    }
}
BENCHMARK(BM_UndoAndRedoOfAChangeToEveryButton)->Unit(benchmark::kMillisecond);

// A colour typed for all 1,200 selected buttons.
void BM_ColourTypedForEverySelectedButton(benchmark::State& state)
{
    Designer& d = TheDesigner();
    d.window.setSelection(d.buttons);
    PropertyInspector& inspector = *d.window.inspector();
    const int row = inspector.rowOf(QStringLiteral("Appearance.Color"));
    bool tomato = false;
    for (auto _ : state) {
        tomato = !tomato;
        Designer::act([&] { inspector.commitText(row, tomato ? QStringLiteral("Tomato") : QStringLiteral("Navy")); });
    }
}
BENCHMARK(BM_ColourTypedForEverySelectedButton)->Unit(benchmark::kMillisecond);

// A duplicate of 1,000 selected buttons (the copies stay selected, as a paste leaves them), then
// its undo, which takes the selected copies away: each a change of the selection, the list and
// the inspector as a whole, never one per control.
void BM_DuplicateOfAThousandButtonsAndItsUndo(benchmark::State& state)
{
    Designer& d = TheDesigner();
    const std::vector<TPalmoControl*> chosen(d.buttons.begin(), d.buttons.begin() + 1000);
    for (auto _ : state) {
        state.PauseTiming();
        Designer::act([&] { d.window.setSelection(chosen); });
        state.ResumeTiming();
        Designer::act([&] { d.window.duplicateSelection(); });
        Designer::act([&] { d.window.document()->undo(); });
    }
}
BENCHMARK(BM_DuplicateOfAThousandButtonsAndItsUndo)->Unit(benchmark::kMillisecond);

// A form of N controls (every class in turn) opened in a fresh main window, to its first painted
// frame: the file read, the controls listed, the preview and the inspector drawn.
void BM_OpenFormToFirstFrame(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("form.cvform"));
    {
        FormModel form;
        for (int i = 0; i < state.range(0); ++i) {
            TPalmoControl* control = form.add(PalmoControlClasses().at(i % PalmoControlClasses().size()));
            control->FLeft = (i % 40) * 24;
            control->FTop = (i / 40) * 40;
        }
        if (!FormFile::writeFormFile(form, path).isEmpty())
            state.SkipWithError("the form could not be written");
    }
    for (auto _ : state) {
        state.PauseTiming();
        auto window = std::make_unique<MainWindow>(QStringLiteral(CV_PACKAGE_PATH));
        window->resize(1060, 760);
        window->show();
        QApplication::processEvents();
        state.ResumeTiming();
        Designer::act([&] { window->openForm(path); });
        window->grab();
        state.PauseTiming();
        window->document()->setModified(false);
        window.reset();
        state.ResumeTiming();
    }
    state.counters["controls"] = static_cast<double>(state.range(0));
}
// Switching the preview's simulated vision, with 1,200 buttons and a spinner on the form, to the
// next painted frame (goal: within one frame, 16 ms).
void BM_SwitchSimulatedVisionToTheNextFrame(benchmark::State& state)
{
    Designer& d = TheDesigner();
    auto* menu = d.window.findChild<QMenu*>(QStringLiteral("simulateMenu"));
    QAction* deuteranopia = menu ? menu->findChild<QAction*>(QStringLiteral("simulateDeuteranopia")) : nullptr;
    QAction* normal = menu ? menu->findChild<QAction*>(QStringLiteral("simulateNormal")) : nullptr;
    if (!deuteranopia || !normal) {
        state.SkipWithError("no View > Simulate menu");
        return;
    }
    bool simulated = false;
    for (auto _ : state) {
        (simulated ? normal : deuteranopia)->trigger();
        simulated = !simulated;
        d.window.preview()->repaint();
    }
    normal->trigger();
}
BENCHMARK(BM_SwitchSimulatedVisionToTheNextFrame)->Unit(benchmark::kMillisecond);

BENCHMARK(BM_OpenFormToFirstFrame)->Arg(1000)->Arg(5000)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    {
        const auto made = std::make_unique<Designer>();
        designer = made.get();
        benchmark::RunSpecifiedBenchmarks();
        designer = nullptr;
    }
    benchmark::Shutdown();
    return 0;
}
