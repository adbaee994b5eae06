#include "ReferenceConversion.h"

#include "image/ToneTables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

namespace zuk {
namespace {

using test::referencePatterns;

std::map<int, int> valueCounts(const PatternRow& row) {
    std::map<int, int> counts;
    for (quint8 value : row)
        ++counts[value];
    return counts;
}

// FNV-1a over the rows in order, each entry with its gray and position mixed in.
quint64 checksum(const std::function<int(int, int)>& entry) {
    quint64 hash = 1469598103934665603ull;
    for (int gray = 0; gray < 256; ++gray)
        for (int k = 0; k < 100; ++k) {
            const quint64 word = quint64(gray) << 16 | quint64(k) << 8 | quint64(entry(gray, k));
            for (int shift = 0; shift < 24; shift += 8) {
                hash ^= (word >> shift) & 0xff;
                hash *= 1099511628211ull;
            }
        }
    return hash;
}

class ToneTablesTest : public ::testing::Test {
protected:
    const PictureTables tables = PictureTables::afterStartUp();
};

TEST_F(ToneTablesTest, SpreadOrderIsTheWrittenPermutation) {
    const auto order = spreadOrder();
    EXPECT_TRUE(std::equal(order.begin(), order.end(), test::writtenSpreadOrder().begin()));
    EXPECT_EQ(std::set<int>(order.begin(), order.end()).size(), 100u);
}

TEST_F(ToneTablesTest, WholePatternTableMatchesRowsWorkedOutIndependently) {
    const auto reference = referencePatterns();
    const quint64 product = checksum([&](int g, int k) { return tables.pattern[g][k]; });
    const quint64 expected = checksum([&](int g, int k) { return reference.rows[g][k]; });
    EXPECT_EQ(product, expected);
    for (int gray = 0; gray < 256; ++gray)
        ASSERT_TRUE(std::equal(tables.pattern[gray].begin(), tables.pattern[gray].end(),
                               reference.rows[gray].begin()))
            << "first differing row: " << gray;
}

TEST_F(ToneTablesTest, RowsOfOneValue) {
    const std::map<int, int> all64{{64, 100}};
    const std::map<int, int> all255{{255, 100}};
    EXPECT_EQ(valueCounts(tables.pattern[25]), all64);
    EXPECT_EQ(valueCounts(tables.pattern[26]), all64);
    for (int gray = 206; gray <= 255; ++gray)
        EXPECT_EQ(valueCounts(tables.pattern[gray]), all255) << gray;
    EXPECT_EQ(valueCounts(tables.pattern[0]), (std::map<int, int>{{0, 100}}));
}

TEST_F(ToneTablesTest, MixedRows) {
    EXPECT_EQ(valueCounts(tables.pattern[76]), (std::map<int, int>{{64, 50}, {128, 50}}));
    EXPECT_EQ(valueCounts(tables.pattern[126]),
              (std::map<int, int>{{0, 23}, {128, 50}, {192, 1}, {255, 26}}));
    EXPECT_EQ(valueCounts(tables.pattern[27]), (std::map<int, int>{{64, 99}, {128, 1}}));
    EXPECT_EQ(valueCounts(tables.pattern[24]), (std::map<int, int>{{0, 76}, {64, 24}}));
    EXPECT_EQ(valueCounts(tables.pattern[1]), (std::map<int, int>{{0, 99}, {64, 1}}));
    EXPECT_EQ(tables.pattern[1][11], 64);
}

TEST_F(ToneTablesTest, Row126IsRow176WithTheSecondHalfOfTheSpreadOrderAt128) {
    const auto spread = spreadOrder();
    PatternRow expected = tables.pattern[176];
    for (int k = 50; k < 100; ++k)
        expected[spread[k]] = 128;
    EXPECT_EQ(tables.pattern[126], expected);
}

TEST_F(ToneTablesTest, FixedRowsHoldTheBuilt192) {
    const auto spread = spreadOrder();
    for (int gray = 176; gray <= 205; ++gray)
        EXPECT_EQ(tables.pattern[gray][spread[225 - gray]], 192) << gray;
}

TEST_F(ToneTablesTest, EveryRowAfterTheFirstHasAValueAndOnlyDotValues) {
    const std::set<int> dotValues{0, 64, 128, 192, 255};
    for (int gray = 1; gray < 256; ++gray) {
        const auto& row = tables.pattern[gray];
        EXPECT_TRUE(std::any_of(row.begin(), row.end(), [](quint8 v) { return v != 0; })) << gray;
        for (quint8 value : row)
            ASSERT_TRUE(dotValues.count(value)) << gray;
    }
}

TEST_F(ToneTablesTest, StartingPositions) {
    EXPECT_EQ(tables.positions[0], 57);
    EXPECT_EQ(tables.positions[57], 0);
    EXPECT_EQ(tables.positions[156], 99);
    EXPECT_EQ(tables.positions[255], 0);
    EXPECT_EQ(tables.positions[100], 43);
    EXPECT_EQ(tables.positions[200], 55);
    const auto reference = referencePatterns();
    EXPECT_TRUE(
        std::equal(tables.positions.begin(), tables.positions.end(), reference.positions.begin()));
}

TEST_F(ToneTablesTest, ToneCurveSamples) {
    const std::map<int, int> simple{{0, 0},     {3, 1},     {128, 69}, {232, 220},
                                    {233, 211}, {234, 222}, {255, 255}};
    for (auto [gray, tone] : simple)
        EXPECT_EQ(tables.simpleTone[gray], tone) << gray;
    const std::map<int, int> combined{{0, 0},    {3, 5},    {66, 41},  {69, 41},
                                      {113, 79}, {114, 78}, {128, 85}, {255, 255}};
    for (auto [gray, tone] : combined)
        EXPECT_EQ(tables.combinedTone[gray], tone) << gray;
}

TEST_F(ToneTablesTest, ToneCurvesStayWithinTheDotRange) {
    for (int gray = 0; gray < 256; ++gray) {
        EXPECT_GE(tables.simpleTone[gray], 0);
        EXPECT_LE(tables.simpleTone[gray], 255);
    }
    // Apart from the two known dips the curves never fall.
    for (int gray = 1; gray < 256; ++gray) {
        if (gray != 233) {
            EXPECT_GE(tables.simpleTone[gray], tables.simpleTone[gray - 1]) << gray;
        }
        if (gray != 114) {
            EXPECT_GE(tables.combinedTone[gray], tables.combinedTone[gray - 1]) << gray;
        }
    }
}

} // namespace
} // namespace zuk
