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

JobRequest jobRequestOf(const Program& p, const JobSpec& spec) {
    JobRequest request;
    request.pictureFile = p.dir.path(QStringLiteral("picture.bmp"));
    request.offset = spec.offset;
    request.fieldView = p.image.view().image().size();
    EngravingChoices& choices = request.choices;
    choices.first = spec.first;
    choices.second = spec.second;
    choices.secondPass = spec.secondPass;
    choices.portrait = spec.portrait;
    choices.edgeDots = spec.edgeDots;
    choices.resolutionIndex = spec.resolution;
    return request;
}

QString startJobAsTheJobStartDoes(Program& p, const JobSpec& spec, const QByteArray& planFile) {
    const JobRequest request = jobRequestOf(p, spec);
    // The operator's choices are those the job was asked with.
    p.choices = request.choices;
    if (QString failed = writeFile(p.dir.path(kEngravingPlanName), planFile); !failed.isEmpty())
        return failed;
    // The rest as the job start does it, from the plan on: the same code.
    p.menus.holdForJob();
    const qint64 lines = planFile.count('\n');
    if (!launchJob(p, request, lines).started)
        return QStringLiteral("the job start refused the job");
    return {};
}

} // namespace zuk::test
