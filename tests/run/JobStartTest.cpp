// "Работа": what the job start sends the device and in which order, the files it leaves, and
// how it refuses or gives up without leaving a job behind.
#include "EngraverBench.h"

#include "plan/PlanBuilder.h"
#include "plan/TimeEstimate.h"
#include "run/EngravingRun.h"
#include "run/Interruption.h"
#include "run/ProgressRecord.h"
#include "run/RecoveryFile.h"
#include "support/CommandTap.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace zuk::test {
namespace {

// The program started up on the built-in engraver with every command it sends written down.
class JobStart : public ::testing::Test {
protected:
    JobStart() {
        writeSimulatorConfiguration(dir.path(), 0, QSize(200, 150));
        program.formCreate();
        EXPECT_TRUE(screen.messages.isEmpty()) << screen.messages.join('|').toStdString();
        traffic.clear();
        work.picture = gradientPicture(QSize(40, 24));
        work.spec.offset = {};
    }
    // Opens the picture and presses "Работа"; the traffic of the open is dropped.
    JobStartResult startThroughWork() {
        screen.openAnswer = file("picture.bmp");
        EXPECT_TRUE(work.picture.save(screen.openAnswer, "BMP"));
        return test::startJobThroughWork(program, screen, work, file("picture.bmp"));
    }
    // The commands of the job start itself: everything after the open's step time setting,
    // the strike profile's data frames left out.
    QStringList jobStartCommands() const {
        const qsizetype start = traffic.lastIndexOf(QStringLiteral("ProgY_Motor 61 12"),
                                                    traffic.indexOf(QStringLiteral("Hi")));
        QStringList commands;
        for (qsizetype k = std::max<qsizetype>(0, start + 1); k < traffic.size(); ++k)
            if (!traffic[k].startsWith(QLatin1String("Unknown")))
                commands << traffic[k];
        return commands;
    }
    QString file(const QString& name) const { return dir.filePath(name); }
    QByteArray bytesOf(const QString& name) const {
        QFile data(file(name));
        return data.open(QIODevice::ReadOnly) ? data.readAll() : QByteArray();
    }
    // Nothing went to the device after the greetings and 'T' and 'U', no job is pending and
    // the window prepares jobs again.
    void expectNothingStarted(const JobStartResult& result) {
        EXPECT_FALSE(result.started);
        EXPECT_FALSE(program.timers.optimizing);
        EXPECT_FALSE(program.unfinishedJob);
        for (const char* command : {"SetStrike", "Reset eror", "Begin print", "ProgX_Motor 60 16"})
            EXPECT_FALSE(traffic.contains(QLatin1String(command))) << command;
        EXPECT_FALSE(QFileInfo(file("ErorFile.txt")).isFile());
        EXPECT_EQ(screen.menuState, MenuState::LinkUp);
        EXPECT_TRUE(screen.jobDuration.isEmpty());
    }

