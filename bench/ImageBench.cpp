// Picture preparation on a full default working field: building the grids as an open does,
// both conversions, and a whole open with reused and with fresh grid memory.
#include "FieldPicture.h"

#include "image/Conversion.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <memory>

namespace {

const QImage& sourcePicture() {
    return defaultFieldPicture();
}

void reportThroughput(benchmark::State& state, const zuk::DotImage& picture) {
    state.SetItemsProcessed(state.iterations() * qint64(kFieldWidth) * kFieldHeight);
    const double gridBytes = double(picture.gray.rows()) * picture.gray.cols() * 4 +
                             double(picture.dots.rows()) * picture.dots.cols() * 8;
    state.counters["grids_MB"] = gridBytes / 1e6;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_MB"] = double(usage.ru_maxrss) / 1e3;
}

void BM_FillGrids(benchmark::State& state) {
    const zuk::PictureTables tables = zuk::PictureTables::afterStartUp();
    zuk::SilentProgress progress;
    zuk::DotImage dots;
    const QImage picture = sourcePicture().copy();  // unshared, as a freshly read picture
    zuk::sizeGrids(dots, picture.size(), progress); // the grids' memory is in use from here on
    for (auto _ : state) {
        zuk::buildGrids(picture, tables, zuk::ConversionVariant::Combined, dots, progress);
        benchmark::DoNotOptimize(dots.dots.row(1));
    }
    reportThroughput(state, dots);
}

void convertBenchmark(benchmark::State& state, zuk::ConversionVariant variant) {
    const zuk::PictureTables tables = zuk::PictureTables::afterStartUp();
    zuk::SilentProgress progress;
    zuk::DotImage dots;
    for (auto _ : state) {
        state.PauseTiming();
        zuk::buildGrids(sourcePicture(), tables, variant, dots, progress);
        state.ResumeTiming();
        benchmark::DoNotOptimize(zuk::convertGrids(dots, tables, variant, progress));
        benchmark::DoNotOptimize(dots.bitmap.constBits());
    }
    reportThroughput(state, dots);
}

void BM_ConvertCombined(benchmark::State& state) {
    convertBenchmark(state, zuk::ConversionVariant::Combined);
}
void BM_ConvertSimple(benchmark::State& state) {
    convertBenchmark(state, zuk::ConversionVariant::Simple);
}

// What an open costs after the file is read: grids, filling and the combined conversion,
// with the grids of an earlier picture of the same size to reuse.
void BM_RebuildAndConvertCombined(benchmark::State& state) {
    const zuk::PictureTables tables = zuk::PictureTables::afterStartUp();
    zuk::SilentProgress progress;
    zuk::DotImage dots;
    const QImage picture = sourcePicture().copy();
    zuk::sizeGrids(dots, picture.size(), progress);
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            zuk::convertPicture(picture, tables, zuk::ConversionVariant::Combined, dots, progress));
        benchmark::DoNotOptimize(dots.bitmap.constBits());
    }
    reportThroughput(state, dots);
}

// The same for the first picture of a run: the grids take fresh memory from the system.
void BM_FirstRebuildAndConvertCombined(benchmark::State& state) {
    const zuk::PictureTables tables = zuk::PictureTables::afterStartUp();
    zuk::SilentProgress progress;
    std::unique_ptr<zuk::DotImage> dots;
    const QImage picture = sourcePicture().copy();
    for (auto _ : state) {
        state.PauseTiming();
        dots.reset(); // the memory goes back before the next picture takes its own
        dots = std::make_unique<zuk::DotImage>();
        state.ResumeTiming();
        benchmark::DoNotOptimize(zuk::convertPicture(
            picture, tables, zuk::ConversionVariant::Combined, *dots, progress));
        benchmark::DoNotOptimize(dots->bitmap.constBits());
    }
    reportThroughput(state, *dots);
}

BENCHMARK(BM_FillGrids)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertCombined)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertSimple)->Unit(benchmark::kMillisecond);
// A whole conversion runs on two threads: the calling thread's CPU time, then the process's,
// both threads together.
BENCHMARK(BM_RebuildAndConvertCombined)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RebuildAndConvertCombined)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_FirstRebuildAndConvertCombined)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->MeasureProcessCPUTime();

} // namespace
