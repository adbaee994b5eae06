#include "app/MenuStates.h"
#include "support/RecordingScreen.h"

#include <gtest/gtest.h>

#include <functional>

namespace zuk::test {
namespace {

// The entries that follow the device: "Sevice", "Работа", "Установки".
bool deviceEntriesEnabled(const MenuLook& look) {
    return look.isEnabled(MenuEntry::Service) && look.isEnabled(MenuEntry::Work) &&
           look.isEnabled(MenuEntry::Settings);
}

// Each state as the window shows it, entered from the state a job leaves behind (work with
// STOP), so that every part of the look it decides is seen to change.
struct StateCase {
    const char* name;
    std::function<void(MenuStates&)> enter;
    MenuState state;
    bool fileEnabled;
    bool deviceEntries;
    bool stopShown;
    bool stopEnabled;
    bool picture;
    bool needle;
};

class MenuStatesLook : public testing::TestWithParam<StateCase> {};

TEST_P(MenuStatesLook, DecidesEveryEntryAndControl) {
    const StateCase& c = GetParam();
    RecordingScreen screen;
    MenuStates menus(screen);
    menus.linkLost();
    menus.work(true);
    c.enter(menus);
    const MenuLook& look = screen.menus;
    EXPECT_EQ(look, menus.look());
    EXPECT_EQ(look.state, c.state);
    EXPECT_EQ(look.isEnabled(MenuEntry::File), c.fileEnabled);
    EXPECT_EQ(look.isEnabled(MenuEntry::Test), c.fileEnabled);
    EXPECT_EQ(deviceEntriesEnabled(look), c.deviceEntries);
    EXPECT_EQ(look.stopShown, c.stopShown);
    EXPECT_EQ(look.isEnabled(MenuEntry::Stop), c.stopEnabled);
    EXPECT_EQ(look.pictureEnabled, c.picture);
    EXPECT_EQ(look.needleControlsEnabled, c.needle);
    EXPECT_TRUE(look.isEnabled(MenuEntry::Help)) << "Help is never locked";
}

INSTANTIATE_TEST_SUITE_P(
    States, MenuStatesLook,
    testing::Values(StateCase{"LinkUp", [](MenuStates& m) { m.linkUp(); }, MenuState::LinkUp, true,
                              true, true, true, true, true},
                    StateCase{"LinkLost", [](MenuStates& m) { m.linkLost(); }, MenuState::LinkLost,
                              false, false, false, true, false, false},
                    StateCase{"NoDevice", [](MenuStates& m) { m.noDevice(); }, MenuState::NoDevice,
                              true, false, false, true, false, false},
                    StateCase{"WorkWithoutRun", [](MenuStates& m) { m.work(false); },
                              MenuState::Work, false, false, false, false, false, false},
                    StateCase{"Paused", [](MenuStates& m) { m.jobPaused(); }, MenuState::Paused,
                              false, false, true, true, false, false},
                    StateCase{"PreparingRun", [](MenuStates& m) { m.preparingRun(); },
                              MenuState::PreparingRun, false, false, true, false, false, false}),
    [](const testing::TestParamInfo<StateCase>& info) { return std::string(info.param.name); });

TEST(MenuStates, AJobHoldsTheWindowAgainstTheLinksAnswersUntilItIsReleased) {
    RecordingScreen screen;
    MenuStates menus(screen);
    menus.holdForJob();
    menus.work(true);
    const MenuLook held = screen.menus;
    menus.linkUp();
    menus.linkLost();
    menus.idle(true);
    EXPECT_EQ(screen.menus, held);
    menus.releaseFromJob();
    menus.idle(true);
    EXPECT_EQ(screen.menus.state, MenuState::LinkUp);
    EXPECT_TRUE(screen.menus.isEnabled(MenuEntry::Work));
}

} // namespace
} // namespace zuk::test
