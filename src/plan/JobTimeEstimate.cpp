#include "plan/JobTimeEstimate.h"

#include "app/Program.h"
#include "plan/TimeEstimate.h"
#include "run/PlanFiles.h"

namespace zuk {

std::optional<qint64> estimateJobTime(Program& program) {
    program.commands.measureLinkTiming();
    const QPoint offset = program.job.offset;
    const EstimateInputs inputs =
        estimateInputs(program.commands, offset.x(), offset.y(), program.job.secondPassToCome(),
                       program.exchange.linkActive());
    const JobEstimate estimate = estimateJob(program.job.plan, inputs);
    if (!estimate.ok()) {
        program.screen.showMessage(MessageKind::Error, estimate.error);
        return std::nullopt;
    }
    showJobEstimate(program.screen, program.texts, program.clock.now(), estimate.total);
    return estimate.total;
}

qint64 estimateRestOfJob(const Program& program) {
    const QPoint offset = program.job.offset;
    const EstimateInputs inputs = estimateInputs(program.commands, offset.x(), offset.y(), false,
                                                 program.exchange.linkActive());
    qint64 total = 0;
    QStringList plans{kEngravingPlanName};
    if (program.job.secondPassToCome())
        plans << kSecondPassPlanName;
    for (const QString& name : plans) {
        PlanReader plan;
        if (plan.open(program.dir.path(name)))
            total += estimateJob(plan, inputs).total;
    }
    return total;
}

} // namespace zuk
