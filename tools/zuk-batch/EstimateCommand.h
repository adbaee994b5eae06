#pragma once

#include "Command.h"

namespace zuk::batch {

// zuk-batch estimate PLAN.txt [--link-delay MS] [--step-factor F] [--motor-p P]
//                   [--levels L8,L16,L24,L32] [--u U] [--t T] [--col-offset C]
//                   [--row-offset R] [--second-pass] [--link-inactive]
// The time estimate "Работа" shows for the plan, with the strike durations SetStrike computes
// from the step-time factor, the motor parameter, the forces and U and T. Prints "T <n>" (in
// 10-µs units) and then the duration.
int runEstimate(const QStringList& args, Streams streams);

} // namespace zuk::batch
