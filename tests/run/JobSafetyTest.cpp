// A job is never struck on a device that was not fully prepared, never struck twice, and the
// window stays locked while the job holds it: the job start over a line that loses or garbles
// each of its answers in turn, STOP after a strike line that ends with a motor setting, the
// second pass whose recovery file cannot be rewritten, a print line whose answers are lost.
#include "EngraverBench.h"

#include "run/EngravingRun.h"
#include "run/Interruption.h"

#include <QFile>

#include <gtest/gtest.h>

namespace zuk::test {
namespace {

const std::vector<PlanRegion> kSafetyRegions{{2, 6, 2, 30}};

WorkJob smallJob() {
    WorkJob job;
    job.picture = gradientPicture(QSize(24, 6));
    job.spec.secondPass = true;
    return job;
}

// The answer bytes of the job start's settings, from 'T' to "Begin print": after the start-up,
// the open and the job start's five greetings, before the estimate's 101 timing greetings.
std::pair<int, int> settingsAnswerBytes() {
    EngraverBench probe;
    probe.startProgram();
    WorkJob job = smallJob();
    probe.prepareJobThroughWork(job);
    const int before = probe.engraver().counters().answerBytes;
    EXPECT_TRUE(startPreparedJob(probe.program()).started);
    return {before + 5 * 2 + 1, probe.engraver().counters().answerBytes - 101 * 2};
}

TEST(JobStartOverAFaultyLine, AnyLostOrGarbledAnswerOfItsSettingsStrikesNothing) {
    const auto [first, last] = settingsAnswerBytes();
    ASSERT_GT(last - first, 30);
    for (int byte = first; byte <= last; ++byte) {
        for (const bool drop : {true, false}) {
            SCOPED_TRACE(::testing::Message()
                         << "answer byte " << byte << (drop ? " lost" : " garbled"));
            sim::SimOptions options;
            (drop ? options.faults.dropAnswerBytes : options.faults.corruptAnswerBytes) = {byte};
            EngraverBench bench(options);
            Program& program = bench.startProgram();
            WorkJob job = smallJob();
            EXPECT_FALSE(bench.startJobThroughWork(job).started);
            EXPECT_FALSE(program.timers.optimizing);
            EXPECT_TRUE(bench.engraver().plate().strikes().empty());
            const QString told = bench.screen().messages.join('|');
            EXPECT_TRUE(told.contains("Устройство не выполнило команду")) << told.toStdString();
            // "Begin print" reaches the device only when its own answer is the one lost.
            if (!told.contains("\"Begin print\"")) {
                EXPECT_EQ(bench.engraver().counters().commandCount(sim::CommandKind::BeginPrint),
                          0);
            }
            // A job whose files were written is kept to be started again, else none is left.
            EXPECT_EQ(program.unfinishedJob, QFile::exists(bench.file("ErorFile.txt")));
            EXPECT_NE(bench.screen().menuState, MenuState::Work);
        }
    }
}

class HeldWindow : public ::testing::Test {
protected:
    void start(const std::vector<QByteArray>& plan) {
        spec.plan = plan;
        spec.portrait = true;
        bench.startProgram();
        bench.startJob(spec);
    }
    Program& program() { return bench.program(); }

