// Speed of form files on a form of 1,000 controls (every class in turn, a few properties
// changed on each). Goals: open (read and build the form) at most 100 ms, save (serialize and
// write through QSaveFile) at most 50 ms. `cvdesigner --check` of the same file as a whole
// process is measured by hand (goal 300 ms): with CV_BENCH_FORM_FILE set, the program first
// writes the form there.

#include "core/ContrastCheck.h"
#include "core/Document.h"
#include "core/FormEdits.h"
#include "core/FormSelection.h"
#include "core/FormFile.h"
#include "core/FormModel.h"
#include "core/Readability.h"

#include "host/palmo/PalmoControls.h"
#include "host/palmo/PalmoFactory.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QTemporaryDir>

namespace {

std::unique_ptr<FormModel> ThousandControls()
{
    auto form = std::make_unique<FormModel>();
    for (int i = 0; i < 1000; ++i) {
        TPalmoControl* control = form->add(PalmoControlClasses().at(i % PalmoControlClasses().size()));
        control->FLeft = (i % 40) * 24;
        control->FTop = (i / 40) * 40;
        control->FHint = QStringLiteral("Control number %1").arg(i);
        if (auto* button = qobject_cast<TPalmoButton*>(control))
            button->Appearance()->FColor = TCVColor{i * 0x010203};
        if (auto* spinner = qobject_cast<TPalmoSpinner*>(control))
            spinner->Slot(1)->FColor = TCVColor{0x00F0E0D0};
    }
    return form;
}

void BM_SaveThousandControls(benchmark::State& state)
{
    const std::unique_ptr<FormModel> form = ThousandControls();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("thousand.cvform"));
    for (auto _ : state)
        if (!FormFile::writeFormFile(*form, path).isEmpty())
            state.SkipWithError("save failed");
}
BENCHMARK(BM_SaveThousandControls)->Unit(benchmark::kMillisecond);

void BM_OpenThousandControls(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("thousand.cvform"));
    FormFile::writeFormFile(*ThousandControls(), path);
    for (auto _ : state) {
        const FormReadResult read = FormFile::readFormFile(path);
        if (!read.form || read.form->count() != 1000)
            state.SkipWithError("open failed");
    }
}
BENCHMARK(BM_OpenThousandControls)->Unit(benchmark::kMillisecond);

void BM_SerializeThousandControls(benchmark::State& state)
{
    const std::unique_ptr<FormModel> form = ThousandControls();
    for (auto _ : state)
        benchmark::DoNotOptimize(FormFile::serialize(*form));
}
BENCHMARK(BM_SerializeThousandControls)->Unit(benchmark::kMillisecond);

// What --check --contrast adds to reading a form: the text contrast alone, and the whole report
// with the state colours seen with each dichromacy (goal: the state check adds at most 20%).
void BM_ContrastCheckThousandControls(benchmark::State& state)
{
    const std::unique_ptr<FormModel> form = ThousandControls();
    for (auto _ : state)
        benchmark::DoNotOptimize(ContrastCheck::failing(*form));
}
BENCHMARK(BM_ContrastCheckThousandControls)->Unit(benchmark::kMillisecond);

// Ctrl+D on 10,000 selected buttons, then its undo, in the form core (no window): every copy
// needs a free name, found without starting the search again at 1 for each.
void BM_DuplicateTenThousandSelectedAndUndo(benchmark::State& state)
{
    Document document;
    FormEdits edits(document);
    std::vector<TPalmoControl*> buttons;
    for (int i = 0; i < 10000; ++i) {
        TPalmoControl* control = document.form()->add(QStringLiteral("TPalmoButton"));
        control->FLeft = (i % 100) * 80;
        control->FTop = (i / 100) * 30;
        buttons.push_back(control);
    }
    for (auto _ : state) {
        document.selection()->setControls(buttons);
        if (!edits.duplicate().isEmpty())
            state.SkipWithError("nothing was duplicated");
        document.undo();
    }
}
BENCHMARK(BM_DuplicateTenThousandSelectedAndUndo)->Unit(benchmark::kMillisecond);

void BM_StateCheckThousandControls(benchmark::State& state)
{
    const std::unique_ptr<FormModel> form = ThousandControls();
    for (auto _ : state)
        benchmark::DoNotOptimize(Readability::findings(*form, ReadabilityThresholds{}));
}
BENCHMARK(BM_StateCheckThousandControls)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    // With CV_BENCH_FORM_FILE set, first leave the 1,000-control form there for timing
    // `cvdesigner --check` by hand.
    if (const QByteArray path = qgetenv("CV_BENCH_FORM_FILE"); !path.isEmpty())
        FormFile::writeFormFile(*ThousandControls(), QString::fromLocal8Bit(path));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
