#include "run/EngravingRun.h"

#include "app/Program.h"
#include "run/DevicePreparation.h"
#include "run/LiveProgress.h"
#include "run/PlanFiles.h"
#include "run/RunLine.h"
#include "run/RunState.h"

#include <QDir>

namespace zuk {

namespace {

qint64 now(const Program& program) {
    return program.clock.monotonicMs();
}

void normalEnd(Program& program) {
    program.job.outcome = RunOutcome::Finished;
    program.timers.optimizing = false;
    enterWorkState(program);
    CommandSet& commands = program.commands;
    commands.endPrint();
    commands.resetError(program.settings.fieldWidth, program.settings.fieldHeight);
    commands.off();
    program.exchange.setLinkActive(false);
    enterWorkState(program);
    program.reportFileResult(removeRecoveryFile(program.dir));
    program.job.plan.close();
    noteProgressResult(program, program.job.progress.remove());
    program.unfinishedJob = false;
    // The device is off and the link flag clear: the window returns to where "Тест"
    // reconnects and the next job can be prepared.
    enterNoDeviceState(program);
    showJobEnd(program, JobEnd::Finished);
}

// The plan ran through while the link was down: the plate is not engraved (or not all of
// it), so the job stays to be finished once the device answers.
void endWithoutDevice(Program& program) {
    const Job& job = program.job;
    const bool nothingSent =
        runningPass(program) == 1 && job.linesWithoutLink == job.plan.linesRead();
    const qint32 linesNotSent = job.linesWithoutLink;
    program.job.outcome = RunOutcome::EndedWithoutDevice;
    program.timers.optimizing = false;
    program.job.plan.close();
    program.exchange.setLinkActive(false);
    enterWorkState(program);
    noteProgressResult(program, program.job.progress.flush(now(program)));
    keepJobPending(program);
    enterNoDeviceState(program);
    showJobEnd(program, JobEnd::Stopped);
    const QString kept = QLatin1Char(' ') + jobKeptText();
    program.screen.showMessage(
        MessageKind::Error,
        nothingSent
            ? QStringLiteral("Гравировальное устройство не отвечало: на него ничего не "
                             "отправлено, пластина не гравирована.") +
                  kept
            : QStringLiteral("Связь с гравировальным устройством прервалась: %1 строк плана не "
                             "отправлены на устройство, работа не завершена.")
                      .arg(linesNotSent) +
                  kept);
}

// A plan line the run cannot carry out, or a plan that cannot be read: the job stops where
// it is, and stays to be finished when the plan has been put right.
void stopOnPlanFault(Program& program, const QString& problem) {
    program.job.outcome = RunOutcome::PlanFault;
    suspendJob(program);
    enterWorkState(program);
    enterNoDeviceState(program);
    showJobEnd(program, JobEnd::Stopped);
    program.screen.showMessage(MessageKind::Error,
                               problem +
                                   QStringLiteral("\nРабота остановлена; данные для её завершения "
                                                  "сохранены."));
}

QString damagedLineMessage(const PlanReader& plan, const QByteArray& line) {
    return QStringLiteral("Строка %1 плана \"%2\" не может быть выполнена: \"%3\"")
        .arg(plan.linesRead())
        .arg(QDir::toNativeSeparators(plan.path()), QString::fromLatin1(line.left(40)));
}

QString offFieldLineMessage(const PlanReader& plan, const QByteArray& line, QSize field) {
    return damagedLineMessage(plan, line) +
           QStringLiteral("\nОна вывела бы головку за рабочее поле (%1 × %2 точек).")
               .arg(field.width())
               .arg(field.height());
}

// The first tick of a pass: the job start, the second pass's start or the resumption has
// homed the device and told it "Begin print", so the head's position now belongs to the pass.
void notePassBegun(Program& program) {
    ProgressRecorder& progress = program.job.progress;
    if (progress.active() && progress.current().pass == runningPass(program) &&
        progress.current().line == ProgressEntry::kNotStarted && program.exchange.linkActive())
        noteProgressResult(program, progress.markBegun(now(program)));
}

// The line is recorded as completed only when every command of it completed: the link is
// still up, no failure set the link-error flag, and every completion wait had the device's
// answer. A wait that ended without one leaves the line's outcome unknown, so the record stays
// where it was and a crash now resumes from this line; the lines after it, answered again,
// move the record on.
void noteLineDone(Program& program, bool everyWaitAnswered) {
    const bool linkActive = program.exchange.linkActive();
    const bool linkError = program.exchange.linkError();
    if (!linkActive && !linkError) {
        ++program.job.linesWithoutLink;
        return;
    }
    ProgressRecorder& progress = program.job.progress;
    if (!linkActive || linkError || !everyWaitAnswered || !progress.active() ||
        progress.current().pass != runningPass(program) ||
        progress.current().line == ProgressEntry::kNotStarted)
        return;
    noteProgressResult(program, progress.lineCompleted(program.job.plan.linesRead(), now(program)));
}

void endOfPlan(Program& program) {
    // A failure on the last line must not end the job as if the plate were engraved.
    if (program.exchange.linkError()) {
        faultStop(program);
        return;
    }
    if (program.job.linesWithoutLink > 0) {
        endWithoutDevice(program);
        return;
    }
    if (program.job.secondPassToCome()) {
        startSecondPass(program);
        return;
    }
    normalEnd(program);
}

// The record for the second pass, written before the recovery file says "Sec": with the
// first pass's completed entry kept beside it, it applies whichever file a crash leaves.
FileResult beginSecondPassProgress(Program& program, const QString& planPath,
                                   qint64 firstPassLines) {
    const PlanIdentityRead identity = identifyPlanFile(planPath);
    if (!identity.identity)
        return FileResult::failure(identity.error);
    ProgressRecord record{
        {ProgressEntry{2, ProgressEntry::kNotStarted, kSecondPassPlanName, *identity.identity}}};
    ProgressRecorder& progress = program.job.progress;
    if (progress.active() && progress.current().pass == 1) {
        ProgressEntry firstPass = progress.current();
        firstPass.line = firstPassLines;
        record.entries.push_back(firstPass);
    }
    return progress.begin(program.dir, record, now(program));
}

// The tick's work: one plan line, and at the end of the plan the second pass or the end.
void runTick(Program& program) {
    enterWorkState(program);
    if (program.exchange.linkError()) {
        faultStop(program);
        return;
    }
    notePassBegun(program);
    Job& job = program.job;
    ++job.planLineCounter;
    const qint64 linesBefore = job.plan.linesRead();
    if (linesBefore == 0)
        beginLiveProgressPass(program);
    const int unansweredBefore = program.exchange.unansweredWaits();
    const QByteArray line = job.plan.next();
    if (!job.plan.error().isEmpty()) {
        stopOnPlanFault(program, job.plan.error());
        return;
    }
    const LineOutcome outcome = runPlanLine(program, line);
    if (outcome == LineOutcome::Damaged || outcome == LineOutcome::OffField) {
        stopOnPlanFault(program, outcome == LineOutcome::Damaged
                                     ? damagedLineMessage(job.plan, line)
                                     : offFieldLineMessage(job.plan, line, job.field));
        return;
    }
    // A wait that ended without the device's answer does not stop the run: the next command
    // meets the failure if the device is really gone (a frame without an answer sets the
    // link-error flag, and the tick after it stops the run with the job kept).
    if (job.plan.linesRead() > linesBefore) {
        noteLineDone(program, program.exchange.unansweredWaits() == unansweredBefore);
        noteLiveProgressLine(program, line);
    }
    if (outcome == LineOutcome::SentNothing)
        return;
    if (job.plan.atEnd())
        endOfPlan(program);
}

} // namespace

void faultStop(Program& program) {
    program.job.outcome = RunOutcome::FaultStop;
    program.timers.optimizing = false;
    program.job.plan.close();
    // The job ends here; the window stays locked as the advice says (restart the program and
    // the device).
    program.menus.releaseFromJob();
    enterWorkState(program);
    noteProgressResult(program, program.job.progress.flush(now(program)));
    keepJobPending(program);
    showJobEnd(program, JobEnd::Stopped);
    program.screen.showFaultAdvice();
}

void optimizingTimer(Program& program) {
    const qint64 startMs = now(program);
    runTick(program);
    endLiveProgressTick(program, startMs);
}

void startSecondPass(Program& program) {
    Job& job = program.job;
    job.secondPassRunning = true;
    program.timers.timer4 = false;
    const QString planPath = program.dir.path(kSecondPassPlanName);
    const qint64 firstPassLines = job.plan.linesRead();
    if (!job.plan.open(planPath)) {
        stopOnPlanFault(program, job.plan.error());
        return;
    }
    noteProgressResult(program, beginSecondPassProgress(program, planPath, firstPassLines));
    // Without "Sec" in the recovery file a crash would resume the first pass again: the job
    // stops before the second pass sends anything. The file still describes the first pass,
    // which the record shows completed, so a resumption goes on with the second pass.
    if (FileResult written =
            writeRecoveryFile(program.dir, jobRecoveryData(job), RecoveryStage::SecondPassStart);
        !written.ok()) {
        stopOnPlanFault(program, written.error);
        return;
    }
    // The second pass's levels go to the device; the first pass's stay in memory.
    DevicePreparation device(program, RepairedAnswers::Accept);
    device.send({PassSetting::StrikeProfile, PassSetting::Resolution, PassSetting::Home},
                job.choices.second);
    program.commands.position = {};
    job.planLineCounter = 0;
    job.linesWithoutLink = 0;
    // A setting that failed: the pass must not run from where the head stood with the forces
    // the device kept. The fault stop keeps the job, and its resumption runs the whole pass
    // from home.
    if (!device.beginPrint())
        program.exchange.setLinkError(true);
}

FileResult beginJobProgress(Program& program) {
    Job& job = program.job;
    job.linesWithoutLink = 0;
    job.progressFailureShown = false;
    const PlanIdentityRead identity = identifyPlanFile(program.dir.path(kEngravingPlanName));
    if (!identity.identity)
        return FileResult::failure(identity.error);
    return job.progress.begin(
        program.dir,
        ProgressRecord{
            {ProgressEntry{1, ProgressEntry::kNotStarted, kEngravingPlanName, *identity.identity}}},
        now(program));
}

} // namespace zuk
