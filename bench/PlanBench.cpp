// The engraving plan on a full default working field (1930 × 2330): a converted photo-like
// picture and a noise picture, both strike modes. Each build writes the dump and the plan as
// "Работа" does, into a memory file system where there is one (the plan's sync to disk would
// otherwise measure the disk, not the builder).
#include "FieldPicture.h"
#include "image/Conversion.h"
#include "plan/PlanBuilder.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cmath>
#include <memory>
#include <random>

namespace {

void setGray(QImage& picture, int x, int y, int gray) {
    reinterpret_cast<QRgb*>(picture.scanLine(y))[x] = qRgb(gray, gray, gray);
}

// Smooth gradients with a soft ripple, a few shapes (a dark disc, a bright frame, black
// cut-outs) and some fine texture, as a portrait or a landscape photo has.
QImage photoPicture() {
    QImage picture(kFieldWidth, kFieldHeight, QImage::Format_RGB32);
    std::mt19937 random(12345);
    for (int y = 0; y < kFieldHeight; ++y) {
        for (int x = 0; x < kFieldWidth; ++x) {
            const double gradient = 40 + 170.0 * x / kFieldWidth + 30.0 * y / kFieldHeight;
            const double ripple = 25 * std::sin(x / 90.0) * std::cos(y / 130.0);
            const double dx = x - 900.0;
            const double dy = y - 1100.0;
            const bool disc = dx * dx + dy * dy < 420.0 * 420.0;
            double gray = disc ? 60 + 0.4 * gradient : gradient + ripple;
            if ((x > 150 && x < 1780 && (y > 150 && y < 190)) || (x > 150 && x < 190 && y > 150))
                gray = 235; // the frame's bright bars
            gray += int(random() % 17) - 8;
            const bool cutOut = (x > 1500 && x < 1700 && y > 1800 && y < 2100) ||
                                (x > 300 && x < 420 && y > 400 && y < 460);
            setGray(picture, x, y, cutOut ? 0 : std::clamp(int(gray), 1, 255));
        }
    }
    return picture;
}

// Every pixel black or a random gray: hundreds of thousands of small regions.
QImage noisePicture() {
    QImage picture(kFieldWidth, kFieldHeight, QImage::Format_RGB32);
    std::mt19937 random(777);
    for (int y = 0; y < kFieldHeight; ++y)
        for (int x = 0; x < kFieldWidth; ++x)
            setGray(picture, x, y, random() % 100 < 65 ? 0 : 1 + int(random() % 255));
    return picture;
}

// The picture converted once, as an open does (combined variant, tables after start-up).
std::unique_ptr<zuk::DotImage> converted(const QImage& image) {
    auto dots = std::make_unique<zuk::DotImage>();
    const zuk::PictureTables tables = zuk::PictureTables::afterStartUp();
    zuk::SilentProgress progress;
    zuk::convertPicture(image, tables, zuk::ConversionVariant::Combined, *dots, progress);
    return dots;
}

zuk::DotImage& photo() {
    static const auto picture = converted(photoPicture());
    return *picture;
}
zuk::DotImage& noise() {
    static const auto picture = converted(noisePicture());
    return *picture;
}

std::unique_ptr<QTemporaryDir> planDirectory() {
    const QFileInfo memory(QStringLiteral("/dev/shm"));
    if (memory.isDir() && memory.isWritable())
        return std::make_unique<QTemporaryDir>(QStringLiteral("/dev/shm/zuk-bench-XXXXXX"));
    return std::make_unique<QTemporaryDir>();
}

void planBenchmark(benchmark::State& state, zuk::DotImage& picture, bool singleSided) {
    const auto dir = planDirectory();
    const zuk::ProgramDir programDir(dir->path());
    zuk::SilentPlanProgress progress;
    zuk::PlanBuildResult result;
    for (auto _ : state) {
        result = zuk::buildPlan(picture, singleSided, programDir, progress);
        if (!result.ok) {
            state.SkipWithError(result.error.toStdString().c_str());
            return;
        }
    }
    state.counters["regions"] = double(result.regions);
    state.counters["plan_lines"] = double(result.lines);
    state.counters["plan_MB"] =
        QFileInfo(programDir.path(QLatin1String(zuk::kPlanFileName))).size() / 1e6;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_MB"] = double(usage.ru_maxrss) / 1e3;
}

void BM_PlanPhotoDoubleSided(benchmark::State& state) {
    planBenchmark(state, photo(), false);
}
void BM_PlanPhotoSingleSided(benchmark::State& state) {
    planBenchmark(state, photo(), true);
}
void BM_PlanNoiseDoubleSided(benchmark::State& state) {
    planBenchmark(state, noise(), false);
}
void BM_PlanNoiseSingleSided(benchmark::State& state) {
    planBenchmark(state, noise(), true);
}

BENCHMARK(BM_PlanPhotoDoubleSided)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlanPhotoSingleSided)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlanNoiseDoubleSided)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlanNoiseSingleSided)->Unit(benchmark::kMillisecond);

} // namespace
