// The time estimate of a plan of any bytes: a total that is never negative, twice the single
// pass for two passes, the same on every reading, and the plan left at its first line; or,
// for a plan the run cannot carry out, a message naming the plan and the line.
#include "fuzz/support/FuzzSupport.h"

#include "plan/PlanReader.h"
#include "plan/TimeEstimate.h"
#include "run/PlanFiles.h"

void zuk::fuzz::testOneInput(FuzzInput& input) {
    EstimateInputs inputs;
    inputs.linkDelay = input.number(0, 5000);
    inputs.stepTimeFactor = input.byte();
    inputs.motorParameter60 = input.byte();
    inputs.stepDuration = input.number(0, 60000);
    for (qint32& duration : inputs.strikeDurations)
        duration = input.number(0, 60000);
    inputs.columnOffset = input.number(-20000, 20000);
    inputs.rowOffset = input.number(-20000, 20000);
    inputs.linkActive = input.flag();
    const ProgramDir& dir = ScratchDir::holding(kEngravingPlanName, input.rest());
    const QString planPath = dir.path(kEngravingPlanName);

    PlanReader plan;
    require(plan.open(planPath), "the plan can be opened");
    const JobEstimate once = estimateJob(plan, inputs);
    if (!once.ok()) {
        require(once.error.startsWith(QStringLiteral("План \"") + planPath + "\", строка ",
                                      Qt::CaseSensitive),
                "a plan the run cannot carry out is named with its line", once.error);
        return;
    }
    require(plan.isOpen() && plan.linesRead() == 0, "the plan is left at its first line");
    require(once.total >= 0, "the total is never negative", QString::number(once.total));
    require(estimateJob(plan, inputs).total == once.total, "a second reading gives the same");
    inputs.secondPass = true;
    const JobEstimate twice = estimateJob(plan, inputs);
    require(twice.ok() && twice.total == 2 * once.total, "two passes take twice one pass",
            QString::number(twice.total) + " / " + QString::number(once.total));
    (void)durationText(twice.total, QLocale::c());
    (void)endTimeText(QDateTime(QDate(2026, 1, 5), QTime(9, 0)), twice.total, QLocale::c());
    return;
}
