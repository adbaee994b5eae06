#pragma once

#include "plan/PlanBuilder.h"

#include <QString>

#include <functional>
#include <optional>

namespace zuk {

class ImagePreparation;
class Program;

// What "Работа" did.
struct JobStartResult {
    // The job runs: the run timer is on with the plan open at its first line.
    bool started = false;
    // Lines of the plan "123123123.txt" (each pass runs as many).
    qint64 planLines = 0;
    // The job's expected duration in 10-µs units, both passes, as the status bar shows it.
    qint64 estimate = 0;
};

// "Работа" on either properties panel (Button17Click, shared by Button19): saves Zuk.ini,
// stops the keep-alive, hides the panels (`hidePanels`), refuses a picture that lies off the
// field, shows the picture without the marks of the job before, builds the plan "123123123.txt",
// greets the device five times and sends 'T' 46 and 'U' 64, opens the plan, copies it to
// "123sec.txt" for a second pass, begins the progress record and writes the recovery file, sends
// SetResolutionSteps (16 + r, r as chosen, -1 and 9 included), SetStepTime, SetStrike with the
// first pass's levels, "Reset eror" and "Begin print", puts the plan position and line counter to
// 0, shows the estimate and turns the run timer on.
//
// Nothing is sent after a refusal, a failed build or a file that cannot be written or read
// (the message names it): the run timer stays off, no job is left pending, and the window
// goes back to preparing jobs (the link up state while the device answers).
JobStartResult startJob(Program& program, const std::function<void()>& hidePanels);

// The job start's steps, for those that run a job as it does (the preview):
// Why no job can start on the picture as it is placed now (no picture, or one that lies off
// the field), with the message the operator is shown; nothing when a job can start.
std::optional<QString> jobRefusal(const ImagePreparation& image);
// The plan "123123123.txt" of the program's picture, with the quality chosen, written into
// `planDir` (the program directory for a job), the search shown on the program's screen.
PlanBuildResult buildJobPlan(Program& program, const ProgramDir& planDir);
// Everything after the plan is built in the program directory: the greetings, the files,
// the device programmed and told "Begin print", the estimate and the run timer on; a file
// error refuses the job as startJob does.
JobStartResult launchJob(Program& program, qint64 planLines);

// What the operator is told when there is no picture to engrave.
QString noPictureMessage();

} // namespace zuk
