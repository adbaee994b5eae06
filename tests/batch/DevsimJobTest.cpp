// zuk-batch engrave and resume over a pseudo-terminal against zuk-devsim, in real time with
// the device sped up: the job, a host killed at a few moments, a power loss in a line.
#include "BatchJobs.h"

#include "plan/PlanLine.h"
#include "run/ProgressRecord.h"
#include "run/RecoveryFile.h"
#include "simulator/Devsim.h"
#include "support/BatchRun.h"
#include "support/StartedJob.h"

#include <QFile>
#include <QRegularExpression>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

namespace zuk::test {
namespace {

// Forces "8" to "32" of the two passes, all different, so a strike tells its pass.
constexpr std::array<int, 4> kFirstForces{10, 20, 30, 40};
constexpr std::array<int, 4> kSecondForces{26, 36, 50, 60};
const QStringList kLevelOptions{
    "--levels", "40,30,20,10", "--second-pass", "--second-levels", "60,50,36,26", "--place", "1"};

// The device on its terminal, its reports written when it stops.
class DevsimJob : public ::testing::Test {
protected:
    void startDevice(QStringList faults = {}) {
        ASSERT_TRUE(devsim.start(QStringList{"--speed", "100", "--csv", job.file("strikes.csv"),
                                             "--json", job.file("device.json")} +
                                 faults))
            << devsim.errors().toStdString();
    }
    QStringList engraveArgs(const QStringList& options) const {
        return QStringList{"engrave",         job.picture, "--port",
                           devsim.terminal(), "--dir",     job.dir.path()} +
               options;
    }
    QStringList resumeArgs() const {
        return {"resume", "--port", devsim.terminal(), "--dir", job.dir.path(), "--warm-up", "0"};
    }
    // The device stopped: its reports.
    QJsonObject stopDevice() {
        EXPECT_EQ(devsim.stop(), 0) << devsim.errors().toStdString();
        return sim::test::readJson(job.file("device.json"));
    }
    // The plan of an uninterrupted job, built by the same tool from the same picture.
    StruckCells wholePlan(const QString& mode) {
        const BatchRun plan =
            runBatch({"plan", job.picture, "--plan", job.file("reference.txt"), "--mode", mode});
        EXPECT_EQ(plan.exitCode, 0) << plan.err.toStdString();
        return planStrikes(job.file("reference.txt"));
    }
    // Both passes struck every cell of the plan once at its level, nothing else.
    void expectBothPassesExact(const StruckCells& plan) {
        for (const auto& forces : {kFirstForces, kSecondForces}) {
            const DeviceStrikes pass = strikesWithForces(job.file("strikes.csv"), forces);
            EXPECT_EQ(pass.cells, plan) << "forces of \"32\": " << forces[3];
            EXPECT_EQ(pass.twice, 0) << "forces of \"32\": " << forces[3];
        }
    }

