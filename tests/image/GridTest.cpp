#include "image/Grid.h"

#include <QtGlobal>

#include <gtest/gtest.h>

namespace zuk {
namespace {

// A grid of 2 MB or more takes its cells from huge pages where the system has them and is
// zeroed by handing its pages back; a small one is zeroed by writing.
constexpr int kLargeRows = 700;
constexpr int kLargeCols = 500; // 700 × 500 doubles: 2.8 MB

template <typename T> bool allZero(const Grid<T>& grid) {
    for (int i = 0; i < grid.rows(); ++i)
        for (int j = 0; j < grid.rowLength(i); ++j)
            if (grid.at(i, j) != T{})
                return false;
    return true;
}

template <typename T> void scribble(Grid<T>& grid) {
    for (int i = 0; i < grid.rows(); ++i)
        for (int j = 0; j < grid.rowLength(i); ++j)
            grid.at(i, j) = T(i * 7 + j + 1);
}

TEST(GridTest, FreshAndResetGridsReadZeroWhateverTheyHeldBefore) {
    for (auto [rows, cols] : {std::pair{3, 5}, std::pair{kLargeRows, kLargeCols}}) {
        Grid<double> grid(rows, cols);
        EXPECT_TRUE(allZero(grid)) << rows;
        scribble(grid);
        grid.reset(rows, cols); // the same block again
        EXPECT_TRUE(allZero(grid)) << rows;
        scribble(grid);
        grid.reset(rows - 1, cols); // a little smaller: still the same block
        EXPECT_EQ(grid.rows(), rows - 1);
        EXPECT_TRUE(allZero(grid)) << rows;
        scribble(grid);
        grid.reset(rows * 2, cols); // larger: a new block
        EXPECT_TRUE(allZero(grid)) << rows;
    }
}

TEST(GridTest, AGridResizedForOverwriteTakesTheNewShape) {
    Grid<qint32> grid(kLargeRows, kLargeCols);
    scribble(grid);
    grid.resizeForOverwrite(kLargeCols, kLargeRows);
    EXPECT_EQ(grid.rows(), kLargeCols);
    EXPECT_EQ(grid.cols(), kLargeRows);
    EXPECT_NO_THROW(grid.at(kLargeCols - 1, kLargeRows - 1) = 5);
    EXPECT_THROW(grid.at(kLargeCols, 0), std::out_of_range);
    grid.resizeForOverwrite(10, 10); // far smaller: a new block, which is fresh and so 0
    EXPECT_TRUE(allZero(grid));
}

TEST(GridTest, EmptyRowsHaveNoCells) {
    Grid<qint32> marks(6, 4, 5);
    EXPECT_EQ(marks.rowLength(4), 4);
    EXPECT_EQ(marks.rowLength(5), 0);
    EXPECT_THROW(marks.at(5, 0), std::out_of_range);
    EXPECT_THROW(marks.at(0, 4), std::out_of_range);
    EXPECT_THROW(marks.at(-1, 0), std::out_of_range);
    EXPECT_THROW(Grid<qint32>(2, 2, 3), std::invalid_argument);
}

TEST(GridTest, CopiesAreDeepAndReleaseFreesTheCells) {
    Grid<double> original(kLargeRows, kLargeCols);
    scribble(original);
    Grid<double> copy = original;
    ASSERT_EQ(copy.rows(), original.rows());
    for (int i = 0; i < copy.rows(); i += 37)
        for (int j = 0; j < copy.cols(); ++j)
            ASSERT_EQ(copy.at(i, j), original.at(i, j));
    copy.at(0, 0) = -1;
    EXPECT_EQ(original.at(0, 0), 1.0);

    Grid<double> moved = std::move(copy);
    EXPECT_EQ(moved.at(0, 0), -1.0);
    moved.release();
    EXPECT_TRUE(moved.empty());
    EXPECT_EQ(moved.cols(), 0);
}

} // namespace
} // namespace zuk
