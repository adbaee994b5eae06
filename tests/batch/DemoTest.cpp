// The headless demo of ./run (scripts/demo) on a small sample picture: the job through
// zuk-batch engrave on the built-in engraver, the plate PNG against the plan, the sample
// picture's determinism, and a demo interrupted the time before.
#include "BatchJobs.h"

#include "app/ProgramDir.h"
#include "support/BatchRun.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>

namespace zuk::test {
namespace {

const QString kScripts = QStringLiteral(ZUK_SOURCE_DIR "/scripts");
const QString kSmallSize = QStringLiteral("48x32");

ProgramRun runDemo(const QString& directory, const QStringList& more = {}) {
    return runProgram(
        kScripts + "/demo",
        QStringList{"--build", ZUK_BINARY_DIR, "--dir", directory, "--size", kSmallSize} + more);
}

QByteArray samplePicture(const QString& path, const QString& size) {
    const ProgramRun run = runProgram(kScripts + "/sample-picture", {path, "--size", size});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The placement the job line names: "... at column C, row R, ...".
QPoint placementIn(const QString& out) {
    const QRegularExpressionMatch match =
        QRegularExpression("at column (\\d+), row (\\d+)").match(out);
    EXPECT_TRUE(match.hasMatch()) << out.toStdString();
    return {match.captured(1).toInt(), match.captured(2).toInt()};
}

// The cells the plate shows struck, with the level its shade stands for.
StruckCells plateCells(const QImage& plate) {
    StruckCells cells;
    for (int y = 0; y < plate.height(); ++y)
        for (int x = 0; x < plate.width(); ++x)
            if (const int grey = qGray(plate.pixel(x, y)); grey > 0)
                cells[{y, x}] = grey == 255 ? 4 : grey / 64;
    return cells;
}

TEST(Demo, EngravesTheSamplePictureAndItsPlateShowsEveryStrikeOfThePlan) {
    QTemporaryDir dir;
    const ProgramRun run = runDemo(dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString() << run.out.toStdString();
    const QString picture = dir.filePath("sample.bmp");
    const QString plate = dir.filePath("sample-plate.png");
    for (const QString& expected :
         {QString("estimate: "), QString("finished: "), QString("strikes: "),
          "demo: the picture: " + picture, "demo: the engraved plate: " + plate})
        EXPECT_TRUE(run.out.contains(expected)) << expected.toStdString() << "\n"
                                                << run.out.toStdString();

    const StruckCells planned = planStrikes(dir.filePath("123123123.txt"), placementIn(run.out));
    std::array<int, 4> byLevel{};
    for (const auto& [cell, code] : planned)
        ++byLevel[code - 1];
    for (int code = 1; code <= 4; ++code)
        EXPECT_GT(byLevel[code - 1], 0) << "the sample shows no level of code " << code;
    const QImage image(plate);
    ASSERT_FALSE(image.isNull()) << plate.toStdString();
    EXPECT_EQ(plateCells(image), planned);
    // The job ended: nothing is left for a resumption.
    EXPECT_FALSE(QFile::exists(dir.filePath("ErorFile.txt")));
}

TEST(Demo, TheSamplePictureIsTheSameBytesEveryTimeAndHasTheSizeAsked) {
    QTemporaryDir dir;
    const QByteArray first = samplePicture(dir.filePath("a.bmp"), "60x40");
    EXPECT_EQ(samplePicture(dir.filePath("b.bmp"), "60x40"), first);
    const QImage picture(dir.filePath("a.bmp"));
    EXPECT_EQ(picture.size(), QSize(60, 40));
    // Black (no strike) and white (the strongest level) are both in it.
    EXPECT_EQ(qGray(picture.pixel(0, 0)), 0);
    EXPECT_EQ(qGray(picture.pixel(59, 39)), 255);
    EXPECT_NE(samplePicture(dir.filePath("c.bmp"), "61x40").size(), first.size());
    for (const QStringList& bad : {QStringList{}, QStringList{"x.bmp", "--size", "3x3"},
                                   QStringList{"x.bmp", "--size", "wide"}}) {
        const ProgramRun run = runProgram(kScripts + "/sample-picture", bad);
        EXPECT_EQ(run.exitCode, 2) << bad.join(' ').toStdString();
        EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
    }
}

// Interrupts zuk-batch engrave of `picture` in `directory` a second or more into the job;
// its output.
QString interruptedEngraving(const QString& picture, const QString& directory) {
    BatchProcess batch(
        {"engrave", picture, "--dir", directory, "--port", "sim", "--sim-speed", "20"});
    EXPECT_TRUE(batch.waitForOutput("pass 1, line")) << batch.err().toStdString();
    batch.signal(SIGINT);
    EXPECT_EQ(batch.finish(), 3) << batch.err().toStdString();
    return batch.out();
}

TEST(Demo, ItsOwnJobInterruptedLastTimeStartsAgainAndAnotherJobIsKept) {
    QTemporaryDir dir;
    ASSERT_FALSE(samplePicture(dir.filePath("sample.bmp"), kSmallSize).isEmpty());
    const QString interrupted = interruptedEngraving(dir.filePath("sample.bmp"), dir.path());
    // A progress line comes a second into the job at the earliest: with half the lines or
    // more still to do, a second or more is left whatever the estimate said.
    const QRegularExpressionMatch progress =
        QRegularExpression(
            "pass 1, line [\\d\\x{00a0}]+, ([0-9.]+) %, elapsed \\S+, remaining (\\S+)")
            .match(interrupted);
    ASSERT_TRUE(progress.hasMatch()) << interrupted.toStdString();
    if (progress.captured(1).toDouble() <= 50.0) {
        EXPECT_NE(progress.captured(2), "00:00:00") << interrupted.toStdString();
    }

    const ProgramRun again = runDemo(dir.path());
    ASSERT_EQ(again.exitCode, 0) << again.err.toStdString() << again.out.toStdString();
    EXPECT_TRUE(again.out.contains("demo: the demo job interrupted last time starts again"))
        << again.out.toStdString();
    EXPECT_TRUE(again.out.contains("finished: ")) << again.out.toStdString();
    EXPECT_TRUE(QFile::exists(dir.filePath("sample-plate.png")));
    EXPECT_FALSE(QFile::exists(dir.filePath("JobProgress.txt")));

    // The unfinished job of another picture stays for zuk-batch resume.
    ASSERT_FALSE(samplePicture(dir.filePath("other.bmp"), kSmallSize).isEmpty());
    interruptedEngraving(dir.filePath("other.bmp"), dir.path());
    const QString recovery = ProgramDir(dir.path()).readLines("ErorFile.txt").lines.value(0);
    ASSERT_TRUE(recovery.endsWith("other.bmp")) << recovery.toStdString();
    const ProgramRun refused = runDemo(dir.path());
    EXPECT_EQ(refused.exitCode, 1) << refused.out.toStdString();
    EXPECT_TRUE(refused.err.contains("zuk-batch resume")) << refused.err.toStdString();
    EXPECT_EQ(ProgramDir(dir.path()).readLines("ErorFile.txt").lines.value(0), recovery);
    EXPECT_TRUE(QFile::exists(dir.filePath("JobProgress.txt")));
}

TEST(Demo, BadUsageAndAMissingBuildAreRefused) {
    EXPECT_EQ(runProgram(kScripts + "/demo", {"--colour"}).exitCode, 2);
    QTemporaryDir dir;
    const ProgramRun noBuild =
        runProgram(kScripts + "/demo", {"--build", dir.filePath("none"), "--dir", dir.path()});
    EXPECT_EQ(noBuild.exitCode, 1);
    EXPECT_TRUE(noBuild.err.contains("no zuk-batch")) << noBuild.err.toStdString();
    const ProgramRun help = runProgram(kScripts + "/demo", {"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains("--size WxH")) << help.out.toStdString();
}

TEST(EngraveCommand, PlateIsForTheBuiltInEngraverOnly) {
    const JobDirectory job;
    const BatchRun run = runBatch({"engrave", job.picture, "--port", "com1", "--dir",
                                   job.dir.path(), "--plate", job.file("plate.png")});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains("--plate")) << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(job.file("plate.png")));
}

TEST(EngraveCommand, APlateThatCannotBeWrittenFailsTheCommandAfterTheJob) {
    const JobDirectory job;
    const BatchRun run =
        runBatch({"engrave", job.picture, "--port", "sim", "--virtual-time", "--dir",
                  job.dir.path(), "--plate", job.file("no-such-folder/plate.png")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.contains("finished: ")) << run.out.toStdString();
    EXPECT_TRUE(run.err.contains("plate.png")) << run.err.toStdString();
}

} // namespace
} // namespace zuk::test
