// zuk-batch preview: the plate of the job engrave would run, written as a PNG, the estimate
// and the modelled time; nothing sent to the port Zuk.ini names, nothing in DIR changed.
#include "BatchJobs.h"

#include "app/ProgramDir.h"
#include "app/Settings.h"
#include "image/FieldView.h"
#include "support/BatchRun.h"
#include "support/PseudoTerminal.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <map>

namespace zuk::test {
namespace {

BatchRun preview(const JobDirectory& job, QStringList options) {
    return runBatch(QStringList{"preview", job.picture, "--dir", job.dir.path()} + options);
}

// Zuk.ini naming `port`, on a field of `field` cells.
void configure(const JobDirectory& job, const QString& port, QSize field) {
    Settings settings;
    settings.portName = port;
    settings.fieldWidth = field.width();
    settings.fieldHeight = field.height();
    ASSERT_TRUE(saveConfiguration(ProgramDir(job.dir.path()), settings, EngravingChoices{}).ok());
}

std::map<QString, QByteArray> directoryFiles(const QString& path) {
    std::map<QString, QByteArray> files;
    const QDir dir(path);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden)) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        files[name] = file.readAll();
    }
    return files;
}

TEST(PreviewCommand, HelpDescribesTheChoicesThePlateAndTheExitStatuses) {
    const BatchRun run = runBatch({"preview", "--help"});
    EXPECT_EQ(run.exitCode, 0);
    for (const char* text :
         {"usage: zuk-batch preview", "--out", "--dir", "--second-pass", "--levels", "Exit status"})
        EXPECT_TRUE(run.out.contains(text)) << text;
    EXPECT_TRUE(runBatch({"--help"}).out.contains("zuk-batch preview"));
}

TEST(PreviewCommand, BadCommandLinesAreRefusedWithOneLineAndStatusTwo) {
    const JobDirectory job;
    const QString out = job.file("plate.png");
    const std::vector<QStringList> bad{
        {"preview", job.picture},                                  // no --out
        {"preview", "--out", out},                                 // no picture
        {"preview", job.picture, job.picture, "--out", out},       // two pictures
        {"preview", job.picture, "--out", out, "--port", "sim"},   // never on a port
        {"preview", job.picture, "--out", out, "--levels", "201"}, // above the trackbar
        {"preview", job.picture, "--out", out, "--second-levels", "30"},
        {"preview", job.picture, "--out", out, "--mode", "triple"},
        {"preview", job.picture, "--out"},
        {"preview", job.picture, "--out", out, "--rotate", "45"}, // not a quarter turn
    };
    for (const QStringList& args : bad) {
        const BatchRun run = runBatch(args);
        EXPECT_EQ(run.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
    }
    EXPECT_FALSE(QFile::exists(out));
}

TEST(PreviewCommand, WhatCannotBeDoneEndsWithStatusOneAndNoPlate) {
    const JobDirectory job;
    const QString out = job.file("plate.png");
    const BatchRun missing =
        runBatch({"preview", job.file("none.bmp"), "--dir", job.dir.path(), "--out", out});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains("none.bmp")) << missing.err.toStdString();
    EXPECT_EQ(
        runBatch({"preview", job.picture, "--dir", job.file("nowhere"), "--out", out}).exitCode, 1);
    const BatchRun nowhere = preview(job, {"--out", job.file("no-folder/plate.png")});
    EXPECT_EQ(nowhere.exitCode, 1);
    EXPECT_TRUE(nowhere.err.contains("no-folder")) << nowhere.err.toStdString();

    // The picture (40 x 24) does not fit a field of 20 x 10 (30 x 20 with the view's border):
    // refused as "Работа" refuses it.
    configure(job, QStringLiteral("sim"), QSize(20, 10));
    const BatchRun off = preview(job, {"--out", out});
    EXPECT_EQ(off.exitCode, 1);
    EXPECT_TRUE(off.err.contains("Рисунок выходит за рабочее поле")) << off.err.toStdString();
    EXPECT_FALSE(QFile::exists(out));
}

TEST(PreviewCommand, WritesThePlateAndBothTimesWithoutTouchingThePortOrTheDirectory) {
    const JobDirectory job;
    PseudoTerminal terminal;
    ASSERT_FALSE(terminal.path().isEmpty());
    terminal.makeNonBlocking();
    configure(job, terminal.path(), QSize(120, 80));
    const std::map<QString, QByteArray> before = directoryFiles(job.dir.path());
    const QTemporaryDir outDir;
    const QString out = outDir.filePath("plate.png");

    // The picture (40 x 24) turned a quarter and made 20 dots wide: 20 x 33.
    const BatchRun run =
        runBatch({"preview", job.picture, "--dir", job.dir.path(), "--out", out, "--second-pass",
                  "--place", "1", "--rotate", "90", "--width", "20"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QRegularExpression("plan: [0-9]+ lines, run in both passes")))
        << run.out.toStdString();
    const QRegularExpressionMatch estimate =
        QRegularExpression("estimate: [0-9:]+ \\(T ([0-9]+) in 10-µs units\\)").match(run.out);
    ASSERT_TRUE(estimate.hasMatch()) << run.out.toStdString();
    EXPECT_GT(estimate.captured(1).toLongLong(), 0);
    EXPECT_TRUE(run.out.contains(QRegularExpression(
        "modelled: [0-9:]+ on the simulated engraver \\([+-][0-9.]+ % against the estimate\\)")))
        << run.out.toStdString();

    // "Left Top": the prepared picture's cells from the field's corner, nothing elsewhere; the
    // preparation is not remembered in the directory.
    const QImage plate(out);
    ASSERT_EQ(plate.size(), FieldView(QSize(120, 80)).image().size());
    int struck = 0;
    for (int y = 0; y < plate.height(); ++y)
        for (int x = 0; x < plate.width(); ++x) {
            const int grey = qGray(plate.pixel(x, y));
            if (grey == 0)
                continue;
            ++struck;
            EXPECT_TRUE(x < 20 && y < 33) << x << ", " << y;
            EXPECT_TRUE(grey == 64 || grey == 128 || grey == 192 || grey == 255) << grey;
        }
    EXPECT_GT(struck, 200);
    EXPECT_TRUE(run.out.contains(QStringLiteral("plate: %1 (%2 x %3 cells)")
                                     .arg(QDir::toNativeSeparators(out))
                                     .arg(plate.width())
                                     .arg(plate.height())))
        << run.out.toStdString();

    EXPECT_EQ(directoryFiles(job.dir.path()), before);
    char byte = 0;
    EXPECT_EQ(::read(terminal.masterFd(), &byte, 1), -1) << "a byte reached the port";
}

} // namespace
} // namespace zuk::test
