#include "run/Resumption.h"

#include "app/Program.h"
#include "journal/JobJournal.h"
#include "plan/JobTimeEstimate.h"
#include "plan/TimeEstimate.h"
#include "run/DevicePreparation.h"
#include "run/PlanFiles.h"
#include "run/PlanRebuild.h"
#include "run/PlanScan.h"
#include "run/RunState.h"
#include "run/StrikeMarks.h"
#include "service/FieldBounds.h"
#include "service/ServiceFunctions.h"

#include <QDir>

namespace zuk {

namespace {

const QString kJobKept = QStringLiteral("\nДанные незавершённой работы сохранены.");

// The resumption cannot go on: the files stay as they are, the job stays pending, and the
// window is usable again, STOP hidden. The head may have moved, so the plan position no longer
// says where it is: the next manual move homes it first.
void stopResuming(Program& program, const QString& why) {
    journalJobEndedBeforeRun(program, JournalOutcome::ResumptionFailed);
    program.commands.headPositionUnknown = true;
    program.menus.work(false);
    enterIdleState(program);
    if (!why.isEmpty())
        program.screen.showMessage(MessageKind::Error, why + kJobKept);
}

// The device failed during the resumption (the exchange has shown which command): the job
// stays, to be finished once the device answers again.
void stopResumingOnDevice(Program& program, const QString& why) {
    stopResuming(program,
                 why + QStringLiteral(" Возобновление работы остановлено.") + kJobKept +
                     QStringLiteral(" Когда устройство будет готово, выберите «Тест» и снова "
                                    "выберите «Завершить незавершенный проект.»."));
}

QString noMatchMessage(StoppedPosition stop, const QString& planPath) {
    return QStringLiteral("Головка устройства сообщила положение: строка %1, столбец %2. В "
                          "оставшейся части плана \"%3\" нет такого места, поэтому продолжить "
                          "работу с места остановки нельзя.")
        .arg(stop.row)
        .arg(stop.column)
        .arg(QDir::toNativeSeparators(planPath));
}

// The job as the recovery file describes it, once the resumption goes ahead (a refused one
// leaves the program as it was): the choices the file does not record are the program's. The
// program's picture name, placement, forces and density line become the job's too, as if the
// operator had prepared it.
void applyRecoveryData(Program& program, const RecoveryData& data) {
    const QPoint offset(data.columnOffset, data.rowOffset);
    program.image.picture().fileName = data.pictureFile;
    program.image.placement().offset = offset;
    program.choices.first = data.first;
    program.choices.second = data.second;
    program.choices.resolutionIndex = data.resolutionIndex;

    Job& job = program.job;
    job.choices = program.choices;
    restoreChoices(data, job.choices);
    job.pictureFile = data.pictureFile;
    job.offset = offset;
    job.field = workingFieldInDots(program.image.view().image().size(), data.resolutionIndex);
    job.secondPassRunning = false;
    journalJobDescribed(program);
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

// The needle may be down on the stopped cell (a crash in the middle of a line): it is raised
// first, so that the warm-up strokes do not pit the plate. The rebuilt plan lowers it again
// ("Down: ") before its first strike.
void warmUp(Program& program) {
    if (program.resumeWarmUpCycles <= 0)
        return;
    program.commands.needleUp();
    for (int cycle = 0; cycle < program.resumeWarmUpCycles; ++cycle)
        warmUpSeries(program);
}

// The device as the job start leaves it, for the rebuilt plan, then "Begin print"; nothing of
// it after a setting that failed, so the run never moves and strikes with what the device held
// before (after a restart, its own defaults).
std::optional<QString> prepareDevice(Program& program) {
    DevicePreparation device(program, RepairedAnswers::Accept);
    device.send({PassSetting::Resolution, PassSetting::StrikeProfile}, program.job.choices.first);
    device.send({PassSetting::StrikeTimingT, PassSetting::StrikeTimingU, PassSetting::Home,
                 PassSetting::StepTime});
    if (device.beginPrint())
        return std::nullopt;
    return device.failureText();
}

// The recovery file and the plan it names, with the progress record's entry for that plan;
// nothing when the resumption cannot go on (the reason is shown and the window usable again).
std::optional<Interrupted> readInterrupted(Program& program, RecoveryData& data) {
    const RecoveryRead<RecoveryData> recovery = readRecoveryFile(program.dir);
    if (!recovery.ok()) {
        stopResuming(
            program,
            recovery.status == RecoveryStatus::Missing
                ? QStringLiteral("Файл восстановления \"%1\" не найден.").arg(kRecoveryFileName)
                : recovery.error);
        return std::nullopt;
    }
    data = recovery.data;
    Interrupted job;
    job.pass = data.secondPassStarted() ? 2 : 1;
    job.planName = job.pass == 2 ? kSecondPassPlanName : kEngravingPlanName;
    job.planPath = program.dir.path(job.planName);
    const PlanIdentityRead identity = identifyPlanFile(job.planPath);
    if (!identity.identity) {
        stopResuming(program, identity.error);
        return std::nullopt;
    }
    job.plan = *identity.identity;
    job.progress = readProgressRecord(program.dir).record.find(job.pass, job.plan);
    return job;
}

// Puts the rest of the plan in place of the plan and opens it for the run; false (the reason
// shown) when a file could not be written or read.
bool installRestOfPlan(Program& program, const Interrupted& job, const PlanCut& cut) {
    if (FileResult replaced = replacePlan(program, job, cut); !replaced.ok()) {
        stopResuming(program, replaced.error);
        return false;
    }
    if (!program.job.plan.open(program.dir.path(kEngravingPlanName))) {
        stopResuming(program, program.job.plan.error());
        return false;
    }
    return true;
}

// The run takes over from the plan's first line, from home.
void startResumedRun(Program& program) {
    program.commands.position = {};
    program.job.planLineCounter = 0;
    program.job.linesWithoutLink = 0;
    program.unfinishedJob = false;
    program.timers.optimizing = true;
}

// The status bar's times are those of the rest of the job, and the view shows where the head
// goes on: the cell the rest of the plan starts from (the "GoTo: " before the cut line), or the
// picture's origin when the plan is kept from a whole line on. (The position the device
// reports wraps round, so it does not tell the cell by itself.)
void showResumedJob(Program& program, const PlanCut& cut, QPoint offsets) {
    const qint64 estimate = estimateRestOfJob(program);
    showJobEstimate(program.screen, program.texts, program.clock.now(), estimate);
    journalJobEstimated(program, estimate, 0);
    FieldCell from{offsets.y(), offsets.x()};
    if (cut.kind == PlanCut::Kind::AtLine) {
        from.row += cut.start.row;
        from.column += cut.start.column;
    }
    program.screen.scrollFieldViewTo(QRect(viewPixelOfCell(from), QSize(1, 1)));
}

} // namespace

void resumeJob(Program& program) {
    // One attempt per choice of the operator, whatever happens below.
    program.timers.crush = false;
    program.job.outcome.reset();
    // The progress line and the run's figures count from the resumption.
    program.job.liveProgress = JobLiveProgress{};
    journalJobBegun(program, JournalKind::Resumption);
    program.timers.timer4 = false;
    // From here to one of the job's ends no answer of the device opens the menus.
    program.menus.holdForJob();
    enterWorkState(program);
    program.menus.preparingRun();
    // Shown before the device is asked anything: homing alone can take many seconds.
    program.screen.processEvents();

    if (!program.commands.how()) {
        stopResumingOnDevice(program, QStringLiteral("Устройство не сообщило положение головки."));
        return;
    }
    const StoppedPosition stop{program.commands.reportedRow, program.commands.reportedColumn};
    RecoveryData recovery;
    const std::optional<Interrupted> job = readInterrupted(program, recovery);
    if (!job)
        return;
    const QPoint offsets(recovery.columnOffset, recovery.rowOffset);
    const PlanCut cut = findCut(*job, offsets, stop);
    if (cut.kind == PlanCut::Kind::Failed || cut.kind == PlanCut::Kind::NotFound) {
        stopResuming(program, cut.kind == PlanCut::Kind::Failed
                                  ? cut.error
                                  : noMatchMessage(stop, job->planPath));
        return;
    }
    applyRecoveryData(program, recovery);

    warmUp(program);
    if (!installRestOfPlan(program, *job, cut))
        return;
    // The rebuilt plan is in place with its record at the pass's beginning, so the next
    // attempt runs all of it from home, wherever the head is now.
    if (const std::optional<QString> failed = prepareDevice(program)) {
        program.job.plan.close();
        stopResumingOnDevice(program, *failed);
        return;
    }
    startResumedRun(program);
    showResumedJob(program, cut, offsets);
}

} // namespace zuk
