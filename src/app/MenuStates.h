#pragma once

#include "app/MenuLook.h"

namespace zuk {

class Screen;

// The one owner of what the main window's menus allow. It decides, from the state the program
// is in, which entries and controls take input (MenuLook) and shows that on the screen;
// nothing else enables or disables a menu entry. A job in progress keeps the window locked
// whatever a command's answer says: from the job start (or the resumption) to one of the job's
// own ends (the normal end, "Завершить работу", the fault stop, a refusal), a greeting or a
// motor setting that brings the link up, or a command that takes it down, does not open the
// menus on top of the running or paused job.
class MenuStates {
public:
    explicit MenuStates(Screen& screen) : screen_(screen) {}

    // A greeting succeeded or a motor setting was answered: "Файл" to "Тест", the picture and
    // the needle controls usable, unless a job holds the window.
    void linkUp();
    // A command failed: "Sevice", "Работа", "Установки", the picture and the needle controls
    // locked, STOP hidden, unless a job holds the window.
    void linkLost();
    // What a start-up without a device shows: "Файл", "Порт" and "Тест" usable, "Работа" and
    // "Установки" not until a greeting succeeds.
    void noDevice();
    // Back to preparing jobs: the link up state while the device answers, else the state
    // without a device.
    void idle(bool linkActive);
    // Everything but Help locked; STOP shown exactly while the run timer runs.
    void work(bool runTimerEnabled);
    // STOP paused the run: everything but Help locked, STOP shown and usable.
    void jobPaused();
    // A resumption prepares the run: the work state with STOP shown but disabled.
    void preparingRun();

    // A job begins (its start or its resumption): the window stays in the work state until
    // releaseFromJob().
    void holdForJob() { heldForJob_ = true; }
    // The job has ended or could not begin; the caller then shows the state that follows.
    void releaseFromJob() { heldForJob_ = false; }
    bool heldForJob() const { return heldForJob_; }

    // What the window shows now.
    const MenuLook& look() const { return look_; }

private:
    void setPreparingEntries(bool enabled);
    // STOP hidden; "Sevice", "Работа", "Установки", the picture and the needle controls locked.
    void lockWhatNeedsTheDevice();
    void show(MenuState state);

    Screen& screen_;
    MenuLook look_;
    bool heldForJob_ = false;
};

} // namespace zuk
