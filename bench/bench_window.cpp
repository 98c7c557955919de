// Single actions on a form of 1,200 buttons and a 64-slot spinner, in the shown main window with
// the package loaded: none may block the window for more than 100 ms. Each iteration is one
// action and everything it leaves for the event loop (the inspector's refresh, the repaints).
//
//   QT_QPA_PLATFORM=offscreen build/release/bin/bench_window

#include "Document.h"
#include "FormModel.h"
#include "MainWindow.h"
#include "PropertyInspector.h"

#include "host/palmo/PalmoControls.h"

#include <benchmark/benchmark.h>

#include <QApplication>

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
