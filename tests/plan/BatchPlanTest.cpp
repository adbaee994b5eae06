#include "PlanPictures.h"
#include "RandomPictures.h"
#include "support/BatchRun.h"

#include <QFile>

#include <gtest/gtest.h>

namespace zuk::test {
namespace {

QByteArray contents(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

class BatchPlanTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir->filePath(name); }
    std::unique_ptr<QTemporaryDir> dir = scratchDirectory();
};

TEST_F(BatchPlanTest, WritesThePlanAndTheDumpTheProgramWrites) {
    const QImage image = randomPlanPicture(RandomKind::Blobs, 47, 33, 7);
    ASSERT_TRUE(image.save(path("in.bmp"), "BMP"));
    for (const auto variant : {ConversionVariant::Combined, ConversionVariant::Simple}) {
        for (const bool singleSided : {false, true}) {
            const QString variantName =
                variant == ConversionVariant::Combined ? "combined" : "simple";
            const BatchRun run = runBatch({"plan", path("in.bmp"), "--plan", path("plan.txt"),
                                           "--dump=" + path("dump.txt"), "--variant", variantName,
                                           "--mode", singleSided ? "single" : "double"});
            ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();

            // The core on a freshly started program's tables, as "Открыть" and "Работа" do.
            DotImage picture = convertedPicture(image, variant);
            SilentPlanProgress progress;
            ASSERT_TRUE(buildPlanFiles(picture, singleSided,
                                       {path("core-plan.txt"), path("core-dump.txt")}, progress)
                            .ok);
            const QByteArray plan = contents(path("plan.txt"));
            EXPECT_FALSE(plan.isEmpty());
            EXPECT_EQ(plan, contents(path("core-plan.txt"))) << variantName.toStdString();
            EXPECT_EQ(contents(path("dump.txt")), contents(path("core-dump.txt")));
        }
    }
}

TEST_F(BatchPlanTest, DefaultsAreTheCombinedVariantAndDoubleSidedStrikes) {
    const QImage image = randomPlanPicture(RandomKind::Photo, 30, 20, 3);
    ASSERT_TRUE(image.save(path("in.bmp"), "BMP"));
    ASSERT_EQ(runBatch({"plan", path("in.bmp"), "--plan", path("a.txt")}).exitCode, 0);
    ASSERT_EQ(runBatch({"plan", "--mode=double", "--variant=combined", path("in.bmp"), "--plan",
                        path("b.txt")})
                  .exitCode,
              0);
    EXPECT_EQ(contents(path("a.txt")), contents(path("b.txt")));
    EXPECT_FALSE(QFile::exists(path("123Bm.txt"))); // no dump unless asked for
}

TEST_F(BatchPlanTest, MistakesAndBadFilesGetAMessageAndTheirExitStatus) {
    const QString out = path("p.txt");
    for (const QStringList& args :
         {QStringList{"plan"}, QStringList{"plan", "a.bmp"}, QStringList{"plan", "--plan", out},
          QStringList{"plan", "a.bmp", "b.bmp", "--plan", out},
          QStringList{"plan", "a.bmp", "--plan", out, "--mode", "triple"},
          QStringList{"plan", "a.bmp", "--plan", out, "--variant=x"},
          QStringList{"plan", "a.bmp", "--plan"}, QStringList{"plan", "a.bmp", "--size", "3"}}) {
        const BatchRun run = runBatch(args);
        EXPECT_EQ(run.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
    }
    QFile text(path("notes.bmp"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a picture");
    text.close();
    const BatchRun bad = runBatch({"plan", path("notes.bmp"), "--plan", out});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_TRUE(bad.err.contains("notes.bmp"));
    EXPECT_FALSE(QFile::exists(out));

    ASSERT_TRUE(randomPlanPicture(RandomKind::Noise, 9, 9, 1).save(path("in.bmp"), "BMP"));
    const BatchRun unwritable = runBatch({"plan", path("in.bmp"), "--plan", path("missing/p.txt")});
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_TRUE(unwritable.err.contains("p.txt")) << unwritable.err.toStdString();
}

TEST_F(BatchPlanTest, HelpAndVersion) {
    const BatchRun help = runBatch({"plan", "--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains("--mode double|single"));
    EXPECT_TRUE(runBatch({"--help"}).out.contains("zuk-batch plan"));
    const BatchRun version = runBatch({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(version.out.startsWith("zuk-batch 5.")) << version.out.toStdString();
}

} // namespace
} // namespace zuk::test
