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

} // namespace zuk
