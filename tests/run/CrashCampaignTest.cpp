// The host abandoned at any byte of a job, finished by the next program start against the same
// still-powered engraver: the plate must come out exactly as without the crash.
#include "EngraverBench.h"

#include "run/ProgressRecord.h"

#include <gtest/gtest.h>

namespace zuk::test {
namespace {

constexpr int kSpreadPoints = 200;
// Restarting the program takes the operator a while: the device finishes what it was doing.
constexpr qint64 kRestartDelayMs = 20000;

// Small enough to run hundreds of times, with every kind of line: two regions side by side
// (the second starts above the first one's end, so the head moves down and overshoots),
// double-sided rows with backward lines split into edge pieces, and a second pass.
const std::vector<PlanRegion> kRegions{{2, 5, 2, 22}, {3, 6, 26, 40}};

JobSpec campaignJob() {
    JobSpec spec;
    spec.plan = generatePlan(randomPicture(11, kRegions), kRegions, Sides::Double);
    spec.secondPass = true;
    spec.portrait = true;
    return spec;
}

struct ReferenceRun {
    qint64 runBytes = 0; // from the first tick to the end of the job
    // The bytes of the tick that ends the first pass and starts the second.
    qint64 secondPassFrom = 0;
    qint64 secondPassTo = 0;
    PassPlate first;
    PassPlate second;
};

ReferenceRun runUninterrupted(const JobSpec& spec) {
    EngraverBench bench;
    bench.startProgram();
    bench.startJob(spec);
    ReferenceRun reference;
    const qint64 start = bench.tap.bytes;
    for (;;) {
        const qint64 before = bench.tap.bytes - start;
        const bool secondPassBefore = bench.program().job.secondPassRunning;
        if (!bench.tick())
            break;
        if (!secondPassBefore && bench.program().job.secondPassRunning) {
            reference.secondPassFrom = before;
            reference.secondPassTo = bench.tap.bytes - start;
        }
    }
    reference.runBytes = bench.tap.bytes - start;
    reference.first = platePass(bench.engraver().plate(), spec, 1);
    reference.second = platePass(bench.engraver().plate(), spec, 2);
    return reference;
}

// Crashes the job after `crashAt` bytes of its run, starts a new program that finishes it,
// and compares the plate with the uninterrupted one.
void crashAndFinish(const JobSpec& spec, const ReferenceRun& reference, qint64 crashAt,
                    std::optional<qint64> secondCrashAt = std::nullopt) {
    EngraverBench bench;
    bench.startProgram();
    bench.startJob(spec);
    bench.tap.crashAt = bench.tap.bytes + crashAt;
    if (bench.runTimers())
        return; // the job ended before that byte
    bench.abandonHost();
    bench.clock.advance(kRestartDelayMs);
    bench.startProgram();
    if (secondCrashAt) {
        // The resumption itself is interrupted: yet another start finishes the job.
        bench.tap.crashAt = bench.tap.bytes + *secondCrashAt;
        if (!bench.runTimers()) {
            bench.abandonHost();
            bench.clock.advance(kRestartDelayMs);
            bench.startProgram();
        }
    }
    const int violationsAtRestart = bench.engraver().counters().violationCount;
    ASSERT_TRUE(bench.runTimers());

    const PassPlate first = platePass(bench.engraver().plate(), spec, 1);
    const PassPlate second = platePass(bench.engraver().plate(), spec, 2);
    EXPECT_EQ(first.twice, 0);
    EXPECT_EQ(second.twice, 0);
    EXPECT_EQ(first.cells, reference.first.cells);
    EXPECT_EQ(second.cells, reference.second.cells);
    EXPECT_EQ(first.foreign + second.foreign, 0);
    EXPECT_TRUE(bench.screen().messages.isEmpty())
        << bench.screen().messages.join('|').toStdString();
    EXPECT_FALSE(QFile::exists(bench.file("ErorFile.txt")));
    EXPECT_FALSE(QFile::exists(bench.file("JobProgress.txt")));
    // Whatever the crash left half done is over once the new program has started; from then
    // on the device sees a correct host.
    EXPECT_EQ(bench.engraver().counters().violationCount, violationsAtRestart);
}

TEST(CrashCampaign, HostAbandonedAtAnyByteOfTheJobIsFinishedWithThePlateExact) {
    const JobSpec spec = campaignJob();
    const ReferenceRun reference = runUninterrupted(spec);
    ASSERT_EQ(reference.first.cells, reference.second.cells);
    ASSERT_GT(reference.first.cells.size(), 60u);
    ASSERT_GT(reference.secondPassTo, reference.secondPassFrom);

    std::vector<qint64> points;
    for (int i = 0; i < kSpreadPoints; ++i)
        points.push_back(reference.runBytes * i / kSpreadPoints + i % 7);
    // Densely through the second pass's start: the last line of the first pass, the new
    // strike profile, homing, "Begin print".
    const qint64 step =
        std::max<qint64>(1, (reference.secondPassTo - reference.secondPassFrom) / 40);
    for (qint64 b = reference.secondPassFrom; b < reference.secondPassTo; b += step)
        points.push_back(b);

    int failedPoints = 0;
    for (const qint64 point : points) {
        SCOPED_TRACE(::testing::Message()
                     << "crash after byte " << point << " of " << reference.runBytes);
        crashAndFinish(spec, reference, point);
        if (::testing::Test::HasFailure() && ++failedPoints >= 3)
            break;
    }
    EXPECT_GE(points.size(), 200u);
}

} // namespace
} // namespace zuk::test
