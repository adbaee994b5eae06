#include "run/ui/AbortPanel.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSlider>

#include <gtest/gtest.h>

namespace zuk {
namespace {

TEST(AbortPanel, StartsHiddenWithIndividualModeAndTheDesignedTexts) {
    AbortPanel panel;
    EXPECT_FALSE(panel.isVisibleTo(nullptr));
    for (const char* name : {"RadioButton4", "RadioButton8"})
        EXPECT_TRUE(panel.findChild<QRadioButton*>(name)->isChecked()) << name;
    EXPECT_EQ(panel.findChild<QLabel*>("Label45")->text(), "Работа прервана");
    EXPECT_EQ(panel.findChild<QLabel*>("Label58")->text(), "Второй проход");
    EXPECT_EQ(panel.findChild<QPushButton*>("Button30")->text(), "Продолжить работу");
    EXPECT_EQ(panel.findChild<QPushButton*>("Button28")->text(), "Завершить работу");
    EXPECT_EQ(panel.findChild<QSlider*>("TrackBar13")->minimum(), 1);
    EXPECT_EQ(panel.findChild<QLabel*>("Label55")->text(), "(1)");
}

TEST(AbortPanel, HalvesWidthsAndEnablingAsTheStopHandlingSetsThem) {
    AbortPanel panel;
    panel.placeAt(QPoint(20, 10));
    panel.showHalves(true, false);
    panel.setPanelWidth(panel.firstHalfWidth() + 20);
    EXPECT_TRUE(panel.isVisibleTo(nullptr));
    EXPECT_TRUE(panel.firstHalf()->isVisibleTo(&panel));
    EXPECT_FALSE(panel.secondHalf()->isVisibleTo(&panel));
    EXPECT_EQ(panel.width(), AbortPanel::kHalfWidth + 20);
    EXPECT_EQ(panel.pos(), QPoint(20, 10));

    panel.showHalves(true, true);
    panel.setFirstHalfEnabled(false);
    panel.setPanelWidth(AbortPanel::kBothHalvesWidth);
    EXPECT_EQ(panel.width(), 521);
    EXPECT_FALSE(panel.firstPass().trackbar(Level::L32)->isEnabled());
    EXPECT_TRUE(panel.secondPass().trackbar(Level::L32)->isEnabled());
    // Both halves fit side by side in that width.
    EXPECT_LE(panel.secondHalf()->geometry().right(), panel.width());

    panel.showHalves(false, false);
    EXPECT_FALSE(panel.isVisibleTo(nullptr));
}

TEST(AbortPanel, BothHalvesContinueAndFinishAlike) {
    AbortPanel panel;
    QSignalSpy continued(&panel, &AbortPanel::continueClicked);
    QSignalSpy finished(&panel, &AbortPanel::finishClicked);
    for (const char* name : {"Button27", "Button30"})
        panel.findChild<QPushButton*>(name)->click();
    for (const char* name : {"Button28", "Button31"})
        panel.findChild<QPushButton*>(name)->click();
    EXPECT_EQ(continued.count(), 2);
    EXPECT_EQ(finished.count(), 2);
}

TEST(AbortPanel, CheckingAModeButtonReportsItAsAClick) {
    AbortPanel panel;
    QSignalSpy group(&panel.secondPass(), &LevelControls::groupClicked);
    panel.checkSecondGroup(true);
    EXPECT_TRUE(panel.findChild<QRadioButton*>("RadioButton7")->isChecked());
    EXPECT_EQ(group.count(), 1);
    panel.checkFirstGroup(false);
    EXPECT_TRUE(panel.findChild<QRadioButton*>("RadioButton4")->isChecked());
}

} // namespace
} // namespace zuk
