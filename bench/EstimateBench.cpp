// The job time estimate over a plan of about a million lines in the formats the plan builder
// writes: regions entered by "GoTo:", the needle lowered, strike runs alternating left to right
// and right to left with a "GoTo:" to each next row, the needle raised, an empty line.
#include "FieldPicture.h"
#include "plan/PlanLine.h"
#include "plan/PlanReader.h"
#include "plan/TimeEstimate.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int kTargetLines = 1'000'000;

struct BenchPlan {
    QTemporaryDir dir;
    QString path;
    qint64 lines = 0;
    qint64 bytes = 0;
};

// Strike digits 0..4 as a converted photo gives them, a few runs ending in zeros.
QByteArray strikeRun(quint32& state, int length) {
    QByteArray digits(length, '0');
    for (char& digit : digits) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        digit = static_cast<char>('0' + state % 5);
    }
    if (state % 7 == 0)
        digits.append("000");
    return digits;
}

void appendLine(QByteArray& text, QByteArrayView line, qint64& lines) {
    text.append(line);
    text.append(zuk::kPlanLineEnd);
    ++lines;
}

const BenchPlan& benchPlan() {
    static BenchPlan plan = [] {
        BenchPlan made;
        made.path = made.dir.filePath(QStringLiteral("123123123.txt"));
        QByteArray text;
        quint32 state = 2463534242u;
        while (made.lines < kTargetLines) {
            const int top = static_cast<int>(state % (kFieldHeight - 40)) + 1;
            const int left = static_cast<int>((state >> 12) % (kFieldWidth - 200)) + 1;
            appendLine(text, zuk::goToLine(top, left), made.lines);
            appendLine(text, zuk::kDownLine, made.lines);
            for (int row = 0; row < 30; ++row) {
                const int length = 1 + static_cast<int>(state % 150);
                const QByteArrayView prefix = row % 2 ? zuk::kKBackPrefix : zuk::kKnockPrefix;
                appendLine(text, prefix.toByteArray() + strikeRun(state, length), made.lines);
                appendLine(text, zuk::goToLine(top + row + 1, left + row % 3), made.lines);
            }
            appendLine(text, zuk::kUpLine, made.lines);
            appendLine(text, "", made.lines);
        }
        QFile file(made.path);
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
            qFatal("cannot write the benchmark plan");
        made.bytes = text.size();
        return made;
    }();
    return plan;
}

void estimateBenchmark(benchmark::State& state, bool secondPass) {
    const BenchPlan& plan = benchPlan();
    zuk::PlanReader reader;
    if (!reader.open(plan.path))
        state.SkipWithError("cannot open the plan");
    zuk::EstimateInputs inputs;
    inputs.stepDuration = 59;
    inputs.strikeDurations = {171, 256, 403, 519};
    inputs.secondPass = secondPass;
    for (auto _ : state) {
        const zuk::JobEstimate estimate = zuk::estimateJob(reader, inputs);
        if (!estimate.ok())
            state.SkipWithError(estimate.error.toStdString().c_str());
        benchmark::DoNotOptimize(estimate.total);
    }
    const int passes = secondPass ? 2 : 1;
    state.SetItemsProcessed(state.iterations() * plan.lines * passes);
    state.SetBytesProcessed(state.iterations() * plan.bytes * passes);
    state.counters["plan_lines"] = double(plan.lines);
    state.counters["plan_MB"] = double(plan.bytes) / 1e6;
}

void BM_EstimateMillionLinePlan(benchmark::State& state) {
    estimateBenchmark(state, false);
}
void BM_EstimateMillionLinePlanTwice(benchmark::State& state) {
    estimateBenchmark(state, true);
}

BENCHMARK(BM_EstimateMillionLinePlan)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EstimateMillionLinePlanTwice)->Unit(benchmark::kMillisecond);

} // namespace
