#include "PlanPictures.h"
#include "support/HeadWalk.h"

#include <gtest/gtest.h>

namespace zuk::test {
namespace {

constexpr bool kDouble = false;
constexpr bool kSingle = true;

QList<QByteArray> planLines(DotImage picture, bool singleSided) {
    return linesOf(planOf(picture, singleSided));
}

// Four cells of '4': the code the tests use for a run of strongest dots.
std::string fours(int count) {
    return "Knock: " + std::string(std::size_t(count), '4');
}

TEST(PlanBuilder, AnIsolatedCellIsOneRunOfOneDigit) {
    DotImage picture = drawnPicture({"...", ".4.", "..."});
    EXPECT_EQ(planOf(picture, kDouble),
              QByteArray("\r\nGoTo:      2     2\r\nDown: \r\nKnock: 4\r\nUp  : \r\n"));
}

TEST(PlanBuilder, NumbersAreRightAlignedInSixCharacters) {
    DotImage picture = blankPicture(13, 6);
    setPixel(picture, 11, 4, 90, 128);
    const QList<QByteArray> lines = planLines(picture, kDouble);
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines[1], QByteArray("GoTo:      5    12"));
}

TEST(PlanBuilder, ARegionWithoutDotsWritesNothing) {
    DotImage picture = drawnPicture({"....", ".00.", ".00.", "...."});
    PlanBuildResult result;
    EXPECT_EQ(planOf(picture, kDouble, &result), QByteArray());
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.lines, 0);
    EXPECT_EQ(result.regions, 1);
}

// The 6 × 5 picture whose inner 4 × 3 pixels are picture cells.
DotImage sixByFive() {
    return drawnPicture({"......", ".4321.", ".1004.", ".4444.", "......"});
}

TEST(PlanBuilder, SixByFivePictureDoubleSided) {
    EXPECT_EQ(planLines(sixByFive(), kDouble),
              expectedLines({"", "GoTo 2 2", "Down: ", "Knock: 4321", "GoTo 3 6", "KBack: 4001",
                             "GoTo 4 2", "Down: ", "Knock: 4444", "Up  : "}));
}

TEST(PlanBuilder, SixByFivePictureSingleSided) {
    EXPECT_EQ(planLines(sixByFive(), kSingle),
              expectedLines({"", "GoTo 2 2", "Down: ", "Knock: 4321", "Up  : ", "GoTo 3 4",
                             "Down: ", "GoTo 3 2", "Down: ", "Knock: 1004", "Up  : ", "GoTo 4 4",
                             "Down: ", "GoTo 4 2", "Down: ", "Knock: 4444", "Up  : "}));
}

TEST(PlanBuilder, TheResultCountsTheLinesOfThePlan) {
    DotImage picture = sixByFive();
    PlanBuildResult result;
    const QByteArray plan = planOf(picture, kSingle, &result);
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.lines, linesOf(plan).size());
    EXPECT_EQ(result.lines, 17);
}

TEST(PlanBuilder, ARingIsOneRegionWithItsHoleSteppedOver) {
    DotImage picture =
        drawnPicture({".......", ".44444.", ".4ooo4.", ".4ooo4.", ".4ooo4.", ".44444.", "......."});
    PlanBuildResult result;
    const QList<QByteArray> lines = linesOf(planOf(picture, kDouble, &result));
    EXPECT_EQ(result.regions, 1);
    EXPECT_EQ(lines, expectedLines({"", "GoTo 2 2", "Down: ", fours(5), "GoTo 3 7", "KBack: 40004",
                                    "GoTo 4 2", "Down: ", "Knock: 40004", "GoTo 5 7",
                                    "KBack: 40004", "GoTo 6 2", "Down: ", fours(5), "Up  : "}));
}

TEST(PlanBuilder, ZeroCellsAreWrittenInsideASpanAndDroppedAtItsEnds) {
    DotImage picture = drawnPicture({".........", ".0420040.", "........."});
    EXPECT_EQ(planLines(picture, kDouble),
              expectedLines({"", "GoTo 2 3", "Down: ", "Knock: 42004", "Up  : "}));
}

TEST(PlanBuilder, DoubleSidedRowsAlternateWithoutRaisingTheNeedle) {
    DotImage picture = drawnPicture({".....", ".444.", ".444.", ".444.", ".444.", "....."});
    EXPECT_EQ(planLines(picture, kDouble),
              expectedLines({"", "GoTo 2 2", "Down: ", fours(3), "GoTo 3 5", "KBack: 444",
                             "GoTo 4 2", "Down: ", fours(3), "GoTo 5 5", "KBack: 444", "Up  : "}));
}

