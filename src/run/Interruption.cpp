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
    const bool secondGroup = program.settings.secondMode == LevelMode::Group;
    layout.firstGroup = secondGroup;
    program.timers.optimizing = false;
    noteProgressResult(program, program.job.progress.flush(program.clock.monotonicMs()));
    layout.shown = true;
    layout.firstLevels = program.settings.first;
    if (!program.job.secondPass) {
        // A single-pass job, or the second pass of a double-pass one.
        layout.fullWidth = layout.secondHalfShown = program.job.secondPassRunning;
        layout.firstHalfEnabled = !program.job.secondPassRunning;
        return layout;
    }
    // The first pass of a double-pass job: both halves, both sets of levels.
    layout.secondGroup = secondGroup;
    layout.secondHalfShown = true;
    layout.fullWidth = true;
    layout.secondLevels = program.settings.second;
    return layout;
}

void continueWork(Program& program) {
    program.commands.setStrike(program.job.secondPassRunning ? program.settings.second
                                                             : program.settings.first);
    program.timers.optimizing = true;
}

void finishWork(Program& program) {
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
