#pragma once

#include "plan/PlanBuilder.h"

#include <QString>

namespace zuk {

// The plan files of a job, all in the program directory.
inline const QString kEngravingPlanName = QString::fromLatin1(kPlanFileName);
// Its copy for the second pass; the job start writes it as "123sec.txt", the same file to the
// program, which matches names without regard to letter case.
inline const QString kSecondPassPlanName = QStringLiteral("123Sec.txt");
// The rest of an interrupted plan, written by the resumption before it takes the plan's name.
inline const QString kRebuiltPlanName = QStringLiteral("1.txt");

} // namespace zuk