// A bar of gap + 1 cells in row 2 with a one-cell leg under each end in row 3: the two legs
// are two stretches of one row, `gap` columns apart.
DotImage twoLegs(int gap) {
    std::string bar(std::size_t(gap) + 1, '4');
    std::string legs(std::size_t(gap) + 1, '.');
    legs.front() = legs.back() = '4';
    const std::string blank(std::size_t(gap) + 3, '.');
    return drawnPicture({blank, "." + bar + ".", "." + legs + ".", blank});
}

TEST(PlanBuilder, SameRowApproachPointsAfterAForwardRun) {
    // The legs' run ends at column 2 and the next starts at 2 + gap: up to 20 columns the
    // needle comes down halfway (truncated), beyond that 5 columns before the target. The
    // move from the bar's end (column 2 + gap) down to the first leg is a next-row approach.
    struct Case {
        int gap;
        int nextRowApproach;
        int sameRowApproach;
    };
    for (const Case c : {Case{7, 6, 5}, Case{20, 12, 12}, Case{21, 22, 18}}) {
        const std::string leg = "GoTo 3 " + std::to_string(2 + c.gap);
        EXPECT_EQ(planLines(twoLegs(c.gap), kSingle),
                  expectedLines({"", "GoTo 2 2", "Down: ", fours(c.gap + 1),
                                 "Up  : ", "GoTo 3 " + std::to_string(c.nextRowApproach),
                                 "Down: ", "GoTo 3 2", "Down: ", "Knock: 4",
                                 "Up  : ", "GoTo 3 " + std::to_string(c.sameRowApproach),
                                 "Down: ", leg, "Down: ", "Knock: 4", "Up  : "}))
            << "gap " << c.gap;
    }
}

TEST(PlanBuilder, SameRowApproachPointsAfterABackwardRun) {
    struct Case {
        int gap;
        int approach;
    };
    for (const Case c : {Case{7, 6}, Case{20, 12}, Case{21, 7}}) {
        EXPECT_EQ(planLines(twoLegs(c.gap), kDouble),
                  expectedLines({"", "GoTo 2 2", "Down: ", fours(c.gap + 1),
                                 "GoTo 3 " + std::to_string(3 + c.gap), "KBack: 4",
                                 "Up  : ", "GoTo 3 " + std::to_string(c.approach),
                                 "Down: ", "GoTo 3 3", "KBack: 4", "Up  : "}))
            << "gap " << c.gap;
    }
}

// Row 2 holds columns 10..50; row 3 columns `from`..`to`.
DotImage barOverStretch(int from, int to) {
    std::vector<std::string> rows(4, std::string(56, '.'));
    for (int column = 10; column <= 50; ++column)
        rows[1][std::size_t(column - 1)] = '4';
    for (int column = from; column <= to; ++column)
        rows[2][std::size_t(column - 1)] = '4';
    return drawnPicture(rows);
}

TEST(PlanBuilder, SingleSidedApproachToTheNextRowOnTheLeft) {
    // After a run ending at column 50: the next row's stretch at 10 is approached at 30, the
    // one at 40 at 45.
    for (const auto& [from, approach] : {std::pair{10, 30}, std::pair{40, 45}}) {
        EXPECT_EQ(planLines(barOverStretch(from, from + 10), kSingle),
                  expectedLines({"", "GoTo 2 10", "Down: ", fours(41),
                                 "Up  : ", "GoTo 3 " + std::to_string(approach), "Down: ",
                                 "GoTo 3 " + std::to_string(from), "Down: ", fours(11), "Up  : "}))
            << "from " << from;
    }
}

TEST(PlanBuilder, SingleSidedFarApproachToTheRightStaysTwentyCellsBeforeTheTarget) {
    // Row 2 is a span of columns 5..55 with dots only in 5..10; row 3 holds 50..55. After the
    // run ending at 10, the stretch at 50 is approached at 50 - 20 = 30, never behind the run's
    // end or off the field.
    std::vector<std::string> rows(4, std::string(57, '.'));
    for (int column = 5; column <= 55; ++column) {
        rows[1][std::size_t(column - 1)] = column <= 10 ? '4' : '0';
        if (column >= 50)
            rows[2][std::size_t(column - 1)] = '4';
    }
    EXPECT_EQ(planLines(drawnPicture(rows), kSingle),
              expectedLines({"", "GoTo 2 5", "Down: ", fours(6), "Up  : ", "GoTo 3 30",
                             "Down: ", "GoTo 3 50", "Down: ", fours(6), "Up  : "}));
    EXPECT_EQ(planLines(drawnPicture(rows), kDouble),
              expectedLines(
                  {"", "GoTo 2 5", "Down: ", fours(6), "GoTo 3 56", "KBack: 444444", "Up  : "}));
}

