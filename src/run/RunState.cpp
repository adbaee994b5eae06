#include "run/RunState.h"

#include "app/Program.h"

namespace zuk {

int runningPass(const Program& program) {
    return program.job.secondPassRunning ? 2 : 1;
}

RecoveryData jobRecoveryData(const Program& program) {
    RecoveryData data;
    data.pictureFile = program.image.picture().fileName;
    data.columnOffset = program.image.placement().offset.x();
    data.rowOffset = program.image.placement().offset.y();
    data.first = program.settings.first;
    data.secondPass = program.job.secondPass;
    data.second = program.settings.second;
    data.resolutionIndex = program.settings.resolutionIndex;
    return data;
}

void enterWorkState(Program& program) {
    program.menus.work(program.timers.optimizing);
}

void enterNoDeviceState(Program& program) {
    program.menus.releaseFromJob();
    program.menus.noDevice();
}

void enterIdleState(Program& program) {
    program.menus.releaseFromJob();
    program.menus.idle(program.exchange.linkActive());
}

QString jobKeptText() {
    return QStringLiteral(
        "Данные работы сохранены: когда устройство ответит («Тест»), её можно будет завершить.");
}

void keepJobPending(Program& program) {
    const RecoveryData data = jobRecoveryData(program);
    program.savedJob = RecoveryHeader{data.pictureFile, data.columnOffset, data.rowOffset};
    program.unfinishedJob = true;
}

void suspendJob(Program& program) {
    program.commands.endPrint();
    program.commands.off();
    program.timers.optimizing = false;
    program.exchange.setLinkActive(false);
    program.job.plan.close();
    noteProgressResult(program, program.job.progress.flush(program.clock.monotonicMs()));
    keepJobPending(program);
}

void noteProgressResult(Program& program, const FileResult& result) {
    if (result.ok() || program.job.progressFailureShown)
        return;
    program.job.progressFailureShown = true;
    program.screen.showMessage(
        MessageKind::Warning,
        result.error +
            QStringLiteral("\nРабота продолжается, но если она прервётся, продолжить её точно с "
                           "места остановки может не получиться."));
}

} // namespace zuk
