#include "run/Resumption.h"

#include "app/Program.h"
#include "run/PlanFiles.h"
#include "run/PlanRebuild.h"
#include "run/PlanScan.h"
#include "run/RunState.h"
#include "service/ServiceFunctions.h"

#include <QDir>

namespace zuk {

namespace {

// The resumption cannot go on: the files stay as they are, the job stays pending, and the
// window is usable again.
void stopResuming(Program& program, const QString& why) {
    enterIdleState(program);
    if (!why.isEmpty())
        program.screen.showMessage(
            MessageKind::Error, why + QStringLiteral("\nДанные незавершённой работы сохранены."));
}

QString noMatchMessage(StoppedPosition stop, const QString& planPath) {
    return QStringLiteral("Головка устройства сообщила положение: строка %1, столбец %2. В "
                          "оставшейся части плана \"%3\" нет такого места, поэтому продолжить "
                          "работу с места остановки нельзя.")
        .arg(stop.row)
        .arg(stop.column)
        .arg(QDir::toNativeSeparators(planPath));
}

void applyRecoveryData(Program& program, const RecoveryData& data) {
    program.image.picture().fileName = data.pictureFile;
    program.image.placement().offset = QPoint(data.columnOffset, data.rowOffset);
    program.settings.first = data.first;
    program.settings.second = data.second;
    program.settings.resolutionIndex = data.resolutionIndex;
    program.image.placement().resolution = data.resolutionIndex;
    program.job.secondPass = data.secondPass;
    program.job.secondPassRunning = false;
}

// The pass the recovery file names and where its plan stands.
struct Interrupted {
    int pass = 1;
    QString planName;
    QString planPath;
    PlanIdentity plan;
    std::optional<ProgressEntry> progress; // the record's entry for this pass and plan
};

// Where the rest of the plan begins: after the recorded line when the progress record
// applies to this plan, else at the first position that matches.
PlanCut findCut(const Interrupted& job, QPoint offsets, StoppedPosition stop) {
    PlanReader plan;
    if (!plan.open(job.planPath)) {
        PlanCut cut;
        cut.kind = PlanCut::Kind::Failed;
        cut.error = plan.error();
        return cut;
    }
    if (job.progress)
        return cutAfterRecordedLine(plan, offsets, stop, job.progress->line);
    return cutAtFirstMatch(plan, offsets, stop);
}

// Writes the rest of the plan and gives it the plan's name. The progress record names the
// new plan before the rename and keeps the old entry beside it until after, so that an
// entry applies to whichever plan a crash leaves in place.
FileResult replacePlan(Program& program, const Interrupted& job, const PlanCut& cut) {
    const RebuiltPlan rebuilt = writeRebuiltPlan(program.dir, job.planPath, cut);
    if (!rebuilt.result.ok())
        return rebuilt.result;
    ProgressRecord record{
        {ProgressEntry{job.pass, ProgressEntry::kNotStarted, job.planName, rebuilt.identity}}};
    if (job.progress)
        record.entries.push_back(*job.progress);
    ProgressRecorder& progress = program.job.progress;
    program.job.progressFailureShown = false;
    if (FileResult begun = progress.begin(program.dir, record, program.clock.monotonicMs());
        !begun.ok())
        return begun;
    if (FileResult installed = installRebuiltPlan(program.dir, job.pass == 2); !installed.ok())
        return installed;
    record.entries.resize(1);
    return progress.begin(program.dir, record, program.clock.monotonicMs());
}

void warmUp(Program& program) {
    for (int cycle = 0; cycle < program.resumeWarmUpCycles; ++cycle)
        warmUpSeries(program);
}

// The device as the job start leaves it, for the rebuilt plan; false when a command of it
// failed. After a failure every setting finds the link down and sends nothing, but "Begin
// print" goes out regardless and brings the link back, so the run would move and strike with
// what the device held before (after a restart, its own defaults): the wrong forces, the wrong
// steps, and a head that leaves the plan's path.
bool prepareDevice(Program& program) {
    CommandSet& commands = program.commands;
    commands.setResolutionSteps(program.settings.resolutionIndex);
    commands.setStrike(program.settings.first);
    commands.strikeSetting(CommandSet::kStrikeT, CommandSet::kJobStrikeT);
    commands.strikeSetting(CommandSet::kStrikeU, CommandSet::kJobStrikeU);
    commands.resetError(program.settings.fieldWidth, program.settings.fieldHeight);
    commands.setStepTime(commands.stepTimeFactor);
    if (!program.exchange.linkActive())
        return false;
    commands.beginPrint();
    return program.exchange.linkActive() && !program.exchange.linkError();
}

} // namespace

void resumeJob(Program& program) {
    // One attempt per choice of the operator, whatever happens below.
    program.timers.crush = false;
    program.timers.timer4 = false;
    enterWorkState(program);
    program.screen.showStopEntry();

    if (!program.commands.how()) {
        stopResuming(program, QString()); // the exchange has told why
        return;
    }
    const StoppedPosition stop{program.commands.reportedRow, program.commands.reportedColumn};

    const RecoveryRead<RecoveryData> recovery = readRecoveryFile(program.dir);
    if (!recovery.ok()) {
        stopResuming(
            program,
            recovery.status == RecoveryStatus::Missing
                ? QStringLiteral("Файл восстановления \"%1\" не найден.").arg(kRecoveryFileName)
                : recovery.error);
        return;
    }
    applyRecoveryData(program, recovery.data);

    Interrupted job;
    job.pass = recovery.data.secondPassStarted() ? 2 : 1;
    job.planName = job.pass == 2 ? kSecondPassPlanName : kEngravingPlanName;
    job.planPath = program.dir.path(job.planName);
    const PlanIdentityRead identity = identifyPlanFile(job.planPath);
    if (!identity.identity) {
        stopResuming(program, identity.error);
        return;
    }
    job.plan = *identity.identity;
    job.progress = readProgressRecord(program.dir).record.find(job.pass, job.plan);

    const QPoint offsets = program.image.placement().offset;
    const PlanCut cut = findCut(job, offsets, stop);
    if (cut.kind == PlanCut::Kind::Failed || cut.kind == PlanCut::Kind::NotFound) {
        stopResuming(program, cut.kind == PlanCut::Kind::Failed
                                  ? cut.error
                                  : noMatchMessage(stop, job.planPath));
        return;
    }

    warmUp(program);
    if (FileResult replaced = replacePlan(program, job, cut); !replaced.ok()) {
        stopResuming(program, replaced.error);
        return;
    }
    if (!program.job.plan.open(program.dir.path(kEngravingPlanName))) {
        stopResuming(program, program.job.plan.error());
        return;
    }
    // The rebuilt plan is in place with its record at the pass's beginning, so the next
    // attempt runs all of it from home, wherever the head is now.
    if (!prepareDevice(program)) {
        program.job.plan.close();
        stopResuming(program, QString()); // the exchange has told why
        return;
    }
    program.commands.position = {};
    program.job.planLineCounter = 0;
    program.job.linesWithoutLink = 0;
    program.unfinishedJob = false;
    program.timers.optimizing = true;
}

} // namespace zuk
