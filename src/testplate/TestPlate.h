#pragma once

#include "plan/JobRequest.h"
#include "plan/JobStart.h"
#include "testplate/PlateLayout.h"

#include <QString>

#include <optional>
#include <vector>

namespace zuk {

class Program;

// What the operator asks of a test plate: the forces, the patch size in dots, the placement
// button (1..9) and, to go on with a plate that was interrupted, the first force still to
// strike (the patches before it keep their places and are not struck again).
struct TestPlateChoices {
    PlateForces forces;
    int patchDots = kDefaultPatchDots;
    int placementButton = 5; // "Center Center"
    std::optional<int> continueFrom;
};

// What one small job of the plate holds, as its plan was built ahead of the run.
struct PlateJobFigures {
    qint64 lines = 0;
    qint64 estimate = 0; // 10-µs units
};

// Where a plate's run stands: the small jobs done and the plan lines done of all of them.
struct PlateProgress {
    int jobsDone = 0;
    int jobs = 0;
    qint64 linesDone = 0;
    qint64 lines = 0;
};

// A test plate laid out on the program's working field at its density line, placed as the
// placement button places a picture, and struck as consecutive small jobs of up to four
// patches: each job its own strike profile (the four forces set one by one, weakest at "8"),
// one pass, the part of the plate's picture that holds its patches at the plate's place.
class TestPlate {
public:
    // Nothing (and why) when the choices cannot be tried or the plate does not fit.
    static std::optional<TestPlate> lay(const Program& program, const TestPlateChoices& choices,
                                        QString* why);

    const PlateLayout& layout() const { return layout_; }
    // The whole plate, as the preview shows it.
    const DotImage& dots() const { return dots_; }
    QPoint offset() const { return offset_; }
    // The working field in dots at the plate's density line.
    QSize field() const;
    // The small jobs still to strike, in force order.
    const std::vector<int>& jobs() const { return jobs_; }
    // The forces of a job still to strike, weakest first.
    std::vector<int> forcesToStrike(int job) const;

    // The job as the job start takes it; its dots stay held by the plate until the next call.
    JobRequest request(int job, const Program& program);
    // The job started through the job start as "Работа" starts one.
    JobStartResult start(int job, Program& program);
    // Every job's plan built into a scratch directory and estimated with the values the
    // command set keeps and each job's own strike profile.
    std::vector<PlateJobFigures> planJobs(const Program& program);
    // The first force of the job after `job`; nothing after the last.
    std::optional<int> forceAfter(int job) const;

private:
    TestPlate(const TestPlateChoices& choices, PlateLayout layout, QPoint offset, QSize fieldView,
              const EngravingChoices& operators);
    EngravingChoices jobChoices(int job) const;
    DotImage jobDots(int job) const;

    TestPlateChoices choices_;
    PlateLayout layout_;
    DotImage dots_;
    QPoint offset_;
    QSize fieldView_;
    EngravingChoices operators_;
    std::vector<int> jobs_;
    DotImage requested_;
};

} // namespace zuk
