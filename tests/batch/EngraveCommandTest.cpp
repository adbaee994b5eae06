// zuk-batch engrave and resume on the built-in engraver: the command line, a whole job on
// virtual time, the choices of the properties panel, and a termination signal during a run.
#include "BatchJobs.h"

#include "app/CountText.h"
#include "app/ProgramDir.h"
#include "journal/JournalFile.h"
#include "plan/StrikeLevelRules.h"
#include "support/BatchRun.h"

#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <csignal>

namespace zuk::test {
namespace {

BatchRun engrave(const JobDirectory& job, QStringList options) {
    return runBatch(QStringList{"engrave", job.picture, "--dir", job.dir.path()} + options);
}

TEST(EngraveCommand, HelpDescribesTheChoicesTheLineAndTheExitStatuses) {
    for (const char* command : {"engrave", "resume"}) {
        const BatchRun run = runBatch({command, "--help"});
        EXPECT_EQ(run.exitCode, 0) << command;
        for (const char* text : {"--port", "--dir", "--virtual-time", "--sim-speed", "Exit status"})
            EXPECT_TRUE(run.out.contains(text) || QString(command) == "resume")
                << command << " " << text;
        EXPECT_TRUE(run.out.contains("usage: zuk-batch " + QString(command))) << command;
    }
    EXPECT_TRUE(runBatch({"resume", "--help"}).out.contains("--warm-up"));
    EXPECT_TRUE(runBatch({"engrave", "--help"}).out.contains("as the trackbar sets them"));
}

// The operator who moves "32" to 14 in group setting gets 14, 10, 6, 1 (the trackbar's rule),
// not the 14, 10, 5, 2 of selecting group setting that a new Zuk.ini holds: so does --levels.
TEST(EngraveCommand, OneForceIsWhatMovingTheStrongestTrackbarGivesInTheWindow) {
    const JobDirectory job;
    const BatchRun run = engrave(job, {"--port", "sim", "--virtual-time", "--levels", "14"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains("levels: \"32\" 14, \"24\" 10, \"16\" 6, \"8\" 1\n"))
        << run.out.toStdString();
    const QStringList ini = ProgramDir(job.dir.path()).readLines("Zuk.ini").lines;
    EXPECT_EQ(ini.mid(0, 5),
              (QStringList{"Group", "KnKHel4-14", "KnKHel3-10", "KnKHel2-6", "KnKHel1-1"}));
}

TEST(EngraveCommand, BadCommandLinesAreRefusedWithOneLineAndStatusTwo) {
    const JobDirectory job;
    const std::vector<QStringList> bad{
        {"engrave", job.picture},                                     // no port
        {"engrave", "--port", "sim"},                                 // no picture
        {"engrave", job.picture, "--port", "sim", "--levels", "0"},   // below the trackbar
        {"engrave", job.picture, "--port", "sim", "--levels", "9,8"}, // neither one nor four
        {"engrave", job.picture, "--port", "sim", "--second-levels", "30"},
        {"engrave", job.picture, "--port", "com1", "--virtual-time"},
        {"engrave", job.picture, "--port", "sim", "--virtual-time", "--sim-speed", "4"},
        {"engrave", job.picture, "--port", "sim", "--density", "9"},
        {"engrave", job.picture, "--port", "sim", "--place", "0"},
        {"engrave", job.picture, "--port", "sim", "--colour"},
        {"resume", "--port", "sim", "--warm-up", "6"},
        {"resume", "--port", "sim", "extra"},
    };
    for (const QStringList& args : bad) {
        const BatchRun run = runBatch(args);
        EXPECT_EQ(run.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
    }
}

TEST(EngraveCommand, WhatCannotBeDoneEndsWithStatusOne) {
    const JobDirectory job;
    const BatchRun missingPicture = runBatch({"engrave", job.file("none.bmp"), "--port", "sim",
                                              "--dir", job.dir.path(), "--virtual-time"});
    EXPECT_EQ(missingPicture.exitCode, 1);
    EXPECT_TRUE(missingPicture.err.contains("none.bmp")) << missingPicture.err.toStdString();
    EXPECT_EQ(
        runBatch({"engrave", job.picture, "--port", "sim", "--dir", job.file("nowhere")}).exitCode,
        1);
    const BatchRun noJob = runBatch({"resume", "--port", "sim", "--dir", job.dir.path()});
    EXPECT_EQ(noJob.exitCode, 1);
    EXPECT_TRUE(noJob.err.contains("no unfinished job")) << noJob.err.toStdString();
    const BatchRun noDevice = engrave(job, {"--port", job.file("no-such-terminal")});
    EXPECT_EQ(noDevice.exitCode, 1);
    EXPECT_TRUE(noDevice.err.contains("does not answer")) << noDevice.err.toStdString();
}

TEST(EngraveCommand, AWholeJobOnVirtualTimeWithItsEstimateAndSummary) {
    const JobDirectory job;
    const BatchRun run =
        engrave(job, {"--port", "sim", "--virtual-time", "--levels", "40,30,20,10", "--second-pass",
                      "--second-levels", "30", "--mode", "single", "--text", "--place", "1"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    const QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 7) << run.out.toStdString();
    EXPECT_TRUE(lines[0].contains("at column 0, row 0") && lines[0].contains("single-sided") &&
                lines[0].contains("text"))
        << lines[0].toStdString();
    // Four forces set one by one; one force is "32" moved in group setting, the others by the
    // trackbar's rule, as in the window.
    const StrikeLevels derived = groupLevelsFromTrackbar(30);
    EXPECT_EQ(lines[1], QString("levels: \"32\" 40, \"24\" 30, \"16\" 20, \"8\" 10; second pass "
                                "\"32\" 30, \"24\" %1, \"16\" %2, \"8\" %3")
                            .arg(derived.level24)
                            .arg(derived.level16)
                            .arg(derived.level8));
    EXPECT_TRUE(lines[3].startsWith("estimate: ")) << lines[3].toStdString();

    // The summary: every line of both passes, the plan's strikes twice.
    const StruckCells plan = planStrikes(job.file("123123123.txt"));
    const qint64 planLines = ProgramDir(job.dir.path()).readLines("123123123.txt").lines.size();
    // Counts are grouped the Russian way ("1 234").
    EXPECT_TRUE(run.out.contains(
        QString("finished: %1 of %1 lines, 2 passes").arg(countText(2 * planLines))))
        << run.out.toStdString();
    std::array<int, 4> byLevel{};
    for (const auto& [cell, code] : plan)
        ++byLevel[code - 1];
    EXPECT_TRUE(run.out.contains(
        QString("strikes: \"8\" %1, \"16\" %2, \"24\" %3, \"32\" %4 (%5 in "
                "all)")
            .arg(countText(2 * byLevel[0]), countText(2 * byLevel[1]), countText(2 * byLevel[2]),
                 countText(2 * byLevel[3]), countText(2 * qint64(plan.size())))))
        << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(QRegularExpression("time: .* elapsed, estimated ")));
    // The host's time leaves the engraver's out of the whole process's, never below nothing.
    const QRegularExpressionMatch host =
        QRegularExpression("host: ([0-9.]+) s processor time \\(of ([0-9.]+) s for the whole "
                           "process\\), .* % of the device's .* \\(modelled\\), in .* real time")
            .match(run.out);
    ASSERT_TRUE(host.hasMatch()) << run.out.toStdString();
    EXPECT_LE(host.captured(1).toDouble(), host.captured(2).toDouble());
    EXPECT_TRUE(run.out.contains(
        QRegularExpression("host real time: [0-9.]+ s, [0-9.]+ % of the device's")))
        << run.out.toStdString();
    // The job has ended normally; Zuk.ini keeps its own port.
    EXPECT_FALSE(QFile::exists(job.file("ErorFile.txt")));
    EXPECT_FALSE(QFile::exists(job.file("JobProgress.txt")));
    EXPECT_EQ(ProgramDir(job.dir.path()).readLines("Zuk.ini").lines.value(10), "com1");
}

TEST(EngraveCommand, AnUnfinishedJobInTheDirectoryIsNotOverwritten) {
    const JobDirectory job;
    QFile recovery(job.file("ErorFile.txt"));
    ASSERT_TRUE(recovery.open(QIODevice::WriteOnly));
    recovery.write("pic.bmp\r\n0\r\n0\r\n2\r\n5\r\n10\r\n14\r\n0\r\n2\r\n5\r\n10\r\n14\r\n0\r\n");
    recovery.close();
    const BatchRun run = engrave(job, {"--port", "sim", "--virtual-time"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("zuk-batch resume")) << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(job.file("123123123.txt")));
}

// The strikes the built-in engraver reports in the plate line "plate: … (N strikes)".
qint64 plateStrikes(const QString& out) {
    const QRegularExpressionMatch match =
        QRegularExpression("\\((\\d[^()]*) strikes\\)").match(out);
    return match.hasMatch() ? match.captured(1).remove(QRegularExpression("\\D")).toLongLong() : -1;
}

TEST(EngraveCommand, ATerminationSignalStopsAndFinishesTheRunAndKeepsTheJobAndTheJournalHasBoth) {
    const JobDirectory job;
    const BatchRun finished =
        engrave(job, {"--port", "sim", "--virtual-time", "--plate", job.file("whole.png")});
    ASSERT_EQ(finished.exitCode, 0) << finished.err.toStdString();
    // In real time, the engraver 20 times faster: the job lasts some seconds.
    BatchProcess batch({"engrave", job.picture, "--dir", job.dir.path(), "--port", "sim",
                        "--sim-speed", "20", "--plate", job.file("part.png")});
    ASSERT_TRUE(batch.waitForOutput("pass 1, line")) << batch.err().toStdString();
    batch.signal(SIGINT);
    EXPECT_EQ(batch.finish(), 3) << batch.err().toStdString();
    EXPECT_TRUE(batch.err().contains("interrupted: STOP and \"Завершить работу\""))
        << batch.err().toStdString();
    EXPECT_TRUE(batch.out().contains("not finished: ")) << batch.out().toStdString();
    EXPECT_TRUE(QFile::exists(job.file("ErorFile.txt")));
    EXPECT_TRUE(QFile::exists(job.file("JobProgress.txt")));

    // One record each, the strikes by level as the device struck them.
    const JournalRead journal = readJournal(job.file("Journal.csv"));
    ASSERT_EQ(journal.records.size(), 2u);
    EXPECT_TRUE(journal.damagedLines.isEmpty());
    const JournalRecord& whole = journal.records[0];
    const JournalRecord& part = journal.records[1];
    EXPECT_EQ(whole.outcome, JournalOutcome::Finished);
    EXPECT_EQ(part.outcome, JournalOutcome::StoppedAndKept);
    StrikeCounts planByCode{};
    for (const auto& [cell, code] : planStrikes(job.file("123123123.txt")))
        ++planByCode[std::size_t(code - 1)];
    EXPECT_EQ(whole.strikes, planByCode);
    EXPECT_EQ(whole.strikesInAll(), plateStrikes(finished.out));
    EXPECT_EQ(whole.linesDone, whole.planLines);
    EXPECT_EQ(part.strikesInAll(), plateStrikes(batch.out()));
    EXPECT_LT(part.linesDone, part.planLines);
    for (std::size_t code = 0; code < planByCode.size(); ++code)
        EXPECT_LE(part.strikes[code], planByCode[code]);
    const BatchRun printed = runBatch({"journal", "--dir", job.dir.path()});
    EXPECT_EQ(printed.exitCode, 0);
    EXPECT_TRUE(printed.out.contains(journalOutcomeText(JournalOutcome::StoppedAndKept)) &&
                printed.out.contains(": 2 работы, машинное время "))
        << printed.out.toStdString();
}

} // namespace
} // namespace zuk::test
