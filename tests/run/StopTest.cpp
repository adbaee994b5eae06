// STOP, "Продолжить работу" and "Завершить работу" on a running job.
#include "EngraverBench.h"

#include "run/EngravingRun.h"
#include "run/Interruption.h"
#include "run/LostPort.h"

#include <gtest/gtest.h>

namespace zuk::test {
namespace {

const std::vector<PlanRegion> kStopRegions{{2, 4, 2, 14}};

class Stop : public ::testing::Test {
protected:
    void start(bool secondPass) {
        spec.plan = generatePlan(picture, kStopRegions, Sides::Double);
        spec.secondPass = secondPass;
        bench.startProgram();
        bench.startJob(spec);
    }
    Program& program() { return bench.program(); }
    void runUntilTheSecondPass() {
        while (!program().job.secondPassRunning)
            optimizingTimer(program());
        optimizingTimer(program());
    }
    void expectPlateExact() { expectEveryCellStruckOncePerPass(bench, picture, spec); }

    const DotPicture picture = randomPicture(3, kStopRegions);
    JobSpec spec;
    EngraverBench bench;
};

TEST_F(Stop, WhileTheEntryIsHiddenNothingButThePlacementHappens) {
    start(false);
    const AbortPanelLayout layout = stopClick(program(), false);
    EXPECT_FALSE(layout.shown);
    EXPECT_TRUE(program().timers.optimizing);
}

TEST_F(Stop, SinglePassJobShowsTheFirstHalfAtTwentyPlusItsWidth) {
    start(false);
    optimizingTimer(program());
    optimizingTimer(program());
    program().job.choices.secondMode = LevelMode::Individual;
    const AbortPanelLayout layout = stopClick(program(), true);
    EXPECT_TRUE(layout.shown);
    EXPECT_FALSE(program().timers.optimizing);
    EXPECT_TRUE(layout.firstHalfEnabled);
    EXPECT_FALSE(layout.secondHalfShown);
    EXPECT_EQ(layout.width(230), 250);
    EXPECT_FALSE(layout.firstGroup) << "RadioButton4, from the second pass's group button";
    EXPECT_FALSE(layout.secondGroup.has_value());
    EXPECT_EQ(layout.firstLevels, spec.first);
    EXPECT_FALSE(layout.secondLevels.has_value());
}

TEST_F(Stop, FirstPassOfADoublePassJobShowsBothHalvesWithBothSetsOfLevels) {
    start(true);
    optimizingTimer(program());
    program().job.choices.secondMode = LevelMode::Group;
    const AbortPanelLayout layout = stopClick(program(), true);
    EXPECT_TRUE(layout.shown);
    EXPECT_TRUE(layout.firstHalfEnabled);
    EXPECT_TRUE(layout.secondHalfShown);
    EXPECT_EQ(layout.width(230), AbortPanelLayout::kFullWidth);
    EXPECT_TRUE(layout.firstGroup);
    EXPECT_EQ(layout.secondGroup, std::optional(true));
    EXPECT_EQ(layout.firstLevels, spec.first);
    EXPECT_EQ(layout.secondLevels, std::optional(spec.second));
}

TEST_F(Stop, SecondPassShowsTheFirstHalfDisabledAndContinueSendsTheSecondPassLevels) {
    start(true);
    runUntilTheSecondPass();
    const AbortPanelLayout layout = stopClick(program(), true);
    EXPECT_FALSE(layout.firstHalfEnabled);
    EXPECT_TRUE(layout.secondHalfShown);
    EXPECT_EQ(layout.width(230), 521);
    EXPECT_FALSE(layout.secondLevels.has_value()) << "the second half keeps its positions";

    // Whatever profile the device held, "Продолжить работу" loads the second pass's.
    program().commands.setStrike(spec.first);
    continueWork(program());
    const StrikeProfile second = computeStrikeProfile(
        spec.second, program().commands.stepTimeFactor, program().commands.motorParameter60,
        program().commands.strikeU, program().commands.strikeT);
    EXPECT_EQ(bench.engraver().machine().profile.bytes(),
              QByteArray(reinterpret_cast<const char*>(second.bytes.data()), 32));
    EXPECT_EQ(program().job.choices.first, spec.first);
    EXPECT_TRUE(program().timers.optimizing);
    ASSERT_TRUE(bench.runTimers());
    expectPlateExact();
}

TEST_F(Stop, FinishSwitchesTheDeviceOffKeepsTheJobAndTheNextStartFinishesIt) {
    start(false);
    for (int line = 0; line < 7; ++line)
        optimizingTimer(program());
    ASSERT_TRUE(stopClick(program(), true).shown);
    const int offs = bench.engraver().counters().commandCount(sim::CommandKind::Off);
    finishWork(program());
    EXPECT_EQ(bench.engraver().counters().commandCount(sim::CommandKind::EndPrint), 1);
    EXPECT_EQ(bench.engraver().counters().commandCount(sim::CommandKind::Off), offs + 1);
    EXPECT_FALSE(program().exchange.linkActive());
    EXPECT_FALSE(program().timers.optimizing);
    EXPECT_EQ(program().job.outcome, RunOutcome::StoppedAndKept);
    EXPECT_EQ(bench.screen().menuState, MenuState::Work);
    EXPECT_TRUE(QFile::exists(bench.file("ErorFile.txt")));
    EXPECT_TRUE(QFile::exists(bench.file("JobProgress.txt")));

    bench.clock.advance(60000);
    bench.startProgram();
    EXPECT_TRUE(bench.screen().events.contains("ask: recovery"));
    ASSERT_TRUE(bench.runTimers());
    expectPlateExact();
    EXPECT_FALSE(QFile::exists(bench.file("ErorFile.txt")));
}

TEST_F(Stop, APausedRunWhosePortWentAwayEndsInTheFaultStopWithTheJobKept) {
    start(false);
    for (int line = 0; line < 7; ++line)
        optimizingTimer(program());
    ASSERT_TRUE(stopClick(program(), true).shown);
    closeLostPort(program());
    EXPECT_TRUE(program().port.isOpen()) << "a port that has not gone away stays";
    EXPECT_TRUE(bench.screen().messages.isEmpty());

    bench.tap.hungUp = true;
    closeLostPort(program());
    EXPECT_FALSE(program().port.isOpen());
    ASSERT_EQ(bench.screen().messages.size(), 1);
    EXPECT_TRUE(bench.screen().messages[0].contains("Данные работы сохранены"));
    EXPECT_EQ(bench.screen().faultAdvices, 1);
    EXPECT_FALSE(program().job.plan.isOpen());
    EXPECT_TRUE(program().unfinishedJob);
    EXPECT_EQ(bench.screen().menuState, MenuState::NoDevice) << "the state without a device";
    EXPECT_TRUE(QFile::exists(bench.file("ErorFile.txt")));
    EXPECT_TRUE(QFile::exists(bench.file("JobProgress.txt")));
}

} // namespace
} // namespace zuk::test
