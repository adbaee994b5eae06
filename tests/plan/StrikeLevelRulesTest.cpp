#include "plan/StrikeLevelRules.h"

#include <gtest/gtest.h>

namespace zuk {
namespace {

struct Derived {
    int f;
    StrikeLevels trackbar;
    StrikeLevels selection;
};

TEST(StrikeLevelRules, WorkedValuesOfBothRules) {
    const Derived table[] = {
        {1, {1, 1, 1, 1}, {1, 1, 1, 1}},
        {3, {3, 2, 1, 1}, {3, 1, 1, 1}},
        {9, {9, 6, 3, 1}, {9, 6, 3, 1}},
        {30, {30, 20, 10, 2}, {30, 24, 13, 10}},
        {100, {100, 67, 34, 9}, {100, 84, 48, 45}},
        {200, {200, 134, 68, 18}, {200, 170, 98, 95}},
    };
    for (const Derived& row : table) {
        SCOPED_TRACE(row.f);
        EXPECT_EQ(groupLevelsFromTrackbar(static_cast<quint8>(row.f)), row.trackbar);
        EXPECT_EQ(groupLevelsOnSelection(static_cast<quint8>(row.f)), row.selection);
    }
}

TEST(StrikeLevelRules, NoDerivedForceFallsBelowOneOrWraps) {
    for (int f = 0; f <= 255; ++f) {
        for (const StrikeLevels& levels : {groupLevelsFromTrackbar(static_cast<quint8>(f)),
                                           groupLevelsOnSelection(static_cast<quint8>(f))}) {
            EXPECT_EQ(levels.level32, f);
            EXPECT_GE(levels.level24, 1);
            EXPECT_GE(levels.level16, 1);
            EXPECT_GE(levels.level8, 1);
            EXPECT_LE(levels.level24, std::max(f, 1));
        }
    }
}

TEST(StrikeLevelRules, OneForceReplacedLeavesTheOthers) {
    const StrikeLevels levels{14, 10, 5, 2};
    EXPECT_EQ(withForce(levels, Level::L16, 99), (StrikeLevels{14, 10, 99, 2}));
    EXPECT_EQ(force(levels, Level::L8), 2);
    EXPECT_EQ(force(levels, Level::L32), 14);
}

} // namespace
} // namespace zuk
