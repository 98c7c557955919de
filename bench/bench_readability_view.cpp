// The Readability view on a form of 10,000 buttons, 7,000 of them with text that reads poorly
// (Gray on White): one colour changed must cost the view what that control's lines cost, not a
// relisting of thousands (goal: well under 100 ms a change, with the pass the event loop runs).
//
//   QT_QPA_PLATFORM=offscreen build/release/bin/bench_readability_view

#include "core/FormModel.h"
#include "core/FormProperties.h"
#include "views/ContrastView.h"

#include "host/cvcolor/CVColor.h"
#include "host/palmo/PalmoControl.h"

#include <benchmark/benchmark.h>

#include <QApplication>

namespace {

void SetColor(TPalmoControl& control, const char* path, TColor color)
{
    const std::optional<FormProperty> property = propertyAt(&control, QLatin1String(path));
    if (property)
        property->property.write(property->owner, QVariant::fromValue(TCVColor{color}));
}

void BM_OneColourChangedAmongSevenThousandFindings(benchmark::State& state)
{
    FormModel form;
    for (int i = 0; i < 10000; ++i) {
        TPalmoControl* button = form.add(QStringLiteral("TPalmoButton"));
        if (i < 7000) {
            SetColor(*button, "Appearance.Color", 0xFFFFFF);
            SetColor(*button, "Appearance.PressedColor", 0xFFFFFF);
            SetColor(*button, "Appearance.TextColor", 0x808080);
        }
    }
    ContrastView view(&form);
    view.resize(800, 400);
    view.show();
    QApplication::processEvents();
    TPalmoControl* middle = form.control(3500);
    bool dark = false;
    for (auto _ : state) {
        // Black text (passes) and Gray again (fails): the control's lines come and go.
        dark = !dark;
        SetColor(*middle, "Appearance.TextColor", dark ? 0x000000 : 0x808080);
        QApplication::processEvents();
    }
    state.counters["lines"] = view.lines()->rowCount();
}
BENCHMARK(BM_OneColourChangedAmongSevenThousandFindings)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
