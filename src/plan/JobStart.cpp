#include "plan/JobStart.h"

#include "app/Program.h"
#include "journal/JobJournal.h"
#include "plan/BufferedFileWriter.h"
#include "plan/JobTimeEstimate.h"
#include "plan/PlanBuilder.h"
#include "run/DevicePreparation.h"
#include "run/EngravingRun.h"
#include "run/PlanFiles.h"
#include "run/RunState.h"

#include <QDir>
#include <QFile>

namespace zuk {

namespace {

constexpr int kJobStartGreetings = 5;
constexpr qint64 kCopyChunkBytes = qint64(1) << 20;

// The job cannot start: the operator is told why (a warning for a job refused as it stands,
// an error for a failure), and the window goes back to preparing jobs with the run timer off.
JobStartResult refuse(Program& program, MessageKind kind, const QString& why) {
    program.timers.optimizing = false;
    program.job.plan.close();
    enterIdleState(program);
    if (!why.isEmpty())
        program.screen.showMessage(kind, why);
    return {};
}

// The job the request asks for, its first pass to run.
void takeRequest(Job& job, const JobRequest& request) {
    job.choices = request.choices;
    job.pictureFile = request.pictureFile;
    job.offset = request.offset;
    job.field = request.fieldDots();
    job.secondPassRunning = false;
    job.outcome.reset();
    // The progress line and the run's figures count this job alone.
    job.liveProgress = JobLiveProgress{};
}

// The plan's copy for the second pass, byte for byte, under "123sec.txt". Every other letter
// case of the name goes first: the run opens "123Sec.txt", which would otherwise find an
// older file of that exact name.
FileResult copyPlanForSecondPass(const ProgramDir& dir) {
    if (FileResult removed = dir.remove(kSecondPassPlanName); !removed.ok())
        return removed;
    QFile plan(dir.path(kEngravingPlanName));
    if (!plan.open(QIODevice::ReadOnly))
        return FileResult::failure(
            QStringLiteral("Не удалось открыть файл \"%1\": %2")
                .arg(QDir::toNativeSeparators(plan.fileName()), plan.errorString()));
    BufferedFileWriter copy(dir.directory() + QStringLiteral("/123sec.txt"));
    if (!copy.open())
        return FileResult::failure(copy.error());
    while (!plan.atEnd()) {
        const QByteArray chunk = plan.read(kCopyChunkBytes);
        if (plan.error() != QFileDevice::NoError)
            return FileResult::failure(
                QStringLiteral("Не удалось прочитать файл \"%1\": %2")
                    .arg(QDir::toNativeSeparators(plan.fileName()), plan.errorString()));
        copy.append(chunk);
    }
    if (!copy.commit())
        return FileResult::failure(copy.error());
    return {};
}

// The plan open at its first line, its second-pass copy, the progress record and the
// recovery file, in that order: the record and the recovery file name plans that exist.
FileResult writeJobFiles(Program& program) {
    Job& job = program.job;
    if (!job.plan.open(program.dir.path(kEngravingPlanName)))
        return FileResult::failure(job.plan.error());
    if (job.choices.secondPass) {
        if (FileResult copied = copyPlanForSecondPass(program.dir); !copied.ok())
            return copied;
    }
    if (FileResult begun = beginJobProgress(program); !begun.ok())
        return begun;
    return writeRecoveryFile(program.dir, jobRecoveryData(job), RecoveryStage::JobStart);
}

void greetDevice(Program& program) {
    for (int i = 0; i < kJobStartGreetings; ++i)
        program.commands.greeting();
}

// A setting after the files failed: nothing was struck ("Begin print" was not sent), and the
// job's files stay, so that "Тест" offers it once the device answers (its record says that
// no pass has begun: it runs from home) and a new "Работа" replaces it.
JobStartResult keepUnstartedJob(Program& program, const DevicePreparation& device) {
    journalJobEndedBeforeRun(program, JournalOutcome::NotBegunKept);
    program.timers.optimizing = false;
    program.job.plan.close();
    noteProgressResult(program, program.job.progress.flush(program.clock.monotonicMs()));
    program.exchange.setLinkActive(false);
    keepJobPending(program);
    enterNoDeviceState(program);
    program.screen.showMessage(
        MessageKind::Error,
        device.failureText() +
            QStringLiteral(" Гравирование не начато, на пластину ничего не нанесено. Данные "
                           "работы сохранены: когда устройство ответит («Тест»), её можно будет "
                           "выполнить с начала."));
    return {};
}

// The recovery file has been written but the job does not run after all: nothing was
// struck, so no job is left for the next start to offer.
JobStartResult withdrawJob(Program& program, const QString& why) {
    journalJobEndedBeforeRun(program, JournalOutcome::Withdrawn);
    program.reportFileResult(removeRecoveryFile(program.dir));
    program.reportFileResult(program.job.progress.remove());
    return refuse(program, MessageKind::Error, why);
}

} // namespace

PlanBuildResult buildJobPlan(Program& program, const JobRequest& request,
                             const ProgramDir& planDir) {
    ScreenPlanProgress progress(program.screen, program.clock);
    return buildPlan(*request.dots, request.choices.singleSided, planDir, progress);
}

JobStartResult launchJob(Program& program, const JobRequest& request, qint64 planLines) {
    Job& job = program.job;
    greetDevice(program);
    DevicePreparation device(program, RepairedAnswers::EndThePreparation);
    if (!device.send({PassSetting::StrikeTimingT, PassSetting::StrikeTimingU}))
        return refuse(program, MessageKind::Error,
                      device.failureText() + QStringLiteral(" Гравирование не начато."));
    // A new job: its first pass runs, whatever the job before it did.
    takeRequest(job, request);
    journalJobBegun(program, JournalKind::Job);
    journalJobDescribed(program);
    job.planLineCounter = 0;
    if (FileResult written = writeJobFiles(program); !written.ok()) {
        journalJobEndedBeforeRun(program, JournalOutcome::Withdrawn);
        return refuse(program, MessageKind::Error, written.error);
    }
    // The recovery file now describes this job; an older one it replaced is gone.
    program.unfinishedJob = false;

    device.send({PassSetting::Resolution, PassSetting::StepTime, PassSetting::StrikeProfile,
                 PassSetting::Home},
                job.choices.first);
    if (!device.beginPrint())
        return keepUnstartedJob(program, device);
    program.commands.position = {};
    job.planLineCounter = 0;
    const std::optional<qint64> estimate = estimateJobTime(program);
    if (!estimate)
        return withdrawJob(program, QString()); // the estimate has named the plan
    journalJobEstimated(program, *estimate, planLines * (job.choices.secondPass ? 2 : 1));
    program.timers.optimizing = true;
    // The greetings have shown the link up state; the job locks the window again, with STOP.
    enterWorkState(program);
    return {true, planLines, *estimate};
}

JobStartResult startJob(Program& program, const JobRequest& request,
                        const std::function<void()>& hidePanels) {
    program.timers.optimizing = false;
    // From here to one of the job's ends no answer of the device opens the menus.
    program.menus.holdForJob();
    enterWorkState(program);
    program.settings.writeDefaults = false;
    program.reportFileResult(saveConfiguration(program.dir, program.settings, program.choices));
    program.timers.timer4 = false;
    if (hidePanels)
        hidePanels();

    if (const std::optional<QString> refused = jobRefusal(request))
        return refuse(program, MessageKind::Warning, *refused);
    // A new job starts on its picture without the marks of the job before.
    program.image.showCleanView();
    const PlanBuildResult built = buildJobPlan(program, request, program.dir);
    if (!built.ok)
        return refuse(program, MessageKind::Error, built.error);
    return launchJob(program, request, built.lines);
}

} // namespace zuk
