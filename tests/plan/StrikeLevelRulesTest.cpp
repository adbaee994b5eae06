#include "plan/StrikeLevelRules.h"
#include "support/WorkedLevels.h"

#include <gtest/gtest.h>

namespace zuk {
namespace {

TEST(StrikeLevelRules, WorkedValuesOfBothRules) {
    for (const test::WorkedLevels& row : test::kWorkedLevels) {
        SCOPED_TRACE(row.f);
        EXPECT_EQ(groupLevelsFromTrackbar(static_cast<quint8>(row.f)), row.trackbarRule);
        EXPECT_EQ(groupLevelsOnSelection(static_cast<quint8>(row.f)), row.selectionRule);
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
