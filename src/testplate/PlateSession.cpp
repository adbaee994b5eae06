#include "testplate/PlateSession.h"

#include "app/Program.h"

namespace zuk {

PlateSession::PlateSession(TestPlate plate, const Program& program)
    : plate_(std::move(plate)), figures_(plate_.planJobs(program)) {}

qint64 PlateSession::estimate() const {
    qint64 total = 0;
    for (const PlateJobFigures& job : figures_)
        total += job.estimate;
    return total;
}

PlateProgress PlateSession::progress(const Program& program) const {
    PlateProgress progress;
    progress.jobs = int(figures_.size());
    progress.jobsDone = int(next_);
    for (const PlateJobFigures& job : figures_)
        progress.lines += job.lines;
    progress.linesDone = linesDone_;
    if (running_)
        progress.linesDone += program.job.liveProgress.meter.figures().linesDone;
    return progress;
}

std::vector<int> PlateSession::currentForces() const {
    return finished() ? std::vector<int>{} : plate_.forcesToStrike(plate_.jobs()[next_]);
}

bool PlateSession::startNext(Program& program) {
    if (finished())
        return false;
    const JobStartResult started = plate_.start(plate_.jobs()[next_], program);
    running_ = started.started;
    startedLines_ = started.planLines;
    return started.started;
}

void PlateSession::jobEnded(bool finished) {
    running_ = false;
    if (!finished)
        return;
    linesDone_ += startedLines_;
    ++next_;
}

std::optional<int> PlateSession::continueFrom(bool jobStruckAnything) const {
    if (finished())
        return std::nullopt;
    const int job = plate_.jobs()[next_];
    if (!jobStruckAnything)
        return plate_.forcesToStrike(job).front();
    return plate_.forceAfter(job);
}

} // namespace zuk
