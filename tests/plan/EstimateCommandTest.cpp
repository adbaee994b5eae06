#include "device/CommandSet.h"
#include "support/BatchRun.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zuk {
namespace {

using test::BatchRun;
using test::runBatch;

// A plan written by hand, with its cost worked out for k = 29.25 and a link delay of 400:
//   GoTo 2 3     400 + trunc(29.25 × 4) = 517,  400 + trunc(29.25 × 3) = 487
//   Down         400
//   Knock 1204   codes 1, 2, 0, 4 (the trailing zeros dropped); the head ends at column 7
//   Up           400
//   GoTo 1 1     400 + trunc(29.25 × 2) = 458,  2 × 400 + trunc(29.25 × 6) = 975
//   KBack 3      code 3
const QByteArray kPlan = "GoTo:      2     3\r\n"
                         "Down: \r\n"
                         "Knock: 1204000\r\n"
                         "Up  : \r\n"
                         "\r\n"
                         "GoTo:      1     1\r\n"
                         "KBack: 30\r\n";

class EstimateCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        QFile file(plan());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(kPlan);
    }
    QString plan() const { return dir.filePath("plan.txt"); }
    // The strikes of the plan as SetStrike times them.
    static qint64 strikes(const StrikeProfile& p) {
        return p.strikeDurations[0] + p.strikeDurations[1] + p.stepDuration + p.strikeDurations[3] +
               p.strikeDurations[2];
    }
    static QString firstLine(const BatchRun& run) { return run.out.section('\n', 0, 0); }

    QTemporaryDir dir;
};

TEST_F(EstimateCommandTest, DefaultsAreThoseOfAJobStart) {
    const StrikeProfile profile = computeStrikeProfile({14, 10, 5, 2}, 12, 1, 64, 46);
    const BatchRun run = runBatch({"estimate", plan()});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const qint64 t = 517 + 487 + 400 + 400 + 458 + 975 + strikes(profile);
    EXPECT_EQ(firstLine(run), QStringLiteral("T %1").arg(t));
    EXPECT_EQ(run.out.section('\n', 1, 1), "00:00:00");
}

TEST_F(EstimateCommandTest, EveryInputChangesTheEstimateAsTheJobStartWould) {
    const StrikeProfile profile = computeStrikeProfile({40, 30, 20, 10}, 20, 3, 50, 40);
    // k = 20 × 3 × 2.4375 = 146.25, link delay 100, offsets 5 columns and 2 rows:
    //   GoTo (4, 8)   100 + trunc(146.25 × 8) = 1270,  100 + trunc(146.25 × 8) = 1270
    //   GoTo (3, 6)   100 + trunc(146.25 × 2) = 392,   2 × 100 + trunc(146.25 × 6) = 1077
    const QStringList options{"--link-delay",
                              "100",
                              "--step-factor=20",
                              "--motor-p",
                              "3",
                              "--levels",
                              "10,20,30,40",
                              "--u",
                              "50",
                              "--t",
                              "40",
                              "--col-offset",
                              "5",
                              "--row-offset",
                              "2"};
    const qint64 once = 1270 + 1270 + 100 + 100 + 392 + 1077 + strikes(profile);
    BatchRun run = runBatch(QStringList{"estimate", plan()} + options);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(firstLine(run), QStringLiteral("T %1").arg(once));

    run = runBatch(QStringList{"estimate", plan(), "--second-pass"} + options);
    EXPECT_EQ(firstLine(run), QStringLiteral("T %1").arg(2 * once));

    run = runBatch(QStringList{"estimate", "--link-inactive", plan()} + options);
    EXPECT_EQ(firstLine(run), QStringLiteral("T %1").arg(100 + 100 + strikes(profile)));
}

TEST_F(EstimateCommandTest, ALongJobShowsHoursPast23) {
    QFile file(plan());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("GoTo:  30000 30000\r\n");
    file.close();
    // 400 + 9 509 906 250 and 400 + 4 754 953 125 units: 39 h 37 min 28 s.
    const BatchRun run = runBatch({"estimate", plan(), "--step-factor", "255", "--motor-p", "255"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, "T 14264860175\n39:37:28\n");
}

TEST_F(EstimateCommandTest, BadArgumentsAndBadPlansFailWithOneLine) {
    for (const QStringList& args :
         {QStringList{"estimate"}, QStringList{"estimate", plan(), "--levels", "1,2,3"},
          QStringList{"estimate", plan(), "--step-factor", "256"},
          QStringList{"estimate", plan(), "--motor-p"}, QStringList{"estimate", plan(), "--fast"},
          QStringList{"estimate", plan(), plan()}}) {
        const BatchRun run = runBatch(args);
        EXPECT_EQ(run.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
    }
    BatchRun run = runBatch({"estimate", dir.filePath("missing.txt")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("missing.txt"));

    QFile file(plan());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Down: \r\nKnock: 19\r\n");
    file.close();
    run = runBatch({"estimate", plan()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("строка 2")) << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty());

    run = runBatch({"estimate", "--help"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.contains("--link-inactive"));
}

} // namespace
} // namespace zuk
