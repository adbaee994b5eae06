// Whole jobs on the simulated engraver: every cell of the picture struck exactly once per pass
// at its level, and the red marks on the working field exactly where the plate was struck.
#include "EngraverBench.h"

#include <gtest/gtest.h>

namespace zuk::test {
namespace {

struct JobCase {
    Sides sides;
    bool secondPass;
    bool portrait;
    bool builtByTheProgram = false; // the plan builder's plan, else the tests' generator
};

std::string caseName(const ::testing::TestParamInfo<JobCase>& info) {
    const JobCase& c = info.param;
    return std::string(c.sides == Sides::Double ? "DoubleSided" : "SingleSided") +
           (c.secondPass ? "TwoPasses" : "OnePass") + (c.portrait ? "Portrait" : "Text") +
           (c.builtByTheProgram ? "BuiltPlan" : "");
}

// Three regions; the second lies beside the first and starts below its top, the third below
// both, so the head also moves back up (and overshoots) between regions.
const std::vector<PlanRegion> kJobRegions{{2, 9, 2, 30}, {4, 12, 36, 60}, {15, 21, 6, 44}};

class WholeJob : public ::testing::TestWithParam<JobCase> {};

TEST_P(WholeJob, EveryCellStruckOncePerPassAtItsLevelAndTheMarksEqualThePlate) {
    const JobCase& c = GetParam();
    const DotPicture picture = randomPicture(7, kJobRegions);
    JobSpec spec;
    spec.plan = c.builtByTheProgram ? builtPlan(picture, c.sides)
                                    : generatePlan(picture, kJobRegions, c.sides);
    spec.secondPass = c.secondPass;
    spec.portrait = c.portrait;

    EngraverBench bench;
    bench.startProgram();
    bench.startJob(spec);
    ASSERT_TRUE(bench.runTimers());

    const auto expected = expectedPlate(picture, spec);
    ASSERT_GT(expected.size(), 300u);
    expectEveryCellStruckOncePerPass(bench, picture, spec);
    if (!c.secondPass) {
        EXPECT_TRUE(platePass(bench.engraver().plate(), spec, 2).cells.empty());
    }

    std::set<std::pair<qint64, qint64>> struck;
    for (const auto& [cell, code] : expected)
        struck.insert(cell);
    EXPECT_EQ(markedCells(bench.program().image.view().image()), struck);
    // Each repaint covers one row of marks; the second pass changes no pixel and repaints none.
    for (const QRect& part : bench.screen().viewParts)
        EXPECT_EQ(part.height(), 1);
    EXPECT_LE(bench.screen().viewParts.size(), spec.plan.size());

    EXPECT_TRUE(bench.engraver().unexplainedViolations().empty())
        << bench.engraver().unexplainedViolations().front().description.toStdString();
    EXPECT_TRUE(bench.screen().messages.isEmpty())
        << bench.screen().messages.join('|').toStdString();
    EXPECT_FALSE(QFile::exists(bench.file("ErorFile.txt")));
    EXPECT_FALSE(QFile::exists(bench.file("JobProgress.txt")));
    EXPECT_FALSE(bench.engraver().machine().motorsOn);
    EXPECT_EQ(bench.engraver().machine().head, sim::HeadPosition{});
}

INSTANTIATE_TEST_SUITE_P(, WholeJob,
                         ::testing::Values(JobCase{Sides::Double, false, false},
                                           JobCase{Sides::Double, true, true},
                                           JobCase{Sides::Single, false, true},
                                           JobCase{Sides::Single, true, false},
                                           JobCase{Sides::Double, true, true, true},
                                           JobCase{Sides::Single, false, false, true}),
                         caseName);

// The same through the program's own job start: a picture opened and converted, "Гравировка"
// and "Работа"; the plate must hold every cell of the converted picture with a dot value above
// 0, at the placement, once per pass at its level.
struct WorkCase {
    Sides sides;
    bool secondPass;
    bool portrait;
    int placementButton;
};

class WholeJobThroughWork : public ::testing::TestWithParam<WorkCase> {};

TEST_P(WholeJobThroughWork, TheConvertedPictureIsStruckOncePerPassAtItsPlacement) {
    const WorkCase& c = GetParam();
    EngraverBench bench;
    bench.startProgram();
    WorkJob work{gradientPicture(QSize(64, 40)), c.sides, c.placementButton, {}};
    work.spec.secondPass = c.secondPass;
    work.spec.portrait = c.portrait;
    const JobStartResult started = bench.startJobThroughWork(work);
    ASSERT_TRUE(started.started) << bench.screen().messages.join('|').toStdString();
    const DotPicture codes = convertedCodes(bench.program().image.dotImage());
    ASSERT_TRUE(bench.runTimers());

    const auto expected = expectedPlate(codes, work.spec);
    ASSERT_GT(expected.size(), 1000u);
    for (int code = 1; code <= 4; ++code)
        EXPECT_TRUE(std::any_of(expected.begin(), expected.end(),
                                [code](const auto& cell) { return cell.second == code; }))
            << "no cell of level " << code;
    expectEveryCellStruckOncePerPass(bench, codes, work.spec);
    std::set<std::pair<qint64, qint64>> struck;
    for (const auto& [cell, code] : expected)
        struck.insert(cell);
    EXPECT_EQ(markedCells(bench.program().image.view().image()), struck);
    EXPECT_TRUE(bench.engraver().unexplainedViolations().empty());
    EXPECT_TRUE(bench.screen().messages.isEmpty())
        << bench.screen().messages.join('|').toStdString();
    EXPECT_FALSE(QFile::exists(bench.file("ErorFile.txt")));
}

INSTANTIATE_TEST_SUITE_P(, WholeJobThroughWork,
                         ::testing::Values(WorkCase{Sides::Double, false, false, 5},
                                           WorkCase{Sides::Single, false, true, 1},
                                           WorkCase{Sides::Double, true, true, 9},
                                           WorkCase{Sides::Single, true, false, 3}),
                         [](const ::testing::TestParamInfo<WorkCase>& info) {
                             const WorkCase& c = info.param;
                             return std::string(c.sides == Sides::Double ? "DoubleSided"
                                                                         : "SingleSided") +
                                    (c.secondPass ? "TwoPasses" : "OnePass") +
                                    (c.portrait ? "Portrait" : "Text") + "Place" +
                                    std::to_string(c.placementButton);
                         });

} // namespace
} // namespace zuk::test
