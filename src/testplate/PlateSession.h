#pragma once

#include "testplate/TestPlate.h"

#include <optional>
#include <vector>

namespace zuk {

class Program;

// One test plate struck as one: its small jobs started one after another through the job
// start, each job's end taken in, the whole plate's estimate and one progress across the
// jobs. The window and zuk-batch drive it the same way: startNext, the job's run, jobEnded.
class PlateSession {
public:
    // Builds every job's plan ahead of the run for the estimate and the lines.
    PlateSession(TestPlate plate, const Program& program);

    const TestPlate& plate() const { return plate_; }
    // The estimate of the whole plate, 10-µs units: the jobs' estimates added up.
    qint64 estimate() const;
    // Jobs done of all, and plan lines done of all the jobs' lines, the running job's too.
    PlateProgress progress(const Program& program) const;

    // Every job has finished.
    bool finished() const { return next_ >= plate_.jobs().size(); }
    // The forces of the job to run next (or running).
    std::vector<int> currentForces() const;
    // Starts the next job as "Работа" starts one; false when the job start refused it (it has
    // told the operator why).
    bool startNext(Program& program);
    // The job started last has ended: finished, or stopped before its end (kept or not).
    void jobEnded(bool finished);
    // Where to go on after the job that did not finish: its first force when nothing of it was
    // struck, else the first force of the job after it; nothing when no patch is left.
    std::optional<int> continueFrom(bool jobStruckAnything) const;

private:
    TestPlate plate_;
    std::vector<PlateJobFigures> figures_;
    std::size_t next_ = 0;
    bool running_ = false;
    qint64 linesDone_ = 0;
    qint64 startedLines_ = 0;
};

} // namespace zuk
