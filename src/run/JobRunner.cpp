#include "run/JobRunner.h"

#include "app/Program.h"
#include "run/EngravingRun.h"

namespace zuk {

void tickJobTimer(Program& program, JobTimer timer) {
    switch (timer) {
    case JobTimer::Crush:
        program.crushTimerTimer();
        return;
    case JobTimer::Timer3:
        program.timer3Timer();
        return;
    case JobTimer::Optimizing:
        optimizingTimer(program);
        return;
    }
}

std::optional<JobTimer> JobRunner::nextTimer() const {
    const TimerStates& timers = program_.timers;
    if (timers.crush)
        return JobTimer::Crush;
    if (timers.timer3)
        return JobTimer::Timer3;
    if (timers.optimizing)
        return JobTimer::Optimizing;
    return std::nullopt;
}

bool JobRunner::step() {
    const std::optional<JobTimer> timer = nextTimer();
    if (!timer)
        return false;
    tickJobTimer(program_, *timer);
    return true;
}

RunReport JobRunner::run() {
    RunReport report;
    while (nextTimer()) {
        if (tickLimit_ && report.ticks >= *tickLimit_) {
            report.tickLimitReached = true;
            break;
        }
        if (beforeEachTick_ && !beforeEachTick_()) {
            report.stoppedBeforeATick = true;
            break;
        }
        step();
        ++report.ticks;
    }
    report.outcome = program_.job.outcome;
    return report;
}

} // namespace zuk