    JobDirectory job;
    sim::test::Devsim devsim;
};

TEST_F(DevsimJob, EngraveStrikesThePlanInBothModesWithoutAProtocolViolation) {
    for (const char* mode : {"double", "single"}) {
        SCOPED_TRACE(mode);
        startDevice();
        BatchProcess batch(engraveArgs(kLevelOptions + QStringList{"--mode", mode}));
        ASSERT_EQ(batch.finish(), 0) << batch.err().toStdString();
        // On a real line the host's share is of the job's estimate, not of the time it took.
        EXPECT_TRUE(batch.out().contains(
            QRegularExpression("% of the device's \\d\\d:\\d\\d:\\d\\d \\(estimated\\), in "
                               "\\d\\d:\\d\\d:\\d\\d real time")))
            << batch.out().toStdString();
        const QJsonObject report = stopDevice();
        EXPECT_EQ(report["protocol_violations"].toInt(), 0);
        expectBothPassesExact(wholePlan(mode));
        QFile::remove(job.file("strikes.csv"));
    }
}

TEST_F(DevsimJob, AHostKilledAtAnyMomentIsFinishedByResumeWithEveryCellStruckOncePerPass) {
    const StruckCells plan = wholePlan("double");
    // The run takes about two seconds, more on a busy machine: early and late in the first
    // pass, and about where the second begins.
    for (const int afterMs : {200, 800, 1500}) {
        SCOPED_TRACE(::testing::Message() << "killed " << afterMs << " ms into the run");
        QFile::remove(job.file("strikes.csv"));
        startDevice();
        {
            BatchProcess batch(engraveArgs(kLevelOptions));
            ASSERT_TRUE(batch.waitForOutput("estimate: ")) << batch.err().toStdString();
            QThread::msleep(afterMs);
            batch.signal(SIGKILL);
            EXPECT_EQ(batch.finish(), -1);
        }
        ASSERT_TRUE(QFile::exists(job.file("ErorFile.txt")));
        BatchProcess resume(resumeArgs());
        EXPECT_EQ(resume.finish(), 0) << resume.err().toStdString() << resume.out().toStdString();
        // The recovery file does not keep the quality: the plan left tells it.
        EXPECT_TRUE(resume.out().contains(", double-sided plan, ")) << resume.out().toStdString();
        stopDevice();
        expectBothPassesExact(plan);
        EXPECT_FALSE(QFile::exists(job.file("ErorFile.txt")));
    }
}

TEST_F(DevsimJob, ResumeTellsASingleSidedJobByItsPlan) {
    startDevice();
    {
        BatchProcess batch(engraveArgs({"--mode", "single", "--place", "1"}));
        ASSERT_TRUE(batch.waitForOutput("estimate: ")) << batch.err().toStdString();
        QThread::msleep(300);
        batch.signal(SIGKILL);
        EXPECT_EQ(batch.finish(), -1);
    }
    BatchProcess resume(resumeArgs());
    EXPECT_EQ(resume.finish(), 0) << resume.err().toStdString();
    EXPECT_TRUE(resume.out().contains(", single-sided plan, ")) << resume.out().toStdString();
    stopDevice();
}

// The device loses the completion of one setting of the job start. The answer bytes before
// "Работа": the start-up's 210 (greeting, both motors, 101 timing greetings, homing) and the
// open's 4 (the step time of both motors); then the job start's five greetings (10), 'T' and
// 'U' (bytes 225 to 228) and the first "ProgX_Motor" (229, its completion 230). Nothing is
// struck and "Begin print" never goes out; a setting lost before the files are written leaves
// no job, one lost after them keeps the job to be started again.
TEST_F(DevsimJob, ALostCompletionOfAJobStartSettingStartsNothing) {
    struct Lost {
        int answerByte;
        const char* command;
        bool jobKept;
    };
    for (const Lost lost : {Lost{226, "'T' 46", false}, Lost{230, "ProgX_Motor", true}}) {
        SCOPED_TRACE(lost.command);
        startDevice({"--drop-answer", QString::number(lost.answerByte)});
        BatchProcess batch(engraveArgs(kLevelOptions));
        EXPECT_EQ(batch.finish(), 1);
        EXPECT_TRUE(batch.err().contains(
            QStringLiteral("Устройство не выполнило команду \"%1\"").arg(lost.command)))
            << batch.err().toStdString();
        EXPECT_FALSE(batch.out().contains(QStringLiteral("finished"))) << batch.out().toStdString();
        EXPECT_EQ(QFile::exists(job.file("ErorFile.txt")), lost.jobKept);
        const QJsonObject report = stopDevice();
        EXPECT_EQ(report["strikes"].toInt(), 0);
        EXPECT_FALSE(report["commands"].toObject().contains(QStringLiteral("Begin print")));
        EXPECT_EQ(report["protocol_violations"].toInt(), 0);
        QFile::remove(job.file("ErorFile.txt"));
        QFile::remove(job.file("JobProgress.txt"));
    }
}

TEST_F(DevsimJob, APowerLossInTheMiddleOfALineIsFinishedByResume) {
    const StruckCells plan = wholePlan("double");
    // The power fails after 5 dots of the 13th print line and comes back 2 s later.
    startDevice({"--power-loss-after-lines", "12", "--power-loss-after-dots", "5",
                 "--power-back-after", "2000"});
    BatchProcess batch(engraveArgs(kLevelOptions));
    EXPECT_EQ(batch.finish(), 1);
    EXPECT_TRUE(batch.err().contains("fault: ")) << batch.err().toStdString();
    ASSERT_TRUE(QFile::exists(job.file("ErorFile.txt")));
    QThread::msleep(2000);
    BatchProcess resume(resumeArgs());
    EXPECT_EQ(resume.finish(), 0) << resume.err().toStdString() << resume.out().toStdString();
    stopDevice();
    expectBothPassesExact(plan);
}

TEST_F(DevsimJob, AResumedPlanThatLeavesTheFieldStopsAtThatLineAndSendsNoMoveForIt) {
    // A job kept before its pass began (the whole plan is run again), whose plan a damaged
    // line would take a million rows up.
    const QByteArray plan = planFileBytes({goToLine(1, 1), kDownLine.toByteArray(), "Knock: 1",
                                           kUpLine.toByteArray(), goToLine(999993, 1), "Knock: 1"});
    const QString planPath = job.file("123123123.txt");
    QFile planFile(planPath);
    ASSERT_TRUE(planFile.open(QIODevice::WriteOnly) && planFile.write(plan) == plan.size());
    planFile.close();
    RecoveryData recovery;
    recovery.pictureFile = job.picture;
    const ProgramDir dir(job.dir.path());
    ASSERT_TRUE(writeRecoveryFile(dir, recovery, RecoveryStage::JobStart).ok());
    const ProgressRecord record{{ProgressEntry{1, ProgressEntry::kNotStarted, "123123123.txt",
                                               *identifyPlanFile(planPath).identity}}};
    ASSERT_TRUE(writeProgressRecord(job.file("JobProgress.txt"), record, Durability::Fast).ok());

    startDevice();
    BatchProcess resume(resumeArgs());
    EXPECT_EQ(resume.finish(), 1) << resume.out().toStdString();
    EXPECT_TRUE(resume.err().contains("Строка 5 плана")) << resume.err().toStdString();
    EXPECT_TRUE(resume.err().contains("за рабочее поле")) << resume.err().toStdString();
    EXPECT_TRUE(resume.out().contains("not finished: ")) << resume.out().toStdString();
    EXPECT_TRUE(QFile::exists(job.file("ErorFile.txt")));
    EXPECT_TRUE(QFile::exists(job.file("JobProgress.txt")));
    const QJsonObject commands = stopDevice()["commands"].toObject();
    EXPECT_EQ(commands["StepUp"].toInt(), 1) << "the first line's row, nothing for the fifth";
    EXPECT_EQ(commands["StepDown"].toInt(), 0);
}

} // namespace
} // namespace zuk::test
