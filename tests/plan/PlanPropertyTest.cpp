#include "PlanPictures.h"
#include "RandomPictures.h"
#include "support/HeadWalk.h"

#include <gtest/gtest.h>

namespace zuk::test {
namespace {

struct PropertyCase {
    RandomKind kind;
    ConversionVariant variant;
};

void PrintTo(const PropertyCase& c, std::ostream* os) {
    *os << (c.kind == RandomKind::Blobs   ? "blobs"
            : c.kind == RandomKind::Noise ? "noise"
                                          : "photo")
        << (c.variant == ConversionVariant::Combined ? " combined" : " simple");
}

bool sameDots(const DotImage& a, const DotImage& b) {
    for (int row = 0; row < a.dots.rows(); ++row)
        for (int column = 0; column < a.dots.cols(); ++column)
            if (a.dots.at(row, column) != b.dots.at(row, column))
                return false;
    return true;
}

class RandomPlans : public ::testing::TestWithParam<PropertyCase> {};

// Random converted pictures in both modes, checked by following each plan as the head does:
// every dot of a picture cell struck exactly once, with its own code, at its own cell.
TEST_P(RandomPlans, EveryDotIsStruckOnceAtTheCellThePlanNames) {
    const auto [kind, variant] = GetParam();
    for (unsigned seed = 1; seed <= 40; ++seed) {
        const int width = 8 + int(seed * 7 % 45);
        const int height = 6 + int(seed * 11 % 40);
        DotImage picture = convertedPicture(randomPlanPicture(kind, width, height, seed), variant);
        const DotImage before = picture;
        for (const bool singleSided : {false, true}) {
            const char* mode = singleSided ? "single" : "double";
            PlanBuildResult result;
            const QByteArray plan = planOf(picture, singleSided, &result);
            ASSERT_TRUE(result.ok)
                << "seed " << seed << ' ' << mode << ": " << result.error.toStdString();
            const QStringList faults = strikeFaults(before, walkPlan(plan));
            EXPECT_TRUE(faults.isEmpty())
                << "seed " << seed << ' ' << mode << ": "
                << faults.mid(0, 5).join(QStringLiteral("; ")).toStdString();
            EXPECT_EQ(result.lines, linesOf(plan).size());
            ASSERT_TRUE(sameDots(picture, before)) << "seed " << seed << ' ' << mode;
            EXPECT_EQ(planOf(picture, singleSided), plan) << "seed " << seed << ' ' << mode;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    KindsAndVariants, RandomPlans,
    ::testing::Values(PropertyCase{RandomKind::Blobs, ConversionVariant::Combined},
                      PropertyCase{RandomKind::Blobs, ConversionVariant::Simple},
                      PropertyCase{RandomKind::Noise, ConversionVariant::Combined},
                      PropertyCase{RandomKind::Noise, ConversionVariant::Simple},
                      PropertyCase{RandomKind::Photo, ConversionVariant::Combined},
                      PropertyCase{RandomKind::Photo, ConversionVariant::Simple}));

// The checker itself: a plan with a strike moved by one cell, a digit dropped or a dot missed
// is caught.
TEST(HeadWalkCheck, CatchesMisplacedMissingAndRepeatedStrikes) {
    DotImage picture = drawnPicture({"......", ".4321.", "......"});
    const QByteArray good = "\r\nGoTo:      2     2\r\nDown: \r\nKnock: 4321\r\nUp  : \r\n";
    EXPECT_TRUE(strikeFaults(picture, walkPlan(good)).isEmpty());
    const QByteArray shifted = "\r\nGoTo:      2     3\r\nDown: \r\nKnock: 4321\r\nUp  : \r\n";
    EXPECT_FALSE(strikeFaults(picture, walkPlan(shifted)).isEmpty());
    const QByteArray dropped = "\r\nGoTo:      2     2\r\nDown: \r\nKnock: 431\r\nUp  : \r\n";
    EXPECT_FALSE(strikeFaults(picture, walkPlan(dropped)).isEmpty());
    const QByteArray backward = "\r\nGoTo:      2     6\r\nDown: \r\nKBack: 1234\r\nUp  : \r\n";
    EXPECT_TRUE(strikeFaults(picture, walkPlan(backward)).isEmpty());
    const QByteArray twice = backward + "GoTo:      2     2\r\nDown: \r\nKnock: 4\r\n";
    EXPECT_FALSE(strikeFaults(picture, walkPlan(twice)).isEmpty());
    const QByteArray raised = "\r\nGoTo:      2     2\r\nKnock: 4321\r\n";
    EXPECT_FALSE(strikeFaults(picture, walkPlan(raised)).isEmpty());
}

} // namespace
} // namespace zuk::test
