// What the progress record costs the run per plan line: the fast write (scratch file and one
// atomic rename) after every line, against a write forced to the disk (fsync) every time.
// The run forces the record to the disk at most once a second, so a line pays the fast write.
#include "run/ProgressRecord.h"

#include <QCryptographicHash>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// Beside the build, on the disk the program's directory would be on (not in memory).
QTemporaryDir& benchDirectory() {
    static QTemporaryDir dir(QStringLiteral("progress-bench-XXXXXX"));
    return dir;
}

zuk::ProgressRecord recordAt(qint64 line) {
    const zuk::PlanIdentity plan{
        5'400'000, QCryptographicHash::hash("plan", QCryptographicHash::Sha256).toHex()};
    return zuk::ProgressRecord{
        {zuk::ProgressEntry{1, line, QStringLiteral("123123123.txt"), plan}}};
}

void writeRecord(benchmark::State& state, zuk::Durability durability) {
    const QString path = benchDirectory().filePath(QStringLiteral("JobProgress.txt"));
    qint64 line = 0;
    for (auto _ : state) {
        if (!zuk::writeProgressRecord(path, recordAt(++line), durability).ok())
            state.SkipWithError("the record could not be written");
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_ProgressRecordFastWrite(benchmark::State& state) {
    writeRecord(state, zuk::Durability::Fast);
}
BENCHMARK(BM_ProgressRecordFastWrite)->Unit(benchmark::kMicrosecond);

void BM_ProgressRecordDurableWrite(benchmark::State& state) {
    writeRecord(state, zuk::Durability::Durable);
}
BENCHMARK(BM_ProgressRecordDurableWrite)->Unit(benchmark::kMicrosecond);

} // namespace
