// zuk-batch material: a profile saved, listed, and engraved with against zuk-devsim, where
// every strike carries the profile's forces; options given with it override it.
#include "BatchJobs.h"

#include "simulator/Devsim.h"
#include "support/BatchRun.h"

#include <QFile>

#include <gtest/gtest.h>

namespace zuk::test {
namespace {

BatchRun material(const JobDirectory& job, const QStringList& args) {
    return runBatch(QStringList{"material"} + args + QStringList{"--dir", job.dir.path()});
}

TEST(MaterialCommand, ASavedProfileGivesTheDeviceItsForcesAndOptionsOverrideIt) {
    const JobDirectory job;
    const BatchRun saved = material(job, {"save", "Гранит", "--levels", "48,36,24,12", "--mode",
                                          "single", "--text", "--gamma", "1.5"});
    ASSERT_EQ(saved.exitCode, 0) << saved.err.toStdString();
    const BatchRun listed = material(job, {"list"});
    EXPECT_EQ(listed.out, "Гранит: levels=48,36,24,12, second-levels=1, mode=single, "
                          "second-pass=no, text=yes, gamma=1.5\n");

    sim::test::Devsim devsim;
    ASSERT_TRUE(devsim.start({"--speed", "100", "--csv", job.file("strikes.csv")}))
        << devsim.errors().toStdString();
    BatchProcess engrave({"engrave", job.picture, "--port", devsim.terminal(), "--dir",
                          job.dir.path(), "--material", "гранит", "--place", "1"});
    ASSERT_EQ(engrave.finish(), 0) << engrave.err().toStdString();
    EXPECT_TRUE(engrave.out().contains("single-sided, text")) << engrave.out().toStdString();
    ASSERT_EQ(devsim.stop(), 0);
    const StruckCells plan = planStrikes(job.file("123123123.txt"));
    const DeviceStrikes struck = strikesWithForces(job.file("strikes.csv"), {12, 24, 36, 48});
    ASSERT_FALSE(plan.empty());
    EXPECT_EQ(struck.cells, plan);
    QFile csv(job.file("strikes.csv"));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_EQ(csv.readAll().count('\n'), qsizetype(plan.size()) + 1) << "a strike of other force";

    // Given options win over the profile's; the rest stays the profile's.
    const BatchRun overridden =
        runBatch({"engrave", job.picture, "--port", "sim", "--virtual-time", "--dir",
                  job.dir.path(), "--material", "Гранит", "--levels", "30", "--mode", "double"});
    ASSERT_EQ(overridden.exitCode, 0) << overridden.err.toStdString();
    EXPECT_TRUE(overridden.out.contains("double-sided, text\nlevels: \"32\" 30, \"24\" 20, "))
        << overridden.out.toStdString();

    for (const auto& [args, status] : std::vector<std::pair<QStringList, int>>{
             {{"engrave", job.picture, "--port", "sim", "--material", "Мрамор"}, 1},
             {{"material", "delete", "Мрамор"}, 1},
             {{"material", "save"}, 2},
             {{"material", "save", "Гранит", "--width", "300"}, 2},
             {{"material", "copy", "Гранит"}, 2},
             {{"material", "delete", "Гранит"}, 0}}) {
        const BatchRun run = runBatch(args + QStringList{"--dir", job.dir.path()});
        EXPECT_EQ(run.exitCode, status) << args.join(' ').toStdString() << run.err.toStdString();
    }
    EXPECT_TRUE(material(job, {"list"}).out.isEmpty());
}

} // namespace
} // namespace zuk::test
