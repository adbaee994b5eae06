#pragma once

#include "app/Screen.h"

namespace zuk {

// The one owner of what the main window's menus allow. Every part of the program asks for a
// menu state here instead of setting it on the screen itself, so that a job in progress keeps
// the window locked whatever a command's answer says: from the job start (or the resumption)
// to one of the job's own ends (the normal end, "Завершить работу", the fault stop, a refusal),
// a greeting or a motor setting that brings the link up, or a command that takes it down,
// does not open the menus on top of the running or paused job.
class MenuStates {
public:
    explicit MenuStates(Screen& screen) : screen_(screen) {}

    // A greeting succeeded or a motor setting was answered: "Файл" to "Тест" and the picture
    // usable, unless a job holds the window.
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
    // STOP shown but disabled: a resumption prepares the run.
    void showStopDisabled();

    // A job begins (its start or its resumption): the window stays in the work state until
    // releaseFromJob().
    void holdForJob();
    // The job has ended or could not begin; the caller then shows the state that follows.
    void releaseFromJob();
    bool heldForJob() const { return heldForJob_; }

private:
    Screen& screen_;
    bool heldForJob_ = false;
};

} // namespace zuk
