#include "plan/ui/LevelControls.h"
#include "plan/ui/PrintReadyPanel_2.h"

#include <QLabel>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSlider>

#include <gtest/gtest.h>

namespace zuk {
namespace {

// The controls as the second-pass panel has them: the "32" trackbar starts at 0.
const LevelControlNames& kSecondPassNames = kSecondPassLevelNames;

TEST(LevelControls, StartAsDesignedWithTheNamesTheLanguageFileKnows) {
    LevelControls controls(kSecondPassNames);
    auto* first = controls.findChild<QSlider*>("TrackBar5");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->minimum(), 0);
    EXPECT_EQ(first->value(), 0);
    EXPECT_EQ(controls.findChild<QSlider*>("TrackBar6")->minimum(), 1);
    EXPECT_EQ(controls.position(Level::L24), 3);
    EXPECT_EQ(controls.position(Level::L8), 1);
    EXPECT_EQ(controls.findChild<QLabel*>("Label29")->text(), "(1)");
    EXPECT_TRUE(controls.findChild<QRadioButton*>("GroupRadBut_2")->isChecked());
}

TEST(LevelControls, AProgramSetPositionReportsOnlyARealChange) {
    LevelControls controls(kSecondPassNames);
    QSignalSpy moved(&controls, &LevelControls::trackbarMoved);
    controls.setPosition(Level::L24, 3); // unchanged
    EXPECT_EQ(moved.count(), 0);
    controls.setPosition(Level::L24, 50);
    ASSERT_EQ(moved.count(), 1);
    EXPECT_EQ(moved.at(0).at(0).value<Level>(), Level::L24);
    EXPECT_EQ(moved.at(0).at(1).toInt(), 50);
    controls.setPosition(Level::L16, 500); // held to the range
    EXPECT_EQ(controls.position(Level::L16), LevelControls::kHighestPosition);
}

TEST(LevelControls, CheckingAModeReportsItAndDependentsFollowTheEnabling) {
    LevelControls controls(kSecondPassNames);
    QSignalSpy group(&controls, &LevelControls::groupClicked);
    QSignalSpy individual(&controls, &LevelControls::individualClicked);
    controls.checkGroup(false);
    EXPECT_EQ(individual.count(), 1);
    EXPECT_FALSE(controls.groupChecked());
    controls.checkGroup(true);
    EXPECT_EQ(group.count(), 1);
    controls.setDependentsEnabled(false);
    EXPECT_TRUE(controls.trackbar(Level::L32)->isEnabled());
    EXPECT_FALSE(controls.trackbar(Level::L8)->isEnabled());
    EXPECT_FALSE(controls.valueLabel(Level::L16)->isEnabled());
    EXPECT_FALSE(controls.findChild<QLabel*>("TrackBar7Name")->isEnabled());
    controls.showForce(Level::L16, 34);
    EXPECT_EQ(controls.valueLabel(Level::L16)->text(), "(34)");
}

} // namespace
} // namespace zuk
