#pragma once

#include "app/Clock.h"
#include "app/MenuStates.h"
#include "app/ProgramDir.h"
#include "app/Screen.h"
#include "app/Settings.h"
#include "app/Texts.h"
#include "device/CommandExchange.h"
#include "device/CommandSet.h"
#include "device/SerialPort.h"
#include "image/ImagePreparation.h"
#include "journal/JobJournal.h"
#include "run/Job.h"
#include "run/RecoveryFile.h"
#include "service/FrameTrace.h"
#include "service/ManualMovement.h"

#include <optional>

namespace zuk {

// The application title: the main window's caption at start-up and the title of its message
// boxes.
inline const QString kApplicationTitle = QStringLiteral("ZUK-5.6");

// Which of the main window's timers are enabled. The window runs the timers; the program
// decides when they run.
struct TimerStates {
    bool optimizing = false; // the engraving run, one plan line per tick
    bool crush = false;      // one tick resumes an unfinished job
    bool timer3 = false;     // deletes the recovery file after the operator ignored it
    bool timer4 = false;     // keep-alive greetings after start-up
};

// Everything the main window owns: the device link, the settings, the picture and the job
// state, with the operations of start-up, shutdown, the keep-alive and the port menu. The
// window's handlers call these and show their results; the program reaches the screen only
// through the Screen interface.
class Program {
public:
    static constexpr int kKeepAliveGreetings = 10;
    static constexpr int kKeepAliveIntervalMs = 30000;

    Program(Screen& screen, Clock& clock, TransportFactory transports, ProgramDir dir);

    // --- Start-up and shutdown ---
    // The main window's creation: defaults, configuration, language, remembered picture
    // preparation, port, recovery file, tables, greeting, both motor drivers, link timing,
    // homing (not while a job is pending: the resumption asks the device where the head
    // stopped).
    void formCreate();
    // The unfinished-job dialog at its creation: asked when a job is pending and the device
    // answers.
    void offerUnfinishedJob();
    // One keep-alive greeting.
    void timer4Timer();
    // Deletes the recovery file and the progress record of an ignored job.
    void timer3Timer();
    // One resumption of an unfinished job (it never repeats by itself).
    void crushTimerTimer();
    // The main window closes: the device is switched off, the port closed, Zuk.ini written.
    void formClose();

    // --- Port menu ---
    // "Com1" .. "Com8" (item 1..8).
    void comPortClick(int item);
    void deviceReadyCheck();

    // Shows a failure of a file operation; true when there was none.
    bool reportFileResult(const FileResult& result);

    Screen& screen;
    MenuStates menus;
    Clock& clock;
    ProgramDir dir;
    Texts texts;
    Settings settings;
    // The operator's choices for the next job: "Гравировка" edits them, Zuk.ini keeps their
    // lasting part, and "Работа" makes a job of them (see JobRequest).
    EngravingChoices choices;
    SerialPort port;
    CommandExchange exchange;
    CommandSet commands;
    ImagePreparation image;
    ManualMovement movement;
    FrameTrace frame;
    Job job;
    // The journal of jobs: the job under way, its record when it ends.
    JobJournal journal;

    TimerStates timers;
    int keepAliveCount = 0;
    // A recovery file was found at start-up and the job is not yet finished or ignored.
    bool unfinishedJob = false;
    RecoveryHeader savedJob;
    // A picture has been opened successfully ("Self Testing" becomes available).
    bool pictureOpened = false;
    // The self-test panel's "StepControl" box.
    bool stepControl = true;
    // Warm-up cycles chosen in the unfinished-job dialog.
    int resumeWarmUpCycles = 3;
    // The port opened at start-up instead of the one Zuk.ini names, for this run only (the
    // batch tool's --port); the file keeps its own.
    std::optional<QString> portOverride;

private:
    void loadConfigurationFile();
    void loadLanguageFile();
    void loadPreparationFile();
    void noticeUnfinishedJob();
    void readAboutTextsFile();
    void programMotorDrivers();
    ImageLinks imageLinks();
};

} // namespace zuk
