// The resumption of an interrupted job ("Завершить незавершенный проект."): what it asks the
// device, what it rebuilds, and how it ends when it cannot go on exactly.
#include "EngraverBench.h"

#include "journal/JournalFile.h"
#include "run/EngravingRun.h"
#include "run/ProgressRecord.h"
#include "run/RecoveryFile.h"

#include <gtest/gtest.h>

namespace zuk::test {
namespace {

const std::vector<PlanRegion> kResumedRegions{{2, 5, 2, 24}, {3, 6, 28, 40}};

class Resumption : public ::testing::Test {
protected:
    void start(bool secondPass = false) {
        spec.plan = generatePlan(picture, kResumedRegions, Sides::Double);
        spec.secondPass = secondPass;
        bench.startProgram();
        bench.startJob(spec);
    }
    void runLines(int lines) {
        for (int line = 0; line < lines; ++line)
            optimizingTimer(bench.program());
    }
    // The host dies between two lines; the operator starts the program again a minute later.
    void restart(RecoveryChoice answer = {true, 0}) {
        bench.abandonHost();
        bench.clock.advance(60000);
        bench.startProgram(answer);
    }
    std::vector<JournalRecord> journalRecords() const {
        return readJournal(bench.file("Journal.csv")).records;
    }
    int count(sim::CommandKind kind) { return bench.engraver().counters().commandCount(kind); }
    void expectPlateExact() { expectEveryCellStruckOncePerPass(bench, picture, spec); }
    // The resumption stopped: the job's files as they were, nothing running, the window usable.
    void expectStoppedWithFilesKept(const QByteArray& plan, const QByteArray& record) {
        Program& program = bench.program();
        EXPECT_FALSE(program.timers.crush);
        EXPECT_FALSE(program.timers.optimizing);
        EXPECT_TRUE(program.unfinishedJob);
        EXPECT_EQ(bench.bytesOf("123123123.txt"), plan);
        EXPECT_EQ(bench.bytesOf("JobProgress.txt"), record);
        EXPECT_TRUE(QFile::exists(bench.file("ErorFile.txt")));
        EXPECT_FALSE(QFile::exists(bench.file("1.txt")));
        EXPECT_EQ(count(sim::CommandKind::WarmUp), 0);
    }

