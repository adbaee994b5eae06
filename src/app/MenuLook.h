#pragma once

#include <QString>

#include <array>

namespace zuk {

// The states the main window's menus show.
enum class MenuState {
    NoDevice, // no device answers: "Файл", "Порт", "Тест" usable, not "Работа" or "Установки"
    LinkLost, // a command failed: "Работа", "Установки", the picture and the needle locked
    LinkUp,       // the device answers: "Файл" to "Тест" and the picture usable
    Work,         // a job or a panel holds the window: everything but Help locked
    Paused,       // STOP paused the run: as Work, STOP still usable
    PreparingRun, // a resumption prepares the run: as Work, STOP shown but not yet usable
};

// The main window's top-level menu entries, left to right.
enum class MenuEntry { File, Service, Work, Settings, Port, Placement, Test, Help, Stop };
inline constexpr int kMenuEntryCount = 9;

// The object name the window gives an entry: the file menu's "Application1Entry", "Тест"'s
// "N5", "STOP"'s "STOP" and so on.
QString menuEntryName(MenuEntry entry);

// Everything the menu states decide: which top-level entries take input, whether STOP is
// shown, and whether the picture and the needle controls of the manual movement take input.
// `state` names the state entered last.
struct MenuLook {
    MenuState state = MenuState::LinkUp;
    std::array<bool, kMenuEntryCount> enabled{true, true, true, true, true, true, true, true, true};
    bool stopShown = false;
    bool pictureEnabled = true;
    bool needleControlsEnabled = true;

    bool isEnabled(MenuEntry entry) const { return enabled[static_cast<int>(entry)]; }
    bool operator==(const MenuLook&) const = default;
};

} // namespace zuk
