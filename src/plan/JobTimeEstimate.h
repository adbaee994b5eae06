#pragma once

#include <QtGlobal>

#include <optional>

namespace zuk {

class Program;

// The time estimate of the job start, on the plan the job has open (program.job.plan):
// refreshes the link delay (the link timing measurement, 101 greetings while the link is
// active), adds up the plan once per pass with the values the command set keeps after
// SetStrike, the placement offsets and the second-pass flag, and fills the status bar with
// the end time and the duration. The plan is left at its first line. Gives the estimate in
// 10-µs units; a plan that is not open or cannot be read shows its message, leaves the status
// bar as it was and gives nothing.
std::optional<qint64> estimateJobTime(Program& program);

// The estimate of what is left of a resumed job, in 10-µs units: the rest of the plan
// "123123123.txt" and, while the second pass is still to come, its whole plan "123Sec.txt",
// each read once with the values the command set keeps and the placement offsets. It asks the
// device nothing (the link delay is the one measured last). A plan that cannot be read adds
// nothing.
qint64 estimateRestOfJob(const Program& program);

} // namespace zuk
