// The plate tells a second strike of a cell within one pass from a first, wherever the cell
// lies: at the borders of its bookkeeping tiles, left of or above the origin, in another pass.
#include "simulator/Plate.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <tuple>

namespace zuk::sim {
namespace {

Strike at(qint32 column, qint32 rowSteps, int pass = 1) {
    return Strike{column, rowSteps, 1, 10, pass};
}

TEST(Plate, ASecondStrikeOfACellInTheSamePassIsToldApart) {
    Plate plate;
    const std::vector<std::pair<qint32, qint32>> cells{
        {0, 0},   {63, 0},    {64, 0},         {0, 63},
        {0, 64},  {63, 63},   {64, 64},        {-1, 0},
        {0, -1},  {-64, -64}, {-65, 2},        {65535, 131070},
        {-1, -1}, {127, 65},  {2147483647, 0}, {0, -2147483647 - 1},
        {1, 1},   {200, 7}};
    for (const auto& [column, rowSteps] : cells)
        EXPECT_TRUE(plate.strike(at(column, rowSteps))) << column << ", " << rowSteps;
    for (const auto& [column, rowSteps] : cells)
        EXPECT_FALSE(plate.strike(at(column, rowSteps))) << column << ", " << rowSteps;
    // The same cells in another pass are first strikes there.
    for (const auto& [column, rowSteps] : cells)
        EXPECT_TRUE(plate.strike(at(column, rowSteps, 2))) << column << ", " << rowSteps;
    EXPECT_EQ(plate.strikes().size(), 3 * cells.size());
    EXPECT_EQ(plate.strikesAt(-65, 2).size(), 3u);
}

TEST(Plate, AgreesWithASetOfStruckCellsOnRandomStrikes) {
    Plate plate;
    std::set<std::tuple<int, qint32, qint32>> struck;
    std::mt19937 random(17);
    std::uniform_int_distribution<qint32> coordinate(-300, 300);
    std::uniform_int_distribution<int> pass(0, 2);
    for (int k = 0; k < 20000; ++k) {
        const Strike strike = at(coordinate(random), coordinate(random), pass(random));
        const bool fresh = struck.insert({strike.pass, strike.column, strike.rowSteps}).second;
        ASSERT_EQ(plate.strike(strike), fresh) << k;
    }
}

TEST(Plate, ACopyKeepsWhatWasStruckAndGoesOnByItself) {
    Plate original;
    EXPECT_TRUE(original.strike(at(5, 6)));
    Plate copy = original;
    EXPECT_FALSE(copy.strike(at(5, 6)));
    EXPECT_TRUE(copy.strike(at(5, 8)));
    // The original has not seen the copy's strike.
    EXPECT_TRUE(original.strike(at(5, 8)));
    Plate assigned;
    EXPECT_TRUE(assigned.strike(at(70, 70)));
    assigned = original;
    EXPECT_FALSE(assigned.strike(at(5, 8)));
    EXPECT_TRUE(assigned.strike(at(70, 70)));
}

} // namespace
} // namespace zuk::sim