TEST(PlanBuilder, RegionsOnlyInTheLastRowOrTheLastColumnArePlanned) {
    EXPECT_EQ(planLines(drawnPicture({"....", "....", ".4.."}), kDouble),
              expectedLines({"", "GoTo 3 2", "Down: ", "Knock: 4", "Up  : "}));
    EXPECT_EQ(planLines(drawnPicture({".....", "....3", "....."}), kDouble),
              expectedLines({"", "GoTo 2 5", "Down: ", "Knock: 3", "Up  : "}));
    EXPECT_EQ(planLines(drawnPicture({"...2"}), kSingle),
              expectedLines({"", "GoTo 1 4", "Down: ", "Knock: 2", "Up  : "}));
}

TEST(PlanBuilder, RegionsArePlannedTopToBottomEachToItsEnd) {
    DotImage picture = drawnPicture({"......", ".4..3.", ".4....", "....2.", "......"});
    PlanBuildResult result;
    const QList<QByteArray> lines = linesOf(planOf(picture, kDouble, &result));
    EXPECT_EQ(result.regions, 3);
    EXPECT_EQ(lines, expectedLines({"", "GoTo 2 2", "Down: ", "Knock: 4", "GoTo 3 3", "KBack: 4",
                                    "Up  : ", "", "GoTo 2 5", "Down: ", "Knock: 3", "Up  : ", "",
                                    "GoTo 4 5", "Down: ", "Knock: 2", "Up  : "}));
}

TEST(PlanBuilder, AStruckCellSteppedOverWritesZeroSoEveryCellHasItsDigit) {
    // Cells struck already (-1) inside a stretch are stepped over with "0"; a stretch of
    // struck cells only needs no run at all.
    DotImage picture = drawnPicture({"......", ".4.4..", "......", ".333..", "......"});
    setPixel(picture, 2, 1, 200, -1);
    for (int x = 1; x <= 3; ++x)
        setPixel(picture, x, 3, 200, -1);
    const DotImage before = picture;
    const QByteArray plan = planOf(picture, kDouble);
    EXPECT_EQ(linesOf(plan), expectedLines({"", "GoTo 2 2", "Down: ", "Knock: 404", "Up  : "}));
    EXPECT_TRUE(strikeFaults(before, walkPlan(plan)).isEmpty());
    // Cells at or below 0 are never changed by a build.
    EXPECT_EQ(dotAt(picture, 2, 1), -1);
    EXPECT_EQ(dotAt(picture, 2, 3), -1);
}

TEST(PlanBuilder, BuildingLeavesTheConvertedPictureAsItWas) {
    DotImage picture = drawnPicture({".......", ".43210.", ".01234.", "......."});
    setPixel(picture, 2, 2, 200, 100); // not a dot value a conversion gives; kept exactly
    const DotImage before = picture;
    const QByteArray first = planOf(picture, kDouble);
    for (int row = 0; row < picture.dots.rows(); ++row)
        for (int column = 0; column < picture.dots.cols(); ++column)
            EXPECT_EQ(picture.dots.at(row, column), before.dots.at(row, column))
                << row << ", " << column;
    EXPECT_FALSE(first.isEmpty());
    EXPECT_EQ(planOf(picture, kDouble), first); // "Работа" again engraves the picture again
    EXPECT_EQ(planOf(picture, kSingle), planOf(picture, kSingle));
}

TEST(PlanBuilder, APictureWithoutPictureCellsGivesAnEmptyPlan) {
    DotImage picture = blankPicture(4, 3);
    PlanBuildResult result;
    EXPECT_EQ(planOf(picture, kSingle, &result), QByteArray());
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.regions, 0);
    DotImage empty = blankPicture(0, 0);
    EXPECT_EQ(planOf(empty, kDouble, &result), QByteArray());
    EXPECT_TRUE(result.ok);
}

} // namespace
} // namespace zuk::test
