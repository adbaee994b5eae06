#pragma once

#include "app/ProgramDir.h"

namespace zuk {

class Program;

// The engraving run: the run timer `Optimizing` executes the plan one line per tick.
//
// Precondition of the first tick, as the job start and the resumption leave the job: the
// plan open at its first line, the recovery file written, the progress record begun, plan
// position and line counter 0, the device homed and told "Begin print", the run timer on.

// One tick of `Optimizing`: one plan line, and at the end of the plan the second pass or the
// end of the job.
void optimizingTimer(Program& program);

// The run stopped on a link failure: the run timer off, the plan closed, the job kept for the
// next start, `TForm4`'s advice; the window stays locked as the advice says.
void faultStop(Program& program);

// Enters the second pass: its plan "123Sec.txt", the recovery file with "Sec", the second
// pass's strike levels, homing and "Begin print".
void startSecondPass(Program& program);

// The job start's one call for a new job, once the plan "123123123.txt" and its second-pass
// copy are written and before the recovery file is: the progress record of a job whose first
// pass has not begun (the device is homed after it). It replaces whatever record an earlier
// job left.
FileResult beginJobProgress(Program& program);

} // namespace zuk
