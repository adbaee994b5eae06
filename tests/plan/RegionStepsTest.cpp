#include "PlanPictures.h"

#include "plan/RegionSteps.h"

#include <gtest/gtest.h>

namespace zuk::test {
namespace {

using namespace planner;

// The marks as a build starts them: 1 on every picture cell.
void markPictureCells(PlanGrids& grids, const DotImage& picture) {
    for (int row = 0; row < picture.gray.rows(); ++row)
        for (int column = 0; column < picture.gray.cols(); ++column)
            grids.markAt(row, column) = picture.gray.at(row, column) != 0 ? 1 : 0;
}

std::vector<qint32> marksOfRow(PlanGrids& grids, int row, int first, int last) {
    std::vector<qint32> marks;
    for (int column = first; column <= last; ++column)
        marks.push_back(grids.markAt(row, column));
    return marks;
}

TEST(TraceRegion, AnIsolatedCellGetsBothEdgesAndAOneCellBox) {
    DotImage picture = drawnPicture({"...", ".4.", "..."});
    PlanGrids grids(picture);
    markPictureCells(grids, picture);
    const RegionTrace trace = TraceRegion(grids, {2, 2});
    EXPECT_TRUE(trace.closed);
    EXPECT_EQ(trace.box, (RegionBox{2, 2, 2, 2}));
    EXPECT_EQ(grids.markAt(2, 2), 1 + 128 + 4 + 8);
}

TEST(TraceRegion, TheOutlineOfTheSixByFivePictureAndItsSpans) {
    DotImage picture = drawnPicture({"......", ".4321.", ".1004.", ".4444.", "......"});
    PlanGrids grids(picture);
    markPictureCells(grids, picture);
    const RegionTrace trace = TraceRegion(grids, {2, 2});
    ASSERT_TRUE(trace.closed);
    EXPECT_EQ(trace.box, (RegionBox{2, 4, 2, 5}));
    // Left edges down the left side, right edges down the right side; the inner cells of the
    // middle row are not on the outline.
    EXPECT_EQ(marksOfRow(grids, 2, 2, 5), (std::vector<qint32>{133, 129, 129, 137}));
    EXPECT_EQ(marksOfRow(grids, 3, 2, 5), (std::vector<qint32>{133, 1, 1, 137}));
    EXPECT_EQ(marksOfRow(grids, 4, 2, 5), (std::vector<qint32>{133, 129, 129, 137}));

    FillSpans(grids, trace.box);
    EXPECT_EQ(marksOfRow(grids, 3, 2, 5), (std::vector<qint32>{133, 129, 129, 137}));
    TrimSpans(grids, trace.box);
    for (int row = 2; row <= 4; ++row)
        EXPECT_EQ(marksOfRow(grids, row, 1, 6), (std::vector<qint32>{0, 132, 129, 129, 136, 0}))
            << "row " << row;
}

TEST(TraceRegion, AWalkThatNeverComesBackToItsStartIsReported) {
    // Started inside a block, the walk circles the start's neighbours for ever: the cell
    // below-left of the start is never reached, so the end condition never holds.
    DotImage picture = drawnPicture({".....", ".444.", ".444.", ".444.", "....."});
    PlanGrids grids(picture);
    markPictureCells(grids, picture);
    EXPECT_FALSE(TraceRegion(grids, {3, 3}).closed);
}

TEST(TraceRegion, AStartWithoutGrayIsLeftOutOfItsBox) {
    // A start that is no picture cell is never reached again: the walk ends on its isolated
    // neighbour, whose box does not hold the start.
    DotImage picture = drawnPicture({"....", "..4.", "...."});
    PlanGrids grids(picture);
    markPictureCells(grids, picture);
    grids.markAt(2, 2) = kInRegion; // a cell flagged by an earlier region
    const RegionTrace trace = TraceRegion(grids, {2, 2});
    EXPECT_TRUE(trace.closed);
    EXPECT_EQ(trace.box, (RegionBox{2, 2, 3, 3}));
    EXPECT_FALSE(trace.box.contains({2, 2}));
}

TEST(FillSpans, ASpanWithoutRightEdgeRunsOneColumnPastTheBox) {
    DotImage picture = blankPicture(8, 3);
    PlanGrids grids(picture);
    grids.markAt(2, 2) = kUnplanned | kLeftEdge;
    FillSpans(grids, {2, 2, 2, 5});
    EXPECT_EQ(marksOfRow(grids, 2, 1, 7), (std::vector<qint32>{0, 133, 128, 128, 128, 128, 0}));
}

TEST(TrimSpans, ASpanOfZerosIsDroppedAndTheNextStartCarriesTheRightEdgePassed) {
    DotImage picture = blankPicture(8, 3);
    PlanGrids grids(picture);
    const qint32 marks[] = {kInRegion | kLeftEdge, kInRegion | kRightEdge, kInRegion | kLeftEdge,
                            kInRegion, kInRegion | kRightEdge};
    const double values[] = {0, 0, 255, 0, 64};
    for (int k = 0; k < 5; ++k) {
        grids.markAt(2, 2 + k) = marks[k];
        grids.value(2, 2 + k) = values[k];
    }
    TrimSpans(grids, {2, 2, 2, 6});
    EXPECT_EQ(marksOfRow(grids, 2, 2, 6), (std::vector<qint32>{0, 0, 140, 128, 136}));
}

TEST(TrimSpans, StruckCellsOnAnEdgeKeepTheirFlagsAndZeroCellsLoseThem) {
    DotImage picture = blankPicture(8, 3);
    PlanGrids grids(picture);
    // One span: left edge struck (-1), a 0, a dot, a 0, right edge struck (-1).
    const qint32 marks[] = {kInRegion | kLeftEdge, kInRegion, kInRegion, kInRegion,
                            kInRegion | kRightEdge};
    const double values[] = {-1, 0, 192, 0, -1};
    for (int k = 0; k < 5; ++k) {
        grids.markAt(2, 2 + k) = marks[k];
        grids.value(2, 2 + k) = values[k];
    }
    TrimSpans(grids, {2, 2, 2, 6});
    // From the left the struck left edge and the 0 go and the span starts on the dot; from the
    // right the struck right edge and the 0 go and the span ends on the same dot, which
    // carries the left edge passed: a span of one cell.
    EXPECT_EQ(marksOfRow(grids, 2, 2, 6), (std::vector<qint32>{0, 0, kSpanBoth, 0, 0}));
}

TEST(RowSearches, FindTheInRegionCellsInsideTheBox) {
    DotImage picture = blankPicture(10, 3);
    PlanGrids grids(picture);
    for (int column : {1, 3, 6, 9})
        grids.markAt(1, column) = kInRegion;
    grids.markAt(1, 4) = kUnplanned | kLeftEdge; // not in the region
    const RegionBox box{1, 1, 2, 8};
    EXPECT_EQ(FirstMarkedFromLeft(grids, box, 1), 3);
    EXPECT_EQ(FirstMarkedFromLeft(grids, box, 1, 4), 6);
    EXPECT_EQ(FirstMarkedFromLeft(grids, box, 1, 7), -1);
    EXPECT_EQ(LastMarkedFromRight(grids, box, 1), 6);
    EXPECT_EQ(LastMarkedFromRight(grids, box, 1, 5), 3);
    EXPECT_EQ(LastMarkedFromRight(grids, box, 1, 2), -1);
    grids.markAt(0, 5) = kInRegion;
    EXPECT_EQ(FirstMarkedFromLeft(grids, box, -3), 5); // a negative row is row 0
    EXPECT_EQ(LastMarkedFromRight(grids, box, -1), 5);
}

} // namespace
} // namespace zuk::test
