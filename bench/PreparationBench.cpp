// The live redraw of "Подготовка рисунка" on a full default working field (1930 × 2330): the
// preparation with gamma, contrast and sharpening, and the conversion of the prepared picture,
// as PreparationPreview makes them while a slider moves; the preparation alone; and the
// pane's reduction of the dots for the screen.
#include "FieldPicture.h"

#include "image/Conversion.h"
#include "image/PicturePreparation.h"
#include "image/PreparationPreview.h"

#include <benchmark/benchmark.h>

namespace {

const QImage& fieldSource() {
    return defaultFieldPicture();
}

// Gamma, contrast and sharpening on; each iteration moves the gamma a little, as a slider does.
zuk::PreparationChoices liveChoices(int step) {
    zuk::PreparationChoices choices;
    choices.gamma = 1.2 + 0.01 * (step % 20);
    choices.contrast = 20;
    choices.sharpenAmount = 1.0;
    choices.sharpenRadius = 1.0;
    return choices;
}

void BM_PrepareAndConvertLive(benchmark::State& state) {
    const zuk::PictureTables tables = zuk::PictureTables::afterStartUp();
    zuk::PreparationPreview preview(fieldSource(), zuk::ConversionVariant::Combined, tables);
    int step = 0;
    for (auto _ : state) {
        if (preview.prepare(liveChoices(step++))) {
            state.SkipWithError("the choices could not prepare the field");
            return;
        }
        benchmark::DoNotOptimize(preview.dots().constBits());
    }
    state.SetItemsProcessed(state.iterations() * qint64(kFieldWidth) * kFieldHeight);
}

void BM_PrepareOnly(benchmark::State& state) {
    int step = 0;
    for (auto _ : state) {
        const zuk::PreparedPicture prepared =
            zuk::preparePicture(fieldSource(), liveChoices(step++));
        benchmark::DoNotOptimize(prepared.image.constBits());
    }
}

// What the dots pane does with a new dot image: reduce it smoothly to its size on screen.
void BM_DotsReducedForThePane(benchmark::State& state) {
    const zuk::PictureTables tables = zuk::PictureTables::afterStartUp();
    zuk::DotImage dots;
    zuk::SilentProgress progress;
    zuk::convertPicture(fieldSource(), tables, zuk::ConversionVariant::Combined, dots, progress);
    for (auto _ : state) {
        const QImage shown =
            dots.bitmap.scaled(QSize(400, 483), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        benchmark::DoNotOptimize(shown.constBits());
    }
}

// Both run on two threads. The wall time is the one to hold to 50 ms, on a machine whose two
// processors are free; on a shared one the calling thread's own CPU time (the first line: the
// diffusion and its half of the preparation, the other thread working beside it) is what the
// wall time comes to once the machine is free, and the process's (second line) the work of both.
BENCHMARK(BM_PrepareAndConvertLive)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PrepareAndConvertLive)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_PrepareOnly)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_DotsReducedForThePane)->Unit(benchmark::kMillisecond);

} // namespace
