// The level controls' rules without widgets: what a trackbar move, a mode click and the
// loading of "Гравировка" do to the engraving choices.
#include "plan/LevelPanels.h"

#include <gtest/gtest.h>

namespace zuk {
namespace {

TEST(PassLevels, ATrackbarIsHeldToItsRangeAndOnlyARealChangeStoresItsForce) {
    EngravingChoices choices;
    PassLevels levels(choices, LevelSet::PrintReady);
    levels.clickMode(false);
    EXPECT_EQ(choices.firstMode, LevelMode::Individual);
    choices.first = {10, 20, 0, 5};
    levels.moveTrackbar(Level::L16, 1); // where the trackbar stands: no handler runs
    EXPECT_EQ(choices.first, (StrikeLevels{10, 20, 0, 5}));
    levels.moveTrackbar(Level::L16, 500);
    EXPECT_EQ(levels.shown().position(Level::L16), kHighestTrackbarPosition);
    EXPECT_EQ(choices.first, (StrikeLevels{10, 20, 200, 5}));
    EXPECT_EQ(levels.shown().shownForces[2], 200);
}

TEST(PassLevels, OnTheAbortPanelTheModeButtonsOnlyEnableAndDisable) {
    EngravingChoices choices;
    choices.firstMode = LevelMode::Individual;
    choices.first = {100, 5, 5, 5};
    PassLevels levels(choices, LevelSet::AbortWork1);
    levels.clickMode(true);
    EXPECT_FALSE(levels.shown().dependentsEnabled);
    EXPECT_EQ(choices.firstMode, LevelMode::Individual);
    EXPECT_EQ(choices.first, (StrikeLevels{100, 5, 5, 5}));
    levels.moveTrackbar(Level::L32, 30); // group shown: the trackbar's rule
    EXPECT_EQ(choices.first, groupLevelsFromTrackbar(30));
    EXPECT_EQ(levels.shown().positions, (std::array<int, kLevelCount>{30, 20, 10, 2}));
}

// The first "Гравировка" of a start: a stored "32" in group setting that moves its trackbar
// re-derives the others; the abort panel's second "32", which goes no lower than 1, holds a
// stored 0 to 1; forces set one by one stay.
TEST(LevelPanels, TheFirstOpeningReDerivesGroupsAndHoldsForcesToTheirTrackbars) {
    EngravingChoices stored;
    stored.first = {14, 10, 5, 2};
    stored.second = {0, 3, 1, 1};
    EXPECT_EQ(choicesOnFirstOpening(stored).first, (StrikeLevels{14, 10, 6, 1}));
    EXPECT_EQ(choicesOnFirstOpening(stored).second, (StrikeLevels{1, 3, 1, 1}));
    stored.firstMode = LevelMode::Individual;
    stored.first = {100, 5, 250, 5};
    const EngravingChoices opened = choicesOnFirstOpening(stored);
    EXPECT_EQ(opened.first, (StrikeLevels{100, 5, 200, 5}));
    EXPECT_EQ(opened.firstMode, LevelMode::Individual);
}

} // namespace
} // namespace zuk
