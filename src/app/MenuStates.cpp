#include "app/MenuStates.h"

#include "app/Screen.h"

namespace zuk {

namespace {
// The entries a job locks: "Файл" to "Тест".
constexpr MenuEntry kPreparingEntries[] = {
    MenuEntry::File, MenuEntry::Service,   MenuEntry::Work, MenuEntry::Settings,
    MenuEntry::Port, MenuEntry::Placement, MenuEntry::Test};
// The entries that need an answering device.
constexpr MenuEntry kDeviceEntries[] = {MenuEntry::Service, MenuEntry::Work, MenuEntry::Settings};

void setEnabled(MenuLook& look, MenuEntry entry, bool enabled) {
    look.enabled[static_cast<int>(entry)] = enabled;
}
} // namespace

QString menuEntryName(MenuEntry entry) {
    switch (entry) {
    case MenuEntry::File:
        return QStringLiteral("Application1Entry");
    case MenuEntry::Service:
        return QStringLiteral("Sevice1Entry");
    case MenuEntry::Work:
        return QStringLiteral("SuperWork1Entry");
    case MenuEntry::Settings:
        return QStringLiteral("N1Entry");
    case MenuEntry::Port:
        return QStringLiteral("ComPortEntry");
    case MenuEntry::Placement:
        return QStringLiteral("PozitionEntry");
    case MenuEntry::Test:
        return QStringLiteral("N5");
    case MenuEntry::Help:
        return QStringLiteral("Help1Entry");
    case MenuEntry::Stop:
        return QStringLiteral("STOP");
    }
    return {};
}

void MenuStates::setPreparingEntries(bool enabled) {
    for (const MenuEntry entry : kPreparingEntries)
        setEnabled(look_, entry, enabled);
    look_.pictureEnabled = enabled;
}

void MenuStates::lockWhatNeedsTheDevice() {
    look_.stopShown = false;
    for (const MenuEntry entry : kDeviceEntries)
        setEnabled(look_, entry, false);
    look_.pictureEnabled = false;
    look_.needleControlsEnabled = false;
}

void MenuStates::show(MenuState state) {
    look_.state = state;
    screen_.showMenus(look_);
}

void MenuStates::linkUp() {
    if (heldForJob_)
        return;
    setPreparingEntries(true);
    // The needle choices come back with the link, or a link lost once would leave the
    // operator without them for the rest of the run.
    look_.needleControlsEnabled = true;
    show(MenuState::LinkUp);
}

void MenuStates::linkLost() {
    if (heldForJob_)
        return;
    lockWhatNeedsTheDevice();
    show(MenuState::LinkLost);
}

void MenuStates::noDevice() {
    if (heldForJob_)
        return;
    setPreparingEntries(true);
    lockWhatNeedsTheDevice();
    show(MenuState::NoDevice);
}

void MenuStates::idle(bool linkActive) {
    if (linkActive)
        linkUp();
    else
        noDevice();
}

void MenuStates::work(bool runTimerEnabled) {
    setPreparingEntries(false);
    look_.stopShown = runTimerEnabled;
    setEnabled(look_, MenuEntry::Stop, runTimerEnabled);
    show(MenuState::Work);
}

void MenuStates::jobPaused() {
    setPreparingEntries(false);
    look_.stopShown = true;
    setEnabled(look_, MenuEntry::Stop, true);
    show(MenuState::Paused);
}

void MenuStates::preparingRun() {
    look_.stopShown = true;
    setEnabled(look_, MenuEntry::Stop, false);
    show(MenuState::PreparingRun);
}

} // namespace zuk
