#include "support/StartedJob.h"

#include "app/Program.h"
#include "plan/PlanLine.h"
#include "run/EngravingRun.h"
#include "run/PlanFiles.h"
#include "run/RunState.h"

#include <QFile>

namespace zuk::test {

namespace {

QString writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return QStringLiteral("cannot write ") + path;
    return {};
}

} // namespace

QByteArray planFileBytes(const std::vector<QByteArray>& lines) {
    QByteArray bytes;
    for (const QByteArray& line : lines)
        bytes += line + kPlanLineEnd.toByteArray();
    return bytes;
}

QString startJobAsTheJobStartDoes(Program& p, const JobSpec& spec, const QByteArray& planFile) {
    p.settings.first = spec.first;
    p.settings.second = spec.second;
    p.settings.portrait = spec.portrait;
    p.settings.edgeDots = spec.edgeDots;
    p.settings.resolutionIndex = spec.resolution;
    p.image.placement().resolution = spec.resolution;
    p.image.placement().offset = spec.offset;
    p.image.picture().fileName = p.dir.path(QStringLiteral("picture.bmp"));
    p.job.secondPass = spec.secondPass;
    p.job.secondPassRunning = false;
    const QString planPath = p.dir.path(kEngravingPlanName);
    if (QString failed = writeFile(planPath, planFile); !failed.isEmpty())
        return failed;
    if (spec.secondPass) {
        if (QString failed = writeFile(p.dir.path(QStringLiteral("123sec.txt")), planFile);
            !failed.isEmpty())
            return failed;
    }

    CommandSet& commands = p.commands;
    commands.strikeSetting(CommandSet::kStrikeT, 46);
    commands.strikeSetting(CommandSet::kStrikeU, 64);
    if (!p.job.plan.open(planPath))
        return p.job.plan.error();
    if (FileResult begun = beginJobProgress(p); !begun.ok())
        return begun.error;
    if (FileResult written = writeRecoveryFile(p.dir, jobRecoveryData(p), RecoveryStage::JobStart);
        !written.ok())
        return written.error;
    commands.setResolutionSteps(spec.resolution);
    commands.setStepTime(commands.stepTimeFactor);
    commands.setStrike(spec.first);
    commands.resetError(p.settings.fieldWidth, p.settings.fieldHeight);
    commands.beginPrint();
    commands.position = {};
    p.job.planLineCounter = 0;
    p.timers.optimizing = true;
    return {};
}

} // namespace zuk::test