    const DotPicture picture = randomPicture(5, kResumedRegions);
    JobSpec spec;
    EngraverBench bench;
};

TEST_F(Resumption, WithoutLineFourteenTheFirstPassPlanIsCutAtTheStopAndFinished) {
    start();
    runLines(9);
    ASSERT_EQ(ProgramDir(bench.path()).readLines("ErorFile.txt").lines.size(), 13);
    restart({true, 2});
    EXPECT_TRUE(bench.screen().events.contains("ask: recovery"));
    const sim::HeadPosition stopped = bench.engraver().machine().head;
    EXPECT_NE(stopped, sim::HeadPosition{}) << "the start-up leaves the head where it stopped";
    bench.program().crushTimerTimer();
    EXPECT_EQ(count(sim::CommandKind::How), 1);
    EXPECT_EQ(count(sim::CommandKind::WarmUp), 2 * 20 * 3);
    // The needle, down on the stopped line, was raised before the strokes.
    EXPECT_TRUE(bench.engraver().unexplainedViolations().empty())
        << bench.engraver().unexplainedViolations().front().description.toStdString();
    EXPECT_EQ(bench.screen().fields[Field::Edit3], QString::number(stopped.rowSteps / 2));
    EXPECT_EQ(bench.screen().fields[Field::Edit4], QString::number(stopped.column));
    const QStringList plan = ProgramDir(bench.path()).readLines("123123123.txt").lines;
    ASSERT_GE(plan.size(), 3);
    EXPECT_TRUE(plan[0].startsWith("GoTo: "));
    EXPECT_EQ(plan[1], "Down: ");
    EXPECT_EQ(plan.size(), int(spec.plan.size()) - 9 + 2);
    EXPECT_FALSE(QFile::exists(bench.file("1.txt")));
    EXPECT_TRUE(bench.program().timers.optimizing);
    EXPECT_TRUE(bench.screen().events.contains("menu: preparing the run"));
    ASSERT_TRUE(bench.runTimers());
    expectPlateExact();
    // The crash left no record; the resumption's is the rest of the job, finished.
    const std::vector<JournalRecord> journal = journalRecords();
    ASSERT_EQ(journal.size(), 1u);
    EXPECT_EQ(journal[0].kind, JournalKind::Resumption);
    EXPECT_EQ(journal[0].outcome, JournalOutcome::Finished);
    StrikeCounts rest{};
    for (std::size_t line = 9; line < spec.plan.size(); ++line)
        for (std::size_t code = 0; code < rest.size(); ++code)
            rest[code] += strikeCounts(spec.plan[line])[code];
    EXPECT_EQ(journal[0].strikes, rest);
}

TEST_F(Resumption, InTheSecondPassTheFirstPlanIsEmptiedAndTheCopyIsCut) {
    start(true);
    while (!bench.program().job.secondPassRunning)
        runLines(1);
    runLines(12);
    restart({true, 0});
    bench.program().crushTimerTimer();
    EXPECT_EQ(count(sim::CommandKind::WarmUp), 0) << "no warm-up with SpinEdit4 at 0";
    EXPECT_EQ(bench.bytesOf("123123123.txt"), QByteArray());
    const QStringList second = ProgramDir(bench.path()).readLines("123Sec.txt").lines;
    ASSERT_FALSE(second.isEmpty());
    EXPECT_TRUE(second[0].startsWith("GoTo: "));
    EXPECT_FALSE(QFile::exists(bench.file("123sec.txt")));
    optimizingTimer(bench.program()); // the empty first plan goes straight to the second pass
    EXPECT_TRUE(bench.program().job.secondPassRunning);
    ASSERT_TRUE(bench.runTimers());
    expectPlateExact();
}

TEST_F(Resumption, HeadThatLostItsPositionIsReportedAndNothingIsTouched) {
    start();
    runLines(12);
    const QByteArray plan = bench.bytesOf("123123123.txt");
    const QByteArray record = bench.bytesOf("JobProgress.txt");
    bench.replaceEngraver(); // switched off and on again without its position: 0, 0
    restart({true, 3});
    bench.program().crushTimerTimer();
    ASSERT_EQ(bench.screen().messages.size(), 1);
    EXPECT_TRUE(bench.screen().messages[0].contains("строка 0, столбец 0"))
        << bench.screen().messages[0].toStdString();
    EXPECT_EQ(bench.screen().menuState, MenuState::LinkUp);
    // STOP, shown while the resumption prepared the run, is hidden again.
    const QStringList& events = bench.screen().events;
    EXPECT_GT(events.lastIndexOf("menu: work"), events.lastIndexOf("menu: preparing the run"));
    expectStoppedWithFilesKept(plan, record);
    ASSERT_EQ(journalRecords().size(), 1u);
    EXPECT_EQ(journalRecords()[0].outcome, JournalOutcome::ResumptionFailed);
    // The job's values stay the program's own: the recovery file's are applied only to a
    // resumption that goes ahead.
    EXPECT_NE(bench.program().choices.first, spec.first);
    // Where the head stands is not known: a manual move homes it first.
    const int homings = count(sim::CommandKind::Reset);
    EXPECT_TRUE(bench.program().movement.moveTo(QPoint(20, 20), NeedleChoice::Raised));
    EXPECT_EQ(count(sim::CommandKind::Reset), homings + 1);
    EXPECT_EQ(bench.engraver().machine().head, (sim::HeadPosition{20, 40}));
}

TEST_F(Resumption, MissingPlanOrDamagedRecoveryFileEndsItWithAMessage) {
    start();
    runLines(6);
    const QByteArray record = bench.bytesOf("JobProgress.txt");
    QFile::rename(bench.file("123123123.txt"), bench.file("elsewhere.txt"));
    restart();
    bench.program().crushTimerTimer();
    ASSERT_EQ(bench.screen().messages.size(), 1);
    EXPECT_TRUE(bench.screen().messages[0].contains("123123123.txt"));
    expectStoppedWithFilesKept(QByteArray(), record);

    QFile::rename(bench.file("elsewhere.txt"), bench.file("123123123.txt"));
    const QByteArray plan = bench.bytesOf("123123123.txt");
    QFile recovery(bench.file("ErorFile.txt"));
    ASSERT_TRUE(recovery.open(QIODevice::WriteOnly));
    recovery.write("picture.bmp\r\n3\r\n5\r\n10\r\n20\r\n30\r\nforty\r\n");
    recovery.close();
    bench.screen().clear();
    bench.program().crushTimerTimer();
    ASSERT_EQ(bench.screen().messages.size(), 1);
    EXPECT_TRUE(bench.screen().messages[0].contains("ErorFile.txt"));
    expectStoppedWithFilesKept(plan, record);
}

TEST_F(Resumption, DeviceThatStopsAnsweringEndsItAtHowWithoutARetry) {
    start();
    runLines(6);
    const QByteArray plan = bench.bytesOf("123123123.txt");
    const QByteArray record = bench.bytesOf("JobProgress.txt");
    restart();
    bench.tap.unplugged = true;
    const qint64 before = bench.clock.monotonicMs();
    bench.program().crushTimerTimer();
    EXPECT_LT(bench.clock.monotonicMs() - before, 30000) << "bounded, never a hang";
    EXPECT_FALSE(bench.screen().messages.isEmpty());
    EXPECT_EQ(bench.screen().menuState, MenuState::NoDevice);
    expectStoppedWithFilesKept(plan, record);
}

TEST_F(Resumption, IgnoringTheJobHomesTheHeadAndDeletesItsFiles) {
    start();
    runLines(6);
    restart({false, 0});
    EXPECT_EQ(bench.engraver().machine().head, sim::HeadPosition{});
    ASSERT_TRUE(bench.runTimers());
    EXPECT_FALSE(QFile::exists(bench.file("ErorFile.txt")));
    EXPECT_FALSE(QFile::exists(bench.file("JobProgress.txt")));
}

// The operator switches the device off and on and starts the program again a minute later.
void restartDeviceAndProgram(EngraverBench& bench) {
    bench.abandonHost();
    bench.engraver().restart(bench.clock.monotonicMs());
    bench.clock.advance(60000);
    bench.startProgram();
}

// Runs the job to its end, restarting the device and the program after each fault stop (three
// times at the most); every cell struck once per pass.
void finishAcrossRestarts(EngraverBench& bench, const DotPicture& picture, const JobSpec& spec) {
    for (int restarts = 0;; ++restarts) {
        ASSERT_TRUE(bench.runTimers());
        if (!QFile::exists(bench.file("ErorFile.txt")) || restarts == 3)
            break;
        restartDeviceAndProgram(bench);
    }
    EXPECT_FALSE(QFile::exists(bench.file("ErorFile.txt")));
    expectEveryCellStruckOncePerPass(bench, picture, spec);
}

// For every answer byte from `first` to `last`: a line that loses that byte, the job brought
// there by `reach`, then finished across restarts.
template <typename Reach>
void loseEachAnswerByte(int first, int last, const DotPicture& picture, const JobSpec& spec,
                        Reach reach) {
    for (int lost = first; lost <= last; ++lost) {
        SCOPED_TRACE(::testing::Message()
                     << "answer byte " << lost << " of " << first << ".." << last << " lost");
        sim::SimOptions options;
        options.faults.dropAnswerBytes = {lost};
        EngraverBench bench(options);
        reach(bench);
        finishAcrossRestarts(bench, picture, spec);
    }
}

// The operator restarts the device and the program after a fault stop, and the line loses one
// answer byte of the resumption: of "How", of the device's preparation (motors, strike
// profile, homing) or of "Begin print". A preparation that did not complete must not run the
// plan on a device that kept its own defaults; the next start finishes the job exactly.
TEST(ResumptionOverAFaultyLine, AnAnswerLostWhilePreparingTheDeviceStopsItAndTheNextStartFinishes) {
    const DotPicture picture = randomPicture(5, kResumedRegions);
    JobSpec spec;
    spec.plan = generatePlan(picture, kResumedRegions, Sides::Double);
    constexpr int kLinesBeforeTheStop = 9;
    const auto resumeAfterRestart = [&](EngraverBench& bench) {
        bench.startProgram();
        bench.startJob(spec);
        for (int line = 0; line < kLinesBeforeTheStop; ++line)
            optimizingTimer(bench.program());
        restartDeviceAndProgram(bench);
    };

    EngraverBench probe;
    resumeAfterRestart(probe);
    const int firstByte = probe.engraver().counters().answerBytes + 1;
    probe.program().crushTimerTimer();
    ASSERT_TRUE(probe.program().timers.optimizing);
    const int lastByte = probe.engraver().counters().answerBytes;
    ASSERT_GT(lastByte - firstByte, 30);

    loseEachAnswerByte(firstByte, lastByte, picture, spec, [&](EngraverBench& bench) {
        resumeAfterRestart(bench);
        bench.program().crushTimerTimer();
    });
}

// The same for the second pass's start: its levels, the motors, the homing, "Begin print".
TEST(SecondPassOverAFaultyLine, AnAnswerLostWhileStartingTheSecondPassEndsInTheFaultStop) {
    const DotPicture picture = randomPicture(5, kResumedRegions);
    JobSpec spec;
    spec.plan = generatePlan(picture, kResumedRegions, Sides::Single);
    spec.secondPass = true;
    // Ticks until the one that starts the second pass has run; the answer bytes before it.
    const auto runToTheSecondPass = [](EngraverBench& bench) {
        int before = 0;
        while (!bench.program().job.secondPassRunning && bench.program().timers.optimizing) {
            before = bench.engraver().counters().answerBytes;
            optimizingTimer(bench.program());
        }
        return before;
    };

    EngraverBench probe;
    probe.startProgram();
    probe.startJob(spec);
    const int firstByte = runToTheSecondPass(probe) + 1;
    const int lastByte = probe.engraver().counters().answerBytes;
    ASSERT_GT(lastByte - firstByte, 20);

    loseEachAnswerByte(firstByte, lastByte, picture, spec, [&](EngraverBench& bench) {
        bench.startProgram();
        bench.startJob(spec);
    });
}

// The device loses its power in the middle of a print line and keeps the head where it
// stopped; the operator switches it on and starts the program again.
// Without "Monitor" after the line, only the print line's own completion wait sees that the
// device went quiet.
TEST(PowerLoss, InTheMiddleOfAPrintLineTheJobIsFinishedExactly) {
    for (const auto& [lines, dots, monitor] :
         {std::tuple{2, 1, true}, std::tuple{5, 5, true}, std::tuple{8, 9, true},
          std::tuple{3, 4, false}, std::tuple{7, 2, false}}) {
        SCOPED_TRACE(::testing::Message() << "after " << lines << " lines and " << dots
                                          << " dots, step control " << monitor);
        sim::SimOptions options;
        options.faults.powerLossAfterPrintLines = lines;
        options.faults.powerLossAfterDots = dots;
        EngraverBench bench(options);
        const DotPicture picture = randomPicture(5, kResumedRegions);
        JobSpec spec;
        spec.plan = generatePlan(picture, kResumedRegions, Sides::Single);
        bench.startProgram();
        bench.program().stepControl = monitor;
        bench.startJob(spec);
        ASSERT_TRUE(bench.runTimers());
        EXPECT_EQ(bench.screen().faultAdvices, 1);
        ASSERT_FALSE(bench.engraver().poweredOn());

        bench.engraver().restart(bench.clock.monotonicMs());
        bench.abandonHost();
        bench.clock.advance(120000);
        bench.startProgram();
        ASSERT_TRUE(bench.runTimers());
        expectEveryCellStruckOncePerPass(bench, picture, spec);
        EXPECT_FALSE(QFile::exists(bench.file("ErorFile.txt")));
    }
}

} // namespace
} // namespace zuk::test
