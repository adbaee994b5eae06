#pragma once

#include "plan/JobRequest.h"
#include "plan/PlanBuilder.h"

#include <QString>

#include <functional>
#include <optional>

namespace zuk {

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

// "Работа" on either properties panel (Button17Click, shared by Button19) for the request
// the operator prepared: the job start. Its steps, in order, are those of "The job start" in
// docs/engraving-run.md: Zuk.ini saved, the keep-alive stopped, the panels hidden
// (`hidePanels`), the refusals, the view
// cleared of the marks of the job before, the plan built, then launchJob.
//
// Nothing is sent after a refusal, a failed build or a file that cannot be written or read
// (the message names it): the run timer stays off, no job is left pending, and the window
// goes back to preparing jobs (the link up state while the device answers).
JobStartResult startJob(Program& program, const JobRequest& request,
                        const std::function<void()>& hidePanels);

// The job start's steps, for those that run a job as it does (the preview):
// The plan "123123123.txt" of the request's dots, with its quality, written into `planDir`
// (the program directory for a job), the search shown on the program's screen.
PlanBuildResult buildJobPlan(Program& program, const JobRequest& request,
                             const ProgramDir& planDir);
// Everything after the plan is built in the program directory: the program's job made of the
// request, the greetings, the files, the device programmed and told "Begin print", the
// estimate and the run timer on; a file error refuses the job as startJob does.
JobStartResult launchJob(Program& program, const JobRequest& request, qint64 planLines);

} // namespace zuk
