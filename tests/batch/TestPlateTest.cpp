// The force test plate on the simulated engraver: the plate's jobs through the job start and
// run on virtual time, and zuk-batch test-plate against zuk-devsim over a pseudo-terminal,
// whole and interrupted by SIGINT then taken up again. Every force is struck as one solid
// patch with its number under it, in force order, and no cell twice.
#include "BatchJobs.h"

#include "app/Program.h"
#include "run/JobRunner.h"
#include "simulator/Devsim.h"
#include "simulator/SimTransport.h"
#include "support/BatchRun.h"
#include "support/CommandTap.h"
#include "support/PlateStrikes.h"
#include "support/RecordingScreen.h"
#include "testplate/TestPlate.h"

#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <csignal>

namespace zuk::test {
namespace {

constexpr int kPatch = 12;

enum class Device { BuiltInOnVirtualTime, DevsimWhole, DevsimInterrupted };

class TestPlateCampaign : public ::testing::TestWithParam<Device> {
protected:
    // The plate's jobs one after another on a program started against the built-in engraver.
    void strikeInProcess(PlateForces forces) {
        writeSimulatorConfiguration(job.dir.path(), 0, QSize(300, 300));
        RecordingScreen screen;
        VirtualClock clock;
        QStringList traffic;
        const auto engraver = sim::makeEngraver();
        Program program(screen, clock, tappedEngraver(engraver, clock, traffic),
                        ProgramDir(job.dir.path()));
        program.formCreate();
        std::optional<TestPlate> plate = TestPlate::lay(program, {forces, kPatch, 5, {}}, nullptr);
        ASSERT_TRUE(plate);
        for (const int each : plate->jobs()) {
            ASSERT_TRUE(plate->start(each, program).started);
            EXPECT_EQ(JobRunner(program).run().outcome, RunOutcome::Finished);
        }
        EXPECT_EQ(engraver->counters().violationCount, 0);
        expectPlate(strikesOf(engraver->plate()), forces, kPatch);
    }

    QStringList plateArgs(const QString& forces, const QStringList& more = {}) const {
        return QStringList{
                   "test-plate", "--forces",        forces,  "--patch",     QString::number(kPatch),
                   "--port",     devsim.terminal(), "--dir", job.dir.path()} +
               more;
    }

    // zuk-batch test-plate against zuk-devsim; with `interrupt`, SIGINT in the second job,
    // then the kept job resumed and the plate taken up again from the force it names.
    void strikeOnDevsim(PlateForces forces, bool interrupt) {
        ASSERT_TRUE(devsim.start({"--speed", "100", "--csv", job.file("strikes.csv"), "--json",
                                  job.file("device.json")}));
        const QString range =
            QStringLiteral("%1,%2,%3").arg(forces.from).arg(forces.to).arg(forces.step);
        BatchProcess batch(plateArgs(range));
        if (interrupt) {
            ASSERT_TRUE(batch.waitForOutput("job 2 of ")) << batch.err().toStdString();
            batch.signal(SIGINT);
            ASSERT_EQ(batch.finish(), 3) << batch.err().toStdString();
            const QRegularExpressionMatch next =
                QRegularExpression("--from (\\d+)").match(batch.err());
            ASSERT_TRUE(next.hasMatch()) << batch.err().toStdString();
            if (QFile::exists(job.file("ErorFile.txt"))) {
                BatchProcess resume({"resume", "--port", devsim.terminal(), "--dir", job.dir.path(),
                                     "--warm-up", "0"});
                ASSERT_EQ(resume.finish(), 0) << resume.err().toStdString();
            }
            BatchProcess rest(plateArgs(range, {"--from", next.captured(1)}));
            ASSERT_EQ(rest.finish(), 0) << rest.err().toStdString();
        } else {
            ASSERT_EQ(batch.finish(), 0) << batch.err().toStdString();
        }
        EXPECT_EQ(devsim.stop(), 0);
        EXPECT_EQ(sim::test::readJson(job.file("device.json"))["protocol_violations"].toInt(), 0);
        expectPlate(strikesOf(job.file("strikes.csv")), forces, kPatch);
    }

    JobDirectory job;
    sim::test::Devsim devsim;
};

TEST_P(TestPlateCampaign, EveryForceIsOneSolidPatchWithItsNumberInForceOrderAndNoCellTwice) {
    switch (GetParam()) {
    case Device::BuiltInOnVirtualTime:
        strikeInProcess({20, 90, 10});
        break;
    case Device::DevsimWhole:
        strikeOnDevsim({20, 90, 10}, false);
        break;
    case Device::DevsimInterrupted:
        strikeOnDevsim({20, 120, 10}, true);
        break;
    }
}

INSTANTIATE_TEST_SUITE_P(Devices, TestPlateCampaign,
                         ::testing::Values(Device::BuiltInOnVirtualTime, Device::DevsimWhole,
                                           Device::DevsimInterrupted));

TEST(TestPlateCommand, BadCommandLinesAreRefusedWithOneLineAndStatusTwo) {
    EXPECT_EQ(runBatch({"test-plate", "--help"}).exitCode, 0);
    for (const QStringList& args :
         {QStringList{"test-plate", "--port", "sim"},
          {"test-plate", "--forces", "20,90,10"},
          {"test-plate", "--forces", "20,90", "--port", "sim"},
          {"test-plate", "--forces", "0,90,10", "--port", "sim"},
          {"test-plate", "--forces", "90,20,10", "--port", "sim"},
          {"test-plate", "--forces", "20,90,10", "--port", "sim", "--patch", "2"},
          {"test-plate", "--forces", "20,90,10", "--port", "com1", "--plate", "p.png"}}) {
        const BatchRun run = runBatch(args);
        EXPECT_EQ(run.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
    }
}

} // namespace
} // namespace zuk::test