    QTemporaryDir dir;
    VirtualClock clock;
    std::shared_ptr<sim::Engraver> engraver = sim::makeEngraver();
    QStringList traffic;
    RecordingScreen screen;
    Program program{screen, clock, tappedEngraver(engraver, clock, traffic),
                    ProgramDir(dir.path())};
    WorkJob work;
};

TEST_F(JobStart, DeviceTrafficIsThatOfTheJobStartInItsOrder) {
    const JobStartResult result = startThroughWork();
    ASSERT_TRUE(result.started) << screen.messages.join('|').toStdString();
    QStringList expected;
    for (int k = 0; k < 5; ++k)
        expected << "Hi";
    expected << "Strike timing T 46"
             << "Strike timing U 64"
             << "ProgX_Motor 60 16"
             << "ProgY_Motor 60 16"
             << "ProgX_Motor 61 12"
             << "ProgY_Motor 61 12"
             << "SetStrike"
             << "Reset eror"
             << "Begin print";
    for (int k = 0; k < 101; ++k) // the estimate's link timing
        expected << "Hi";
    EXPECT_EQ(jobStartCommands().join('|').toStdString(), expected.join('|').toStdString());
    // The device holds the first pass's forces ("8" first) and is homed.
    const sim::MachineState& machine = engraver->machine();
    EXPECT_EQ(machine.profile.force(0), work.spec.first.level8);
    EXPECT_EQ(machine.profile.force(3), work.spec.first.level32);
    EXPECT_EQ(machine.strikeT, 46);
    EXPECT_EQ(machine.strikeU, 64);
    EXPECT_EQ(machine.head, sim::HeadPosition{});
    EXPECT_EQ(engraver->counters().violationCount, 0);

    EXPECT_TRUE(program.timers.optimizing);
    EXPECT_FALSE(program.timers.timer4);
    EXPECT_EQ(program.commands.position.row, 0);
    EXPECT_EQ(program.job.planLineCounter, 0);
    EXPECT_EQ(program.job.plan.linesRead(), 0);
    EXPECT_EQ(screen.menuState, MenuState::Work);
    EXPECT_EQ(screen.jobDuration,
              "Длительность работы: " + durationText(result.estimate, QLocale::system()));
    EXPECT_GT(result.estimate, 0);
}

TEST_F(JobStart, LeavesThePlanItsCopyTheRecordAndTheRecoveryFileOfThisJob) {
    work.spec.secondPass = true;
    // An older copy under the name the run opens must not be what the second pass finds.
    {
        QFile stale(file("123Sec.txt"));
        ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
        stale.write("Knock: 4444\r\n");
    }
    const JobStartResult result = startThroughWork();
    ASSERT_TRUE(result.started) << screen.messages.join('|').toStdString();

    // The plan is the builder's plan of the converted picture.
    QTemporaryDir other;
    SilentPlanProgress silent;
    ASSERT_TRUE(buildPlanFiles(program.image.dotImage(), false,
                               {other.filePath("plan.txt"), QString()}, silent)
                    .ok);
    QFile reference(other.filePath("plan.txt"));
    ASSERT_TRUE(reference.open(QIODevice::ReadOnly));
    const QByteArray plan = bytesOf("123123123.txt");
    EXPECT_EQ(plan, reference.readAll());
    EXPECT_EQ(result.planLines, plan.count('\n'));
    EXPECT_TRUE(QFile::exists(file("123Bm.txt")));
    EXPECT_EQ(bytesOf("123sec.txt"), plan);
    EXPECT_FALSE(QFile::exists(file("123Sec.txt")));

    const QStringList recovery = ProgramDir(dir.path()).readLines("ErorFile.txt").lines;
    const QPoint offset = program.image.placement().offset;
    EXPECT_EQ(recovery, (QStringList{file("picture.bmp"), QString::number(offset.x()),
                                     QString::number(offset.y()), "10", "20", "30", "40", "1", "26",
                                     "36", "50", "60", "0"}));
    const ProgressRecord record = readProgressRecord(ProgramDir(dir.path())).record;
    ASSERT_EQ(record.entries.size(), 1u);
    EXPECT_EQ(record.entries[0].pass, 1);
    EXPECT_EQ(record.entries[0].line, ProgressEntry::kNotStarted);
    EXPECT_EQ(record.entries[0].plan, identifyPlanFile(file("123123123.txt")).identity);
    // The estimate counts the plan twice.
    PlanReader reader;
    ASSERT_TRUE(reader.open(file("123123123.txt")));
    const EstimateInputs inputs = estimateInputs(program.commands, offset.x(), offset.y(), true,
                                                 program.exchange.linkActive());
    EXPECT_EQ(result.estimate, estimateJob(reader, inputs).total);
    // Zuk.ini holds the forces the panel set.
    Settings settings;
    EngravingChoices saved;
    ASSERT_TRUE(loadConfiguration(ProgramDir(dir.path()), settings, saved).ok());
    EXPECT_EQ(saved.first, work.spec.first);
    EXPECT_EQ(saved.second, work.spec.second);
    EXPECT_EQ(saved.firstMode, LevelMode::Individual);
}

TEST_F(JobStart, APictureOffTheFieldIsRefusedBeforeAnythingIsSent) {
    work.picture = gradientPicture(QSize(260, 20)); // wider than the field of 210
    const JobStartResult result = startThroughWork();
    ASSERT_EQ(screen.messages.size(), 1);
    EXPECT_TRUE(screen.messages[0].contains("выходит за рабочее поле"));
    expectNothingStarted(result);
    EXPECT_FALSE(traffic.contains("Strike timing T 46"));
    EXPECT_FALSE(QFile::exists(file("123123123.txt")));
}

TEST_F(JobStart, APlanThatCannotBeWrittenStartsNothing) {
    ASSERT_TRUE(QDir(dir.path()).mkdir("123123123.txt"));
    const JobStartResult result = startThroughWork();
    ASSERT_EQ(screen.messages.size(), 1);
    EXPECT_TRUE(screen.messages[0].contains("123123123.txt")) << screen.messages[0].toStdString();
    expectNothingStarted(result);
    EXPECT_FALSE(traffic.contains("Hi"));
}

TEST_F(JobStart, NoPictureIsRefused) {
    expectNothingStarted(startPreparedJob(program));
    EXPECT_EQ(screen.messages, QStringList{noPictureMessage()});
}

// A file of the job that cannot be written: its name is in the message and nothing more is
// sent (the greetings and 'T' and 'U' come before the files).
class JobFileFailure : public JobStart, public ::testing::WithParamInterface<const char*> {};

TEST_P(JobFileFailure, NamesTheFileSendsNothingMoreAndLeavesNoJob) {
    work.spec.secondPass = true;
    ASSERT_TRUE(QDir(dir.path()).mkdir(GetParam()));
    const JobStartResult result = startThroughWork();
    ASSERT_FALSE(screen.messages.isEmpty());
    EXPECT_TRUE(screen.messages.back().contains(GetParam()))
        << screen.messages.back().toStdString();
    expectNothingStarted(result);
    EXPECT_TRUE(traffic.contains("Strike timing U 64"));
}

INSTANTIATE_TEST_SUITE_P(, JobFileFailure,
                         ::testing::Values("123sec.txt", "JobProgress.txt", "ErorFile.txt"),
                         [](const auto& info) {
                             QString name = QString::fromLatin1(info.param);
                             return name.remove('.').toStdString();
                         });

TEST_F(JobStart, OddDensityChoicesGoToTheMotorsAsTheyAreAndIntoTheRecoveryFile) {
    work.placementButton = 1; // "Left Top": the view takes the field as empty at these
    for (const int resolution : {-1, 9}) {
        SCOPED_TRACE(resolution);
        traffic.clear();
        work.spec.resolution = resolution;
        ASSERT_TRUE(startThroughWork().started) << screen.messages.join('|').toStdString();
        const QString setting = QString::number(16 + resolution);
        EXPECT_TRUE(traffic.contains("ProgX_Motor 60 " + setting));
        EXPECT_TRUE(traffic.contains("ProgY_Motor 60 " + setting));
        const RecoveryRead<RecoveryData> read = readRecoveryFile(ProgramDir(dir.path()));
        ASSERT_TRUE(read.ok()) << read.error.toStdString();
        EXPECT_EQ(read.data.resolutionIndex, resolution);
        program.timers.optimizing = false;
    }
}

// The same through a crash: a job started at an odd density is resumed at it.
TEST(JobStartResumed, AtAnOddDensityTheInterruptedJobIsFinishedExactly) {
    EngraverBench bench;
    bench.startProgram();
    WorkJob work{gradientPicture(QSize(36, 20)), Sides::Double, 1, {}};
    work.spec.resolution = 9;
    ASSERT_TRUE(bench.startJobThroughWork(work).started)
        << bench.screen().messages.join('|').toStdString();
    const DotPicture codes = convertedCodes(bench.program().image.dotImage());
    for (int line = 0; line < 12; ++line)
        optimizingTimer(bench.program());
    bench.abandonHost();
    bench.startProgram();
    ASSERT_TRUE(bench.runTimers());
    EXPECT_TRUE(bench.screen().messages.isEmpty())
        << bench.screen().messages.join('|').toStdString();
    EXPECT_EQ(bench.engraver().machine().driverY.timing, 25);
    expectEveryCellStruckOncePerPass(bench, codes, work.spec);
}

// A double-pass job leaves the second-pass-running flag set; the next job in the same run of
// the program is a first pass again.
TEST(JobStartAfterADoublePassJob, TheNextJobRunsAsAFirstPass) {
    EngraverBench bench;
    bench.startProgram();
    WorkJob first{gradientPicture(QSize(30, 16)), Sides::Double, 5, {}};
    first.spec.secondPass = true;
    ASSERT_TRUE(bench.startJobThroughWork(first).started);
    ASSERT_TRUE(bench.runTimers());
    ASSERT_TRUE(bench.program().job.secondPassRunning);

    bench.program().deviceReadyCheck(); // "Тест": the normal end switched the device off
    WorkJob next{gradientPicture(QSize(30, 16)), Sides::Double, 5, {}};
    next.spec.first = {80, 70, 56, 46};
    ASSERT_TRUE(bench.startJobThroughWork(next).started);
    EXPECT_FALSE(bench.program().job.secondPassRunning);
    for (int line = 0; line < 6; ++line)
        optimizingTimer(bench.program());
    EXPECT_EQ(readProgressRecord(bench.program().dir).record.entries.at(0).line, 6);
    const AbortPanelLayout layout = stopClick(bench.program(), true);
    EXPECT_TRUE(layout.firstHalfEnabled);
    EXPECT_FALSE(layout.secondHalfShown);
    continueWork(bench.program());
    EXPECT_EQ(bench.engraver().machine().profile.force(3), 80);
    ASSERT_TRUE(bench.runTimers());
    const PassPlate plate = platePass(bench.engraver().plate(), next.spec, 1);
    EXPECT_EQ(plate.cells,
              expectedPlate(convertedCodes(bench.program().image.dotImage()), next.spec));
    EXPECT_EQ(plate.twice, 0);
}

} // namespace
} // namespace zuk::test
