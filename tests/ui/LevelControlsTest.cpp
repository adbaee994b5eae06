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
    // The designed state the core starts from is the one the widgets start in.
    EXPECT_EQ(designedLevelControls(LevelSet::PrintReady2).positions,
              (std::array<int, kLevelCount>{0, 3, 1, 1}));
}

TEST(LevelControls, ShowAStateWithoutReportingItAndReportOnlyTheOperatorsMoves) {
    LevelControls controls(kSecondPassNames);
    QSignalSpy moved(&controls, &LevelControls::trackbarMoved);
    QSignalSpy individual(&controls, &LevelControls::individualClicked);
    LevelControlsState shown = designedLevelControls(LevelSet::PrintReady2);
    shown.positions = {0, 50, 200, 1};
    shown.shownForces = {0, 50, 34, 1};
    shown.groupChecked = false;
    shown.dependentsEnabled = false;
    controls.show(shown);
    EXPECT_EQ(moved.count(), 0);
    EXPECT_EQ(individual.count(), 0);
    EXPECT_EQ(controls.position(Level::L24), 50);
    EXPECT_EQ(controls.position(Level::L16), 200);
    EXPECT_EQ(controls.valueLabel(Level::L16)->text(), "(34)");
    EXPECT_FALSE(controls.groupChecked());
    EXPECT_TRUE(controls.trackbar(Level::L32)->isEnabled());
    EXPECT_FALSE(controls.trackbar(Level::L8)->isEnabled());
    EXPECT_FALSE(controls.valueLabel(Level::L16)->isEnabled());
    EXPECT_FALSE(controls.findChild<QLabel*>("TrackBar7Name")->isEnabled());

    controls.trackbar(Level::L24)->setValue(60); // as the operator drags it
    ASSERT_EQ(moved.count(), 1);
    EXPECT_EQ(moved.at(0).at(0).value<Level>(), Level::L24);
    EXPECT_EQ(moved.at(0).at(1).toInt(), 60);
}

TEST(LevelControls, CheckingAModeReportsItAsAClick) {
    LevelControls controls(kSecondPassNames);
    QSignalSpy group(&controls, &LevelControls::groupClicked);
    QSignalSpy individual(&controls, &LevelControls::individualClicked);
    controls.checkGroup(false);
    EXPECT_EQ(individual.count(), 1);
    EXPECT_FALSE(controls.groupChecked());
    controls.checkGroup(true);
    EXPECT_EQ(group.count(), 1);
    EXPECT_TRUE(controls.groupChecked());
}

} // namespace
} // namespace zuk
