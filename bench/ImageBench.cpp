// Picture preparation on a full default working field: building the grids as an open does,
// both conversions, and a whole open with reused and with fresh grid memory.
#include "FieldPicture.h"

#include "image/Conversion.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <memory>

namespace {

constexpr int kFieldWidth = 1930;
constexpr int kFieldHeight = 2330;

const QImage& sourcePicture() {
    static const QImage picture = fieldPicture(kFieldWidth, kFieldHeight);
    return picture;
}

void reportThroughput(benchmark::State& state, const zuk::Picture& picture) {
    state.SetItemsProcessed(state.iterations() * qint64(kFieldWidth) * kFieldHeight);
    const double gridBytes = double(picture.gray.rows()) * picture.gray.cols() * 4 +
                             double(picture.dots.rows()) * picture.dots.cols() * 8 +
                             double(picture.marks.rows() - 1) * picture.marks.cols() * 4;
    state.counters["grids_MB"] = gridBytes / 1e6;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_MB"] = double(usage.ru_maxrss) / 1e3;
}

void BM_FillGrids(benchmark::State& state) {
    zuk::PictureTables tables = zuk::PictureTables::afterStartUp();
    zuk::SilentProgress progress;
    zuk::Picture picture;
    picture.bitmap = sourcePicture().copy(); // unshared, as a freshly read picture
    zuk::sizeGrids(picture, progress);       // the grids' memory is in use from here on
    for (auto _ : state) {
        zuk::buildGrids(picture, tables, zuk::ConversionVariant::Combined, progress);
        benchmark::DoNotOptimize(picture.dots.row(1));
    }
    reportThroughput(state, picture);
}

void convertBenchmark(benchmark::State& state, zuk::ConversionVariant variant) {
    zuk::PictureTables tables = zuk::PictureTables::afterStartUp();
    zuk::SilentProgress progress;
    zuk::Picture picture;
    for (auto _ : state) {
        state.PauseTiming();
        picture.bitmap = sourcePicture().copy(); // unshared, as a freshly read picture
        zuk::sizeGrids(picture, progress);
        zuk::fillGrids(picture, tables, variant, progress);
        state.ResumeTiming();
        zuk::convertPicture(picture, tables, variant, progress);
        benchmark::DoNotOptimize(picture.bitmap.constBits());
    }
    reportThroughput(state, picture);
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
    zuk::PictureTables tables = zuk::PictureTables::afterStartUp();
    zuk::SilentProgress progress;
    zuk::Picture picture;
    picture.bitmap = sourcePicture().copy();
    zuk::sizeGrids(picture, progress);
    for (auto _ : state) {
        state.PauseTiming();
        picture.bitmap = sourcePicture().copy(); // unshared, as a freshly read picture
        state.ResumeTiming();
        zuk::rebuildAndConvert(picture, tables, zuk::ConversionVariant::Combined, progress);
        benchmark::DoNotOptimize(picture.bitmap.constBits());
    }
    reportThroughput(state, picture);
}

// The same for the first picture of a run: the grids take fresh memory from the system.
void BM_FirstRebuildAndConvertCombined(benchmark::State& state) {
    zuk::PictureTables tables = zuk::PictureTables::afterStartUp();
    zuk::SilentProgress progress;
    std::unique_ptr<zuk::Picture> picture;
    for (auto _ : state) {
        state.PauseTiming();
        picture.reset(); // the memory goes back before the next picture takes its own
        picture = std::make_unique<zuk::Picture>();
        picture->bitmap = sourcePicture().copy();
        state.ResumeTiming();
        zuk::rebuildAndConvert(*picture, tables, zuk::ConversionVariant::Combined, progress);
        benchmark::DoNotOptimize(picture->bitmap.constBits());
    }
    reportThroughput(state, *picture);
}

BENCHMARK(BM_FillGrids)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertCombined)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertSimple)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RebuildAndConvertCombined)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FirstRebuildAndConvertCombined)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
