#include "app/MenuStates.h"

namespace zuk {

void MenuStates::linkUp() {
    if (!heldForJob_)
        screen_.enterMenuState(MenuState::LinkUp, false);
}

void MenuStates::linkLost() {
    if (!heldForJob_)
        screen_.enterMenuState(MenuState::LinkLost, false);
}

void MenuStates::noDevice() {
    if (heldForJob_)
        return;
    screen_.enterMenuState(MenuState::LinkUp, false);
    screen_.enterMenuState(MenuState::LinkLost, false);
}

void MenuStates::idle(bool linkActive) {
    if (linkActive)
        linkUp();
    else
        noDevice();
}

void MenuStates::work(bool runTimerEnabled) {
    screen_.enterMenuState(MenuState::Work, runTimerEnabled);
}

void MenuStates::showStopDisabled() {
    screen_.showStopEntry();
}

void MenuStates::holdForJob() {
    heldForJob_ = true;
}

void MenuStates::releaseFromJob() {
    heldForJob_ = false;
}

} // namespace zuk
