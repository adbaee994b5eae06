#include "JobCommands.h"

#include "Arguments.h"
#include "BatchJob.h"
#include "JobChoices.h"
#include "JobPlace.h"

#include "app/CountText.h"
#include "plan/JobStart.h"
#include "plan/JobTimeEstimate.h"
#include "plan/PlanReader.h"
#include "plan/TimeEstimate.h"
#include "run/PlanFiles.h"
#include "simulator/SimTransport.h"

#include <QDir>
#include <QFileInfo>

#include <optional>
#include <string>
#include <vector>

namespace zuk::batch {

namespace {

const char* const kEngraveIntroduction =
    "Does what the operator does in the window: the start-up in the program directory DIR\n"
    "(default: the current one; Zuk.ini there, with PORT in place of its port for this run\n"
    "only), \"Открыть\" with the variant, density line (default: Zuk.ini's) and placement\n"
    "button (default 5, \"Center Center\"), \"Гравировка\" with the choices, \"Работа\", the run\n"
    "to its end and the shutdown. It prints the estimate, progress at most once a second and\n"
    "a summary.\n";
const char* const kEngraveLineDetails =
    "  --virtual-time         only with --port sim: the built-in engraver and the program on\n"
    "                         virtual time, the job as fast as the computer runs it\n"
    "  --sim-speed N          only with --port sim: the engraver N times faster, in real time\n"
    "  --plate PLATE.png      only with --port sim: the plate the built-in engraver struck,\n"
    "                         one pixel a cell in the shade of its level, written at the end\n"
    "SIGINT or SIGTERM during the job acts as STOP and \"Завершить работу\": the job is kept\n"
    "for zuk-batch resume. Exit status: 0 the job finished, 1 an error (the job may be kept),\n"
    "2 bad usage, 3 the job was interrupted and kept.";
} // namespace

const char* engraveUsage() {
    static const std::string usage = std::string("engrave PICTURE --port PORT [--dir DIR] ") +
                                     jobChoicesUsage() +
                                     " [--virtual-time | --sim-speed N] [--plate PLATE.png]";
    return usage.c_str();
}

const char* engraveDetails() {
    static const std::string details =
        std::string(kEngraveIntroduction) + jobChoicesDetails() + kEngraveLineDetails;
    return details.c_str();
}

const char* const kResumeUsage =
    "resume --port PORT [--dir DIR] [--warm-up N] [--virtual-time | --sim-speed N]";
const char* const kResumeDetails =
    "The start-up in DIR finds the recovery file of an unfinished job, the recovery dialog is\n"
    "answered \"Завершить незавершенный проект.\" with N warm-up cycles (0..5, default 3),\n"
    "and the job is finished from where the device's head stopped. Options, output and exit\n"
    "status as for engrave.";

namespace {

struct EngraveRequest {
    JobPlace place;
    JobChoices job;
    QString platePng; // empty: no plate picture
};

struct ResumeRequest {
    JobPlace place;
    int warmUpCycles = 3;
};

std::optional<EngraveRequest> parseEngrave(const QStringList& args, QTextStream& err) {
    EngraveRequest request;
    QStringList pictures;
    bool simSpeedGiven = false;
    ArgumentReader reader(args, "engrave", err);
    while (!reader.atEnd() && !reader.failed()) {
        QString plate;
        if (reader.option("plate", plate))
            request.platePng = plate;
        else if (!placeOption(reader, request.place, simSpeedGiven))
            jobChoiceOption(reader, request.job, pictures);
    }
    finishJobChoices(reader, request.job, pictures);
    checkPlace(request.place, simSpeedGiven, reader);
    if (!reader.failed() && !request.platePng.isEmpty() &&
        !sim::isBuiltInPortName(request.place.line.port))
        reader.mistake(QStringLiteral("--plate is for --port sim only"));
    if (reader.failed())
        return std::nullopt;
    if (!request.platePng.isEmpty())
        request.platePng = QFileInfo(request.platePng).absoluteFilePath();
    return request;
}

std::optional<ResumeRequest> parseResume(const QStringList& args, QTextStream& err) {
    ResumeRequest request;
    bool simSpeedGiven = false;
    ArgumentReader reader(args, "resume", err);
    while (!reader.atEnd() && !reader.failed()) {
        QString value;
        if (placeOption(reader, request.place, simSpeedGiven))
            continue;
        if (reader.option("warm-up", value))
            request.warmUpCycles = numberIn(value, "warm-up", 0, 5, reader).value_or(0);
        else if (!reader.unknownOption())
            reader.mistake(QStringLiteral("unexpected argument \"%1\"").arg(reader.plain()));
    }
    checkPlace(request.place, simSpeedGiven, reader);
    if (reader.failed())
        return std::nullopt;
    return request;
}

// A job started by engrave, or one resume finishes.
enum class JobKind { New, Resumed };

QString levelsText(const StrikeLevels& levels) {
    return QStringLiteral("\"32\" %1, \"24\" %2, \"16\" %3, \"8\" %4")
        .arg(levels.level32)
        .arg(levels.level24)
        .arg(levels.level16)
        .arg(levels.level8);
}

// How the job strikes: the quality chosen for a new job. The recovery file of a resumed job
// does not keep the quality, so for it the plan tells: a plan with backward strike lines is
// double-sided, one without them single-sided.
QString sidesText(const Program& program, const JobFigures& figures, JobKind kind) {
    if (kind == JobKind::New)
        return program.job.choices.singleSided ? QStringLiteral("single-sided")
                                               : QStringLiteral("double-sided");
    return figures.firstPlan.backwardLines + figures.secondPlan.backwardLines > 0
               ? QStringLiteral("double-sided plan")
               : QStringLiteral("single-sided plan");
}

void printJob(Program& program, const JobFigures& figures, JobKind kind, QTextStream& out) {
    const Job& job = program.job;
    const EngravingChoices& choices = job.choices;
    out << "job: " << QDir::toNativeSeparators(job.pictureFile) << " at column " << job.offset.x()
        << ", row " << job.offset.y() << ", density line " << choices.resolutionIndex << ", "
        << sidesText(program, figures, kind) << ", " << (choices.portrait ? "portrait" : "text")
        << Qt::endl;
    out << "levels: " << levelsText(choices.first);
    if (choices.secondPass)
        out << "; second pass " << levelsText(choices.second);
    out << Qt::endl;
    out << "plan: " << countText(figures.firstPlan.lines) << " lines"
        << (figures.secondPlan.lines > 0 ? QStringLiteral(", and %1 in the second pass")
                                               .arg(countText(figures.secondPlan.lines))
                                         : QString())
        << Qt::endl;
    out << "estimate: " << durationText(figures.estimate, QLocale::c()) << ", ending "
        << endTimeText(program.clock.now(), figures.estimate, QLocale::c()) << " (T "
        << figures.estimate << " in 10-µs units, the device at its own speed)" << Qt::endl;
}

int exitStatus(RunEnd end) {
    switch (end) {
    case RunEnd::Finished:
        return kExitOk;
    case RunEnd::Interrupted:
        return kExitInterrupted;
    case RunEnd::Failed:
        break;
    }
    return kExitFailed;
}

// Runs the job the program has started, then shuts the program down. The plate picture,
// when asked for, shows what the device struck however the run ended.
int runStartedJob(BatchJob& batch, const JobFigures& figures, JobKind kind,
                  const QString& platePng = {}) {
    printJob(batch.program(), figures, kind, batch.out());
    const RunEnd end = batch.run();
    batch.shutDown();
    batch.printSummary(figures, end);
    if (!platePng.isEmpty() && !batch.writePlate(platePng))
        return kExitFailed;
    return exitStatus(end);
}

// Ends the command before a job ran: the program shuts down as the window's close does.
int endBeforeTheJob(BatchJob& batch, int status) {
    batch.shutDown();
    return status;
}

} // namespace

int runEngrave(const QStringList& args, Streams streams) {
    const auto request = parseEngrave(args, streams.err);
    if (!request)
        return kExitUsage;
    if (!jobFilesExist(request->place.directory, request->job, "engrave", streams.err))
        return kExitFailed;
    BatchJob batch(request->place.directory, request->place.line, streams);
    if (!batch.startUp())
        return endBeforeTheJob(batch, kExitFailed);
    Program& program = batch.program();
    if (program.unfinishedJob) {
        streams.err << "zuk-batch engrave: an unfinished job is waiting in "
                    << QDir::toNativeSeparators(program.dir.directory())
                    << ": finish it with zuk-batch resume first" << Qt::endl;
        return endBeforeTheJob(batch, kExitFailed);
    }

    if (!prepareJob(batch, request->job))
        return endBeforeTheJob(batch, kExitFailed); // the open has told why
    if (batch.interrupted())
        return endBeforeTheJob(batch, kExitInterrupted);

    batch.beginJob();
    const JobStartResult started = startJob(program, preparedJob(program), {});
    if (!started.started)
        return endBeforeTheJob(batch, kExitFailed); // the job start has told why
    return runStartedJob(batch, batch.jobFigures(started.estimate), JobKind::New,
                         request->platePng);
}

int runResume(const QStringList& args, Streams streams) {
    const auto request = parseResume(args, streams.err);
    if (!request)
        return kExitUsage;
    if (!directoryExists(request->place.directory, "resume", streams.err))
        return kExitFailed;
    BatchJob batch(request->place.directory, request->place.line, streams);
    batch.screen().recovery = RecoveryChoice{true, request->warmUpCycles};
    if (!batch.startUp())
        return endBeforeTheJob(batch, kExitFailed);
    Program& program = batch.program();
    if (!program.unfinishedJob) {
        streams.err << "zuk-batch resume: no unfinished job in "
                    << QDir::toNativeSeparators(program.dir.directory()) << Qt::endl;
        return endBeforeTheJob(batch, kExitFailed);
    }
    program.offerUnfinishedJob();
    if (batch.interrupted())
        return endBeforeTheJob(batch, kExitInterrupted);
    batch.beginJob();
    program.crushTimerTimer();
    if (!program.timers.optimizing)
        return endBeforeTheJob(batch, kExitFailed); // the resumption has told why
    return runStartedJob(batch, batch.jobFigures(estimateRestOfJob(program)), JobKind::Resumed);
}

} // namespace zuk::batch
