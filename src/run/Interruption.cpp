#include "run/Interruption.h"

#include "app/Program.h"
#include "run/LiveProgress.h"
#include "run/RunState.h"

namespace zuk {

AbortPanelLayout stopClick(Program& program, bool stopEntryVisible) {
    AbortPanelLayout layout;
    if (!stopEntryVisible)
        return layout;
    // The first half's mode follows the second pass's group button, as the panel was designed.
    const Job& job = program.job;
    const bool secondGroup = job.choices.secondMode == LevelMode::Group;
    layout.firstGroup = secondGroup;
    program.timers.optimizing = false;
    program.menus.jobPaused();
    noteProgressResult(program, program.job.progress.flush(program.clock.monotonicMs()));
    layout.shown = true;
    layout.firstLevels = job.choices.first;
    if (!job.secondPassToCome()) {
        // A single-pass job, or the second pass of a double-pass one.
        layout.fullWidth = layout.secondHalfShown = job.secondPassRunning;
        layout.firstHalfEnabled = !job.secondPassRunning;
        return layout;
    }
    // The first pass of a double-pass job: both halves, both sets of levels.
    layout.secondGroup = secondGroup;
    layout.secondHalfShown = true;
    layout.fullWidth = true;
    layout.secondLevels = job.choices.second;
    return layout;
}

void continueWork(Program& program) {
    // The abort panel's trackbars set the operator's forces; the job goes on with them.
    program.job.choices.first = program.choices.first;
    program.job.choices.second = program.choices.second;
    program.commands.setStrike(program.job.runningForces());
    program.timers.optimizing = true;
}

void finishWork(Program& program) {
    program.job.outcome = RunOutcome::StoppedAndKept;
    suspendJob(program);
    // The job ends here, kept for the next start; the window stays locked.
    program.menus.releaseFromJob();
    enterWorkState(program);
    showJobEnd(program, JobEnd::Interrupted);
}

void interruptRunOnClose(Program& program) {
    if (program.timers.optimizing || program.job.plan.isOpen())
        finishWork(program);
}

} // namespace zuk
