// The host abandoned at any byte of a job, finished by the next program start against the same
// still-powered engraver: the plate must come out exactly as without the crash.
#include "EngraverBench.h"

#include "plan/PlanLine.h"
#include "run/ProgressRecord.h"
#include "run/RecoveryFile.h"

#include <gtest/gtest.h>

#include <functional>

namespace zuk::test {
namespace {

constexpr int kSpreadPoints = 200;
// Restarting the program takes the operator a while: the device finishes what it was doing.
constexpr qint64 kRestartDelayMs = 20000;

// Small enough to run hundreds of times, with every kind of line: two regions side by side
// (the second starts above the first one's end, so the head moves down and overshoots),
// double-sided rows with backward lines split into edge pieces, and a second pass.
const std::vector<PlanRegion> kCrashRegions{{2, 5, 2, 22}, {3, 6, 26, 40}};

JobSpec campaignJob() {
    JobSpec spec;
    spec.plan = generatePlan(randomPicture(11, kCrashRegions), kCrashRegions, Sides::Double);
    spec.secondPass = true;
    spec.portrait = true;
    return spec;
}

struct ReferenceRun {
    qint64 runBytes = 0;   // from the first crash point to the end of the job
    qint64 startBytes = 0; // of them, the job start's own (when the crashes fall into it)
    // The bytes of the tick that ends the first pass and starts the second.
    qint64 secondPassFrom = 0;
    qint64 secondPassTo = 0;
    PassPlate first;
    PassPlate second;
};

// How a job of the campaign is started, and whether the crash points count from its first
// byte (the job start's own exchanges crashed into as well) or from the run's first tick.
struct Starter {
    std::function<void(EngraverBench&)> start;
    bool crashesInTheStart = false;
};

Starter planned(const JobSpec& spec) {
    return {[&spec](EngraverBench& bench) { bench.startJob(spec); }, false};
}

ReferenceRun runUninterrupted(const JobSpec& spec, const Starter& starter) {
    EngraverBench bench;
    bench.startProgram();
    qint64 start = bench.tap.bytes;
    starter.start(bench);
    if (!starter.crashesInTheStart)
        start = bench.tap.bytes;
    ReferenceRun reference;
    reference.startBytes = bench.tap.bytes - start;
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

ReferenceRun runUninterrupted(const JobSpec& spec) {
    return runUninterrupted(spec, planned(spec));
}

// Starts the job and crashes it `crashAt` bytes on; false when it ended before that byte.
bool startAndCrash(EngraverBench& bench, const Starter& starter, qint64 crashAt) {
    if (!starter.crashesInTheStart) {
        starter.start(bench);
        bench.tap.crashAt = bench.tap.bytes + crashAt;
        return !bench.runTimers();
    }
    bench.tap.crashAt = bench.tap.bytes + crashAt;
    try {
        starter.start(bench);
    } catch (const HostCrash&) {
        return true;
    }
    return !bench.runTimers();
}

// What became of a crash point.
enum class Finish { EndedBefore, Resumed, StartedAnew };

// Crashes the job after `crashAt` bytes, starts a new program that finishes it (or, when the
// crash came before the job start had recorded the job, starts it again as the operator
// would), and compares the plate with the uninterrupted one.
Finish crashAndFinish(const JobSpec& spec, const ReferenceRun& reference, qint64 crashAt,
                      std::optional<qint64> secondCrashAt = std::nullopt,
                      std::optional<Starter> starter = std::nullopt) {
    if (!starter)
        starter = planned(spec);
    EngraverBench bench;
    bench.startProgram();
    if (!startAndCrash(bench, *starter, crashAt))
        return Finish::EndedBefore;
    bench.abandonHost();
    bench.clock.advance(kRestartDelayMs);
    bench.startProgram();
    Finish finish = Finish::Resumed;
    if (!bench.program().unfinishedJob) {
        // Nothing was recorded, so nothing was struck: the job is started anew.
        EXPECT_TRUE(bench.engraver().plate().strikes().empty());
        starter->start(bench);
        finish = Finish::StartedAnew;
    }
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
    if (!bench.runTimers()) {
        ADD_FAILURE() << "the host crashed again";
        return finish;
    }

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
    return finish;
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

    ::testing::Test::RecordProperty("crash_points", int(points.size()));
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

TEST(CrashCampaign, PlanOfTheProgramsOwnBuilderIsFinishedWithThePlateExact) {
    JobSpec spec = campaignJob();
    spec.plan = builtPlan(randomPicture(11, kCrashRegions), Sides::Double);
    const ReferenceRun reference = runUninterrupted(spec);
    ASSERT_GT(reference.first.cells.size(), 60u);
    constexpr int kPoints = 60;
    int failedPoints = 0;
    for (int i = 0; i < kPoints; ++i) {
        const qint64 point = reference.runBytes * i / kPoints + i % 5;
        SCOPED_TRACE(::testing::Message()
                     << "crash after byte " << point << " of " << reference.runBytes);
        crashAndFinish(spec, reference, point);
        if (::testing::Test::HasFailure() && ++failedPoints >= 3)
            break;
    }
}

// Through the program's own job start ("Работа" on a converted picture), crash points from
// its first exchange on: within the job start's preparation of the device, across the run and
// into the second pass.
TEST(CrashCampaign, JobStartedByWorkIsFinishedWithThePlateExact) {
    JobSpec spec;
    spec.secondPass = true;
    spec.portrait = true;
    const QImage picture = gradientPicture(QSize(30, 8));
    const Starter throughWork{[&](EngraverBench& bench) {
                                  WorkJob work{picture, Sides::Double, 1, spec};
                                  ASSERT_TRUE(bench.startJobThroughWork(work).started);
                              },
                              true};
    const ReferenceRun reference = runUninterrupted(spec, throughWork);
    ASSERT_GT(reference.first.cells.size(), 60u);
    ASSERT_GT(reference.startBytes, 500);
    // Every 7th byte of the open's step time, the greetings and 'T' and 'U' (before the job
    // is recorded), ten points over the rest of the device's preparation, and 30 over the run.
    std::vector<qint64> points;
    for (qint64 b = 0; b < 160; b += 7)
        points.push_back(b);
    for (int i = 0; i < 10; ++i)
        points.push_back(160 + (reference.startBytes - 160) * i / 10);
    for (int i = 0; i < 30; ++i)
        points.push_back(reference.startBytes +
                         (reference.runBytes - reference.startBytes) * i / 30 + i % 5);
    int failedPoints = 0;
    std::map<Finish, int> finishes;
    for (const qint64 point : points) {
        SCOPED_TRACE(::testing::Message()
                     << "crash after byte " << point << " of " << reference.runBytes);
        ++finishes[crashAndFinish(spec, reference, point, std::nullopt, throughWork)];
        if (::testing::Test::HasFailure() && ++failedPoints >= 3)
            break;
    }
    // Crashes before the job start wrote the recovery file and after it.
    EXPECT_GT(finishes[Finish::StartedAnew], 2);
    EXPECT_GT(finishes[Finish::Resumed], 30);
}

TEST(CrashCampaign, ResumptionAbandonedAtAnyByteIsFinishedByYetAnotherStart) {
    const JobSpec spec = campaignJob();
    const ReferenceRun reference = runUninterrupted(spec);
    int runs = 0;
    int failedPoints = 0;
    // How, the device's preparation and the first lines of the rebuilt plan.
    for (const qint64 first : {reference.runBytes / 5, reference.runBytes / 2,
                               reference.secondPassTo + 40, reference.runBytes * 9 / 10}) {
        for (qint64 second = 0; second < 220; second += 9, ++runs) {
            SCOPED_TRACE(::testing::Message() << "crashes after byte " << first << " of the job "
                                              << "and byte " << second << " of the resumption");
            crashAndFinish(spec, reference, first, second);
            if (::testing::Test::HasFailure() && ++failedPoints >= 3)
                return;
        }
    }
    EXPECT_GE(runs, 80);
}

// A crash never falls between two file writes on the byte boundaries above; these are the
// states such a crash can leave, made by hand from the states around them.
class CrashBetweenFiles : public ::testing::Test {
protected:
    void crashAt(qint64 byte) {
        bench.startProgram();
        bench.startJob(spec);
        bench.tap.crashAt = bench.tap.bytes + byte;
        ASSERT_FALSE(bench.runTimers());
        bench.abandonHost();
        bench.clock.advance(kRestartDelayMs);
    }
    void finishAndCompare() {
        bench.startProgram();
        ASSERT_TRUE(bench.runTimers());
        EXPECT_EQ(platePass(bench.engraver().plate(), spec, 1).cells, reference.first.cells);
        EXPECT_EQ(platePass(bench.engraver().plate(), spec, 2).cells, reference.second.cells);
        EXPECT_EQ(platePass(bench.engraver().plate(), spec, 1).twice, 0);
        EXPECT_EQ(platePass(bench.engraver().plate(), spec, 2).twice, 0);
    }
    ProgressRecord record() { return readProgressRecord(ProgramDir(bench.path())).record; }

    const JobSpec spec = campaignJob();
    const ReferenceRun reference = runUninterrupted(spec);
    EngraverBench bench;
};

TEST_F(CrashBetweenFiles, SecondPassRecordWrittenButTheRecoveryFileNotYet) {
    // The first byte after the last line of the first pass: both files are written.
    qint64 byte = reference.secondPassFrom;
    for (;; ++byte) {
        ASSERT_LT(byte, reference.secondPassTo);
        EngraverBench probe;
        probe.startProgram();
        probe.startJob(spec);
        probe.tap.crashAt = probe.tap.bytes + byte;
        ASSERT_FALSE(probe.runTimers());
        if (ProgramDir(probe.path()).readLines("ErorFile.txt").lines.size() == 14)
            break;
    }
    crashAt(byte);
    ASSERT_EQ(record().entries.size(), 2u);
    EXPECT_EQ(record().entries[0].pass, 2);
    EXPECT_EQ(record().entries[1].pass, 1);
    // The recovery file as it was before the second pass's start.
    const ProgramDir dir(bench.path());
    RecoveryData data = readRecoveryFile(dir).data;
    ASSERT_TRUE(writeRecoveryFile(dir, data, RecoveryStage::JobStart).ok());
    finishAndCompare();
}

// Row 9 of the field is struck by line 4 and crossed again by the move of line 14, which
// ends where line 4 ended: a resumption that took the first visit of that cell would strike
// lines 8 and 12 again.
std::vector<QByteArray> revisitingPlan() {
    return {"",       goToLine(4, 2),  "Down: ", "Knock: 11111111", "Up  : ", goToLine(2, 5),
            "Down: ", "Knock: 2222",   "Up  : ", goToLine(6, 20),   "Down: ", "Knock: 3333",
            "Up  : ", goToLine(4, 10), "Down: ", "Knock: 4444",     "Up  : "};
}

TEST_F(CrashBetweenFiles, RebuiltPlanWrittenAndNamedInTheRecordButNotYetInPlace) {
    JobSpec revisiting;
    revisiting.plan = revisitingPlan();
    // The byte where line 16, the last strike line, begins.
    qint64 line16 = 0;
    {
        EngraverBench probe;
        probe.startProgram();
        probe.startJob(revisiting);
        const qint64 start = probe.tap.bytes;
        for (int line = 1; line < 16; ++line)
            probe.tick();
        line16 = probe.tap.bytes - start;
    }
    bench.startProgram();
    bench.startJob(revisiting);
    bench.tap.crashAt = bench.tap.bytes + line16 + 3;
    ASSERT_FALSE(bench.runTimers());
    bench.abandonHost();
    bench.clock.advance(kRestartDelayMs);
    const QByteArray plan = bench.bytesOf("123123123.txt");
    const ProgressRecord before = record();
    ASSERT_EQ(before.entries.at(0).line, 15);

    // The resumption dies at the first byte after "How": the rebuilt plan is in place.
    bench.startProgram();
    bench.tap.crashAt = bench.tap.bytes + 19;
    ASSERT_FALSE(bench.runTimers());
    bench.abandonHost();
    const ProgressRecord after = record();
    ASSERT_EQ(after.entries.size(), 1u);
    ASSERT_EQ(after.entries[0].line, ProgressEntry::kNotStarted);
    ASSERT_NE(bench.bytesOf("123123123.txt"), plan);

    // Back to the instant before the rename: the old plan in place, the new one beside it,
    // the record naming both.
    QFile::rename(bench.file("123123123.txt"), bench.file("1.txt"));
    QFile restored(bench.file("123123123.txt"));
    ASSERT_TRUE(restored.open(QIODevice::WriteOnly));
    restored.write(plan);
    restored.close();
    ProgressRecord both = after;
    both.entries.push_back(before.entries.front());
    ASSERT_TRUE(writeProgressRecord(bench.file("JobProgress.txt"), both, Durability::Fast).ok());

    bench.startProgram();
    ASSERT_TRUE(bench.runTimers());
    const PassPlate plate = platePass(bench.engraver().plate(), revisiting, 1);
    EXPECT_EQ(plate.twice, 0);
    EXPECT_EQ(plate.cells.size(), 8u + 4u + 4u + 4u);
    EXPECT_TRUE(bench.engraver().unexplainedViolations().size() <= 2u);
}

} // namespace
} // namespace zuk::test
