#pragma once

#include "app/ProgramDir.h"
#include "image/DotImage.h"
#include "plan/PlanProgress.h"

#include <QString>

namespace zuk {

// The engraving plan in the program directory.
inline constexpr const char* kPlanFileName = "123123123.txt";

// What a plan build gives the job start.
struct PlanBuildResult {
    bool ok = false;
    // For the operator when the build failed: a file that could not be written (named), or a
    // picture the builder cannot plan. No plan file has then been put in place and no job
    // may start.
    QString error;
    // Lines of the plan file as the run reads them.
    qint64 lines = 0;
    // Regions planned.
    qint64 regions = 0;
};

// Where a build writes. An empty dump path writes no dump.
struct PlanFiles {
    QString plan;
    QString dump;
};

// Builds the engraving plan of the dots region by region: writes the gray-grid dump "123Bm.txt"
// and the plan "123123123.txt" in the program directory. `singleSided` is the quality
// "Высокое" (every stretch struck left to right, the needle raised between rows); otherwise
// strike runs alternate direction from row to row.
//
// The dots are not consumed: their values are the converted ones again afterwards, so a
// second build of the same dots gives the same plan. The mark grid and the empty-row table are
// the builder's own, made for each build.
//
// A file that cannot be written stops the build at once; a picture whose regions cannot be
// planned (an outline that never leads back to its start, a region found again and again
// without progress) is refused. Either way nothing is put in place of an existing plan.
//
// The caller resets the plan position and the plan line counter for the run, and hides the
// controls that start a job: `progress` lets the window handle messages while the build runs.
PlanBuildResult buildPlan(DotImage& picture, bool singleSided, const ProgramDir& dir,
                          PlanProgress& progress);

// The same build written to the given files (the batch tool's --plan and --dump).
PlanBuildResult buildPlanFiles(DotImage& picture, bool singleSided, const PlanFiles& files,
                               PlanProgress& progress);

} // namespace zuk