    JobSpec spec;
    EngraverBench bench;
};

// A backward line split for the edge dots ends with a motor setting, whose answer brings the
// link up; the paused job still holds the window.
TEST_F(HeldWindow, StopAfterASplitBackwardLineKeepsTheMenusLocked) {
    start({"GoTo:      4    30", "Down: ", "KBack: 12341234123412341234", "Up  : "});
    for (int line = 0; line < 3; ++line)
        optimizingTimer(program());
    ASSERT_GT(bench.engraver().counters().commandCount(sim::CommandKind::ProgramY), 4);
    EXPECT_EQ(bench.screen().menuState, MenuState::Work);
    ASSERT_TRUE(stopClick(program(), true).shown);
    EXPECT_EQ(bench.screen().menuState, MenuState::Paused);
    continueWork(program());
    ASSERT_TRUE(bench.runTimers());
    EXPECT_EQ(bench.engraver().plate().strikes().size(), 20u);
}

// The resumption also sends motor settings: the window stays locked until the run ends.
TEST_F(HeldWindow, AResumptionKeepsTheMenusLockedUntilTheRunEnds) {
    start({"GoTo:      4    30", "Down: ", "KBack: 12341234123412341234",
           "Up  : ", "GoTo:      6    30", "Down: ", "KBack: 12341234123412341234", "Up  : "});
    for (int line = 0; line < 4; ++line)
        optimizingTimer(program());
    bench.abandonHost();
    bench.startProgram({true, 0});
    program().crushTimerTimer();
    ASSERT_TRUE(program().timers.optimizing);
    EXPECT_EQ(bench.screen().menuState, MenuState::PreparingRun);
    const qsizetype resumed = bench.screen().events.size();
    ASSERT_TRUE(bench.runTimers());
    EXPECT_FALSE(bench.screen().events.mid(resumed).contains("menu: link up (running)"));
    EXPECT_EQ(bench.engraver().plate().strikes().size(), 40u);
}

// The second pass cannot begin without "Sec" in the recovery file, or a crash would resume the
// first pass again: the job stops before the second pass sends anything, and a resumption
// finishes it exactly.
TEST(SecondPassStart, ARecoveryFileThatCannotBeRewrittenStopsTheJobAndKeepsItExact) {
    const DotPicture picture = randomPicture(4, kSafetyRegions);
    JobSpec spec;
    spec.plan = generatePlan(picture, kSafetyRegions, Sides::Double);
    spec.secondPass = true;
    EngraverBench bench;
    Program& program = bench.startProgram();
    bench.startJob(spec);
    const QString recovery = bench.file("ErorFile.txt");
    // Up to the first pass's last line, whose tick starts the second pass.
    while (program.job.plan.linesRead() + 1 < qint64(spec.plan.size()))
        optimizingTimer(program);
    // The file may be replaced, not rewritten: a directory of its name stands in the way.
    ASSERT_TRUE(QFile::rename(recovery, recovery + ".kept"));
    ASSERT_TRUE(QDir().mkdir(recovery));
    const int strikesBefore = int(bench.engraver().plate().strikes().size());
    optimizingTimer(program);
    EXPECT_FALSE(program.timers.optimizing);
    EXPECT_TRUE(program.unfinishedJob);
    EXPECT_EQ(bench.engraver().counters().commandCount(sim::CommandKind::SetStrike), 1);
    EXPECT_EQ(int(bench.engraver().plate().strikes().size()), strikesBefore);
    ASSERT_FALSE(bench.screen().messages.isEmpty());
    EXPECT_TRUE(bench.screen().messages.back().contains("ErorFile.txt"));

    ASSERT_TRUE(QDir().rmdir(recovery));
    ASSERT_TRUE(QFile::rename(recovery + ".kept", recovery));
    bench.startProgram({true, 0});
    ASSERT_TRUE(bench.runTimers());
    expectEveryCellStruckOncePerPass(bench, picture, spec);
}

// Every answer byte of one print line lost in turn: the exchange repairs it, and the job
// finishes by itself with exactly the plan's strikes.
TEST(PrintLineOverAFaultyLine, ALostAnswerOfAnyOfItsBytesIsRepairedAndTheJobFinishes) {
    const DotPicture picture = randomPicture(6, kSafetyRegions);
    JobSpec spec;
    spec.plan = generatePlan(picture, kSafetyRegions, Sides::Single);
    EngraverBench probe;
    probe.startProgram();
    probe.startJob(spec);
    // The first strike line: the answer bytes from its header to its completion.
    int first = 0;
    while (probe.engraver().counters().printLines == 0) {
        first = probe.engraver().counters().answerBytes + 1;
        optimizingTimer(probe.program());
    }
    const int last = probe.engraver().counters().answerBytes;
    ASSERT_GT(last - first, 6);
    for (int byte = first; byte <= last; ++byte) {
        SCOPED_TRACE(::testing::Message() << "answer byte " << byte << " lost");
        sim::SimOptions options;
        options.faults.dropAnswerBytes = {byte};
        EngraverBench bench(options);
        bench.startProgram();
        bench.startJob(spec);
        ASSERT_TRUE(bench.runTimers());
        EXPECT_EQ(bench.screen().faultAdvices, 0);
        EXPECT_FALSE(QFile::exists(bench.file("ErorFile.txt")));
        expectEveryCellStruckOncePerPass(bench, picture, spec);
    }
}

} // namespace
} // namespace zuk::test
