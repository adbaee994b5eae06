#pragma once

#include "run/Job.h"

#include <functional>
#include <optional>

namespace zuk {

class Program;

// The main window's timers that carry a job, in the order a step looks for them: CrushTimer (a
// resumption), Timer3 (the files of an ignored job removed), Optimizing (one plan line).
enum class JobTimer { Crush, Timer3, Optimizing };

// One tick of a job timer: what the window's timer of that name runs, and what a runner step
// runs.
void tickJobTimer(Program& program, JobTimer timer);

// How driving a job's timers ended.
struct RunReport {
    // How the run ended; nothing when the runner stopped before an end, or when no run began
    // (a resumption that could not go on).
    std::optional<RunOutcome> outcome;
    // The ticks run.
    qint64 ticks = 0;
    // A timer was still on at the tick limit.
    bool tickLimitReached = false;
    // The check before a tick stopped the runner with a timer still on.
    bool stoppedBeforeATick = false;
};

// Drives the program's job timers where no window runs them (zuk-batch, the preview, the run's
// fuzz target, the tests) exactly as the window does: one tick at a time of the first timer
// that is on, so one plan line per Optimizing tick and nothing else running during a tick,
// until no timer is on. The window's own timers call tickJobTimer, the same step.
class JobRunner {
public:
    explicit JobRunner(Program& program) : program_(program) {}

    // Stops after this many ticks with the job as it stands (no limit by default).
    void setTickLimit(qint64 ticks) { tickLimit_ = ticks; }
    // Called before every tick (progress, window events, a termination request); false stops
    // the runner there with the job as it stands.
    void setBeforeEachTick(std::function<bool()> check) { beforeEachTick_ = std::move(check); }

    // The timer the next step ticks; nothing when none is on.
    std::optional<JobTimer> nextTimer() const;
    // One tick of the first timer that is on; false when none is.
    bool step();
    // Steps until no timer is on, the tick limit or the check stops it; how the run ended.
    RunReport run();

private:
    Program& program_;
    std::optional<qint64> tickLimit_;
    std::function<bool()> beforeEachTick_;
};

} // namespace zuk
