#include "support/StartedJob.h"

#include "app/Program.h"
#include "plan/JobStart.h"
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
    if (QString failed = writeFile(p.dir.path(kEngravingPlanName), planFile); !failed.isEmpty())
        return failed;
    // The rest as the job start does it, from the plan on: the same code.
    p.menus.holdForJob();
    const qint64 lines = planFile.count('\n');
    if (!launchJob(p, lines).started)
        return QStringLiteral("the job start refused the job");
    return {};
}

} // namespace zuk::test
