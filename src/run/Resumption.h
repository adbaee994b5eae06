#pragma once

namespace zuk {

class Program;

// One tick of `CrushTimer`: finishes the job the recovery file describes from where the
// device's head stopped. Asks the device for the stopped position, cuts the plan there with
// the progress record (the passed cells of the cut line set to "0"), warms the needle up,
// prepares the device and starts the run. A tick never repeats itself: when the position,
// the files or the plan do not allow an exact resumption it tells the operator why, keeps
// the files and leaves the window usable.
void resumeJob(Program& program);

} // namespace zuk
