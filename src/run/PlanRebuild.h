#pragma once

#include "app/ProgramDir.h"
#include "run/PlanScan.h"
#include "run/ProgressRecord.h"

namespace zuk {

struct RebuiltPlan {
    FileResult result;
    PlanIdentity identity; // of the plan written
};

// Writes "1.txt", the rest of the interrupted plan: for a cut at a line, "GoTo: " to the
// cell where the cut line begins, "Down: " (the needle is down before any strike) and the cut
// line; then the source plan's lines after it (for a cut from a line: from that line on),
// unchanged. The file is forced to the disk before it gets its name.
RebuiltPlan writeRebuiltPlan(const ProgramDir& dir, const QString& sourcePath, const PlanCut& cut);

// Gives "1.txt" the name of the plan of its pass, replacing that plan in one step. For the
// second pass the first-pass plan is emptied first, so that the run goes straight to it.
FileResult installRebuiltPlan(const ProgramDir& dir, bool secondPass);

} // namespace zuk
