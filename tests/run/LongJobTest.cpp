// A long job on virtual time: the program's memory stays flat from line to line, the exchange
// log keeps its ten lines, and testing.txt grows only by the records of failed exchanges.
// The suite runs a job of ZUK_LONG_JOB_LINES plan lines (12 000 unless set);
// scripts/long-job runs one of 100 000.
#include "EngraverBench.h"

#include "plan/PlanLine.h"
#include "service/ServiceFunctions.h"

#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <cstddef>
#include <iostream>

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer's allocator tells what it holds (its header does not come with every compiler).
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

namespace zuk::test {
namespace {

constexpr qint64 kDefaultLines = 12000;
// What the program may hold more at the end of the job than after its first tenth: the
// buffers that grow to their largest line once (plan reader, log lines, message texts).
constexpr qint64 kAllowedGrowthBytes = 256 * 1024;
constexpr int kSamples = 10;

// Bytes of the heap in use right now.
qint64 liveHeapBytes() {
#if defined(__SANITIZE_ADDRESS__)
    return qint64(__sanitizer_get_current_allocated_bytes());
#else
    const struct mallinfo2 info = mallinfo2();
    return qint64(info.uordblks + info.hblkhd);
#endif
}

qint64 requestedLines() {
    bool ok = false;
    const qint64 lines = qEnvironmentVariable("ZUK_LONG_JOB_LINES").toLongLong(&ok);
    return ok && lines > 0 ? lines : kDefaultLines;
}

// Rows one above the other, each a needle-down strike line of 23 cells ending in one struck
// cell, so that every line sends commands but the device's plate (the observer's memory, not
// the program's) grows by only one strike a row. The rows climb the field over and over, a
// column further right each time, so that no cell is struck twice and the head stays on the
// field.
std::vector<QByteArray> longPlan(qint64 lines) {
    constexpr qint32 kRows = EngraverBench::kFieldSide;
    constexpr qint32 kClimbs = EngraverBench::kFieldSide - 30; // the line's 23 cells fit beside
    std::vector<QByteArray> plan;
    for (qint32 k = 0; qint64(plan.size()) < lines; ++k) {
        const qint32 row = 1 + k % kRows;
        plan.push_back(goToLine(row, 2 + k / kRows % kClimbs + row % 2));
        plan.push_back(kDownLine.toByteArray());
        plan.push_back(kKnockPrefix.toByteArray() + QByteArray(22, '0') + char('1' + row % 4));
        plan.push_back(kUpLine.toByteArray());
    }
    plan.resize(std::size_t(lines));
    return plan;
}

// The heap a plate of `strikes` strikes holds, from a plate struck here the same way.
double plateBytesPerStrike() {
    constexpr int kStrikes = 20000;
    const qint64 before = liveHeapBytes();
    double perStrike = 0;
    {
        sim::Plate plate;
        for (int k = 0; k < kStrikes; ++k)
            plate.strike({k, 2 * k, 1 + k % 4, 10, 1});
        const qint64 vector = qint64(plate.strikes().capacity() * sizeof(sim::Strike));
        perStrike = double(liveHeapBytes() - before - vector) / kStrikes;
    }
    return perStrike;
}

qint64 plateBytes(const sim::Plate& plate, double perStrike) {
    return qint64(plate.strikes().capacity() * sizeof(sim::Strike) +
                  perStrike * double(plate.strikes().size()));
}

struct LongRun {
    std::vector<qint64> programBytes; // at every tenth of the plan
    qint64 lines = 0;
};

LongRun runLongJob(EngraverBench& bench, const JobSpec& spec) {
    const double perStrike = plateBytesPerStrike();
    LongRun run;
    run.lines = qint64(spec.plan.size());
    bench.startJob(spec);
    const qint64 sampleEvery = run.lines / kSamples;
    try {
        for (qint64 ticks = 1; bench.tick(); ++ticks) {
            if (ticks % sampleEvery != 0)
                continue;
            // What the test itself records: the screen's lists, the bytes on the line.
            bench.screen().clear();
            bench.tap.written.clear();
            run.programBytes.push_back(liveHeapBytes() -
                                       plateBytes(bench.engraver().plate(), perStrike));
        }
    } catch (const HostCrash&) {
        ADD_FAILURE() << "the host crashed";
    }
    return run;
}

TEST(LongJob, MemoryStaysFlatAndTheLogsBoundedOverTheWholeJob) {
    JobSpec spec;
    spec.plan = longPlan(requestedLines());
    EngraverBench bench;
    bench.startProgram();
    switchSelfTesting(bench.program(), true);
    const LongRun run = runLongJob(bench, spec);

    ASSERT_EQ(run.programBytes.size(), std::size_t(kSamples));
    const qint64 growth = run.programBytes.back() - run.programBytes.front();
    std::cout << run.lines << " plan lines: the program held, at every tenth of the job (bytes):";
    for (const qint64 bytes : run.programBytes)
        std::cout << ' ' << bytes;
    std::cout << " (growth " << growth << " bytes)" << std::endl;
    EXPECT_LE(growth, kAllowedGrowthBytes);
    // Nor does it creep: the last half grows no more than the slack either.
    EXPECT_LE(run.programBytes.back() - run.programBytes[kSamples / 2], kAllowedGrowthBytes);

    EXPECT_FALSE(QFile::exists(bench.file("ErorFile.txt"))); // the job ended normally
    EXPECT_EQ(bench.engraver().plate().strikes().size(), std::size_t(run.lines / 4));
    const QStringList log = bench.program().exchange.log().oldestFirst();
    EXPECT_EQ(log.size(), ExchangeLog::kLines);
    for (const QString& line : log)
        EXPECT_LT(line.size(), 400) << line.toStdString();
    // No exchange failed, so nothing was written into testing.txt.
    EXPECT_TRUE(QFile::exists(bench.file("testing.txt")));
    EXPECT_EQ(bench.bytesOf("testing.txt").size(), 0);
    std::cout << "exchange log: " << log.size() << " lines, " << log.join(QString()).size()
              << " characters; testing.txt: " << bench.bytesOf("testing.txt").size() << " bytes"
              << std::endl;
}

TEST(LongJob, TestingFileGrowsOnlyByTheRecordsOfFailedExchanges) {
    JobSpec spec;
    spec.plan = longPlan(2000);
    sim::SimOptions options;
    // Five garbled answers spread over the run.
    for (const int byte : {2000, 4000, 6000, 8000, 10000})
        options.faults.corruptAnswerBytes.insert(byte);
    EngraverBench bench(options);
    bench.startProgram();
    switchSelfTesting(bench.program(), true);
    bench.startJob(spec);
    ASSERT_TRUE(bench.runTimers());

    const QStringList lines = ProgramDir::decode(bench.bytesOf("testing.txt"))
                                  .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    const qsizetype records =
        lines.filter(QRegularExpression(QStringLiteral("^Ошибка \\d+$"))).size();
    // A garbled completion of a move is taken as the completion and logs nothing; every other
    // one is at most a wrong answer and the wrong answers to a burst or two.
    EXPECT_GE(records, 1);
    EXPECT_LE(records, 5 * 3);
    // Each record is its header and the ten log lines.
    EXPECT_EQ(lines.size(), records * (1 + ExchangeLog::kLines));
    EXPECT_EQ(bench.program().exchange.errorCount(), records);
    std::cout << "testing.txt after five garbled answers in " << spec.plan.size()
              << " plan lines: " << records << " records, " << bench.bytesOf("testing.txt").size()
              << " bytes" << std::endl;
}

} // namespace
} // namespace zuk::test
