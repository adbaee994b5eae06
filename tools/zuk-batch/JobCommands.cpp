#include "JobCommands.h"

#include "Arguments.h"
#include "BatchJob.h"

#include "plan/HeadlessProperties.h"
#include "plan/PlanReader.h"
#include "plan/TimeEstimate.h"
#include "run/PlanFiles.h"
#include "simulator/SimTransport.h"

#include <QDir>
#include <QFileInfo>

#include <optional>
#include <vector>

namespace zuk::batch {

const char* const kEngraveUsage =
    "engrave IN.bmp --port PORT [--dir DIR] [--variant combined|simple] [--density 0..8] "
    "[--place 1..9] [--mode double|single] [--levels F32[,F24,F16,F8]] "
    "[--second-pass [--second-levels F32[,F24,F16,F8]]] [--text] "
    "[--virtual-time | --sim-speed N] [--plate PLATE.png]";
const char* const kEngraveDetails =
    "Does what the operator does in the window: the start-up in the program directory DIR\n"
    "(default: the current one; Zuk.ini there, with PORT in place of its port for this run\n"
    "only), \"Открыть\" with the variant, density line (default: Zuk.ini's) and placement\n"
    "button (default 5, \"Center Center\"), \"Гравировка\" with the choices, \"Работа\", the run\n"
    "to its end and the shutdown. It prints the estimate, progress at most once a second and\n"
    "a summary.\n"
    "  --mode double|single   \"Стандарт\" (default) or \"Высокое\"\n"
    "  --levels F32           \"32\" at F32, then \"Групповая установка уровней\"\n"
    "  --levels F32,F24,F16,F8  \"Индивидуальная установка уровней\" and the four forces (1..200)\n"
    "  --second-pass          \"Двойной проход\"; --second-levels sets its forces the same way\n"
    "  --text                 \"Текст (ускорение)\" instead of \"Портрет (качество)\"\n"
    "  --virtual-time         only with --port sim: the built-in engraver and the program on\n"
    "                         virtual time, the job as fast as the computer runs it\n"
    "  --sim-speed N          only with --port sim: the engraver N times faster, in real time\n"
    "  --plate PLATE.png      only with --port sim: the plate the built-in engraver struck,\n"
    "                         one pixel a cell in the shade of its level, written at the end\n"
    "SIGINT or SIGTERM during the job acts as STOP and \"Завершить работу\": the job is kept\n"
    "for zuk-batch resume. Exit status: 0 the job finished, 1 an error (the job may be kept),\n"
    "2 bad usage, 3 the job was interrupted and kept.";
const char* const kResumeUsage =
    "resume --port PORT [--dir DIR] [--warm-up N] [--virtual-time | --sim-speed N]";
const char* const kResumeDetails =
    "The start-up in DIR finds the recovery file of an unfinished job, the recovery dialog is\n"
    "answered \"Завершить незавершенный проект.\" with N warm-up cycles (0..5, default 3),\n"
    "and the job is finished from where the device's head stopped. Options, output and exit\n"
    "status as for engrave.";

namespace {

constexpr int kDefaultPlacementButton = 5; // "Center Center"

// Where the job runs: the options engrave and resume share.
struct JobPlace {
    QString directory = QDir::currentPath();
    LineChoice line;
};

struct EngraveRequest {
    JobPlace place;
    QString picture;
    ConversionVariant variant = ConversionVariant::Combined;
    std::optional<int> density;
    int placementButton = kDefaultPlacementButton;
    bool singleSided = false;
    std::vector<int> levels; // empty: as stored; one value: group setting; four: individual
    bool secondPass = false;
    std::vector<int> secondLevels;
    bool text = false;
    QString platePng; // empty: no plate picture
};

struct ResumeRequest {
    JobPlace place;
    int warmUpCycles = 3;
};

std::optional<std::vector<int>> levelsNamed(const QString& value, const char* option,
                                            ArgumentReader& reader) {
    const QStringList parts = value.split(QLatin1Char(','));
    if (parts.size() != 1 && parts.size() != kLevelCount) {
        reader.mistake(QStringLiteral("--%1 takes one force or four (F32,F24,F16,F8)")
                           .arg(QLatin1String(option)));
        return std::nullopt;
    }
    std::vector<int> levels;
    for (const QString& part : parts) {
        const auto force = numberIn(part.trimmed(), option, 1, kHighestTrackbarPosition, reader);
        if (!force)
            return std::nullopt;
        levels.push_back(*force);
    }
    return levels;
}

// Takes one of the options both commands have; false when the next argument is none of them.
bool placeOption(ArgumentReader& reader, JobPlace& place, bool& simSpeedGiven) {
    QString value;
    if (reader.option("port", value)) {
        place.line.port = value;
    } else if (reader.option("dir", value)) {
        place.directory = value;
    } else if (reader.flag("virtual-time")) {
        place.line.virtualTime = true;
    } else if (reader.option("sim-speed", value)) {
        bool ok = false;
        place.line.simSpeed = value.toDouble(&ok);
        simSpeedGiven = true;
        if (!ok || !(place.line.simSpeed > 0))
            reader.mistake(
                QStringLiteral("--sim-speed takes a factor above 0, not \"%1\"").arg(value));
    } else {
        return false;
    }
    return true;
}

void checkPlace(const JobPlace& place, bool simSpeedGiven, ArgumentReader& reader) {
    if (reader.failed())
        return;
    if (place.line.port.isEmpty()) {
        reader.mistake(QStringLiteral("--port PORT is required"));
        return;
    }
    const bool builtIn = sim::isBuiltInPortName(place.line.port);
    if ((place.line.virtualTime || simSpeedGiven) && !builtIn)
        reader.mistake(QStringLiteral("--virtual-time and --sim-speed are for --port sim only"));
    else if (place.line.virtualTime && simSpeedGiven)
        reader.mistake(QStringLiteral("--virtual-time and --sim-speed exclude each other"));
}

bool engraveOption(ArgumentReader& reader, EngraveRequest& request) {
    QString value;
    if (reader.option("variant", value)) {
        if (const auto variant = variantNamed(value, reader))
            request.variant = *variant;
    } else if (reader.option("density", value)) {
        request.density = numberIn(value, "density", 0, kResolutionIndexCount - 1, reader);
    } else if (reader.option("place", value)) {
        request.placementButton = numberIn(value, "place", 1, 9, reader).value_or(0);
    } else if (reader.option("mode", value)) {
        request.singleSided = singleSidedNamed(value, reader).value_or(false);
    } else if (reader.option("levels", value)) {
        request.levels = levelsNamed(value, "levels", reader).value_or(std::vector<int>{});
    } else if (reader.option("second-levels", value)) {
        request.secondLevels =
            levelsNamed(value, "second-levels", reader).value_or(std::vector<int>{});
    } else if (reader.flag("second-pass")) {
        request.secondPass = true;
    } else if (reader.flag("text")) {
        request.text = true;
    } else if (reader.option("plate", value)) {
        request.platePng = value;
    } else {
        return false;
    }
    return true;
}

std::optional<EngraveRequest> parseEngrave(const QStringList& args, QTextStream& err) {
    EngraveRequest request;
    QStringList pictures;
    bool simSpeedGiven = false;
    ArgumentReader reader(args, "engrave", err);
    while (!reader.atEnd() && !reader.failed()) {
        if (!placeOption(reader, request.place, simSpeedGiven) && !engraveOption(reader, request) &&
            !reader.unknownOption())
            pictures << reader.plain();
    }
    if (!reader.failed() && pictures.size() != 1)
        reader.mistake(QStringLiteral("expected one picture, got %1").arg(pictures.size()));
    if (!reader.failed() && !request.secondLevels.empty() && !request.secondPass)
        reader.mistake(QStringLiteral("--second-levels needs --second-pass"));
    checkPlace(request.place, simSpeedGiven, reader);
    if (!reader.failed() && !request.platePng.isEmpty() &&
        !sim::isBuiltInPortName(request.place.line.port))
        reader.mistake(QStringLiteral("--plate is for --port sim only"));
    if (reader.failed())
        return std::nullopt;
    if (!request.platePng.isEmpty())
        request.platePng = QFileInfo(request.platePng).absoluteFilePath();
    request.picture = QFileInfo(pictures.front()).absoluteFilePath();
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

// The operator's choice of forces on a properties panel, through the panel's own handlers:
// one force moves "32" and selects group setting (the other three by its rule); four select
// individual setting and move each trackbar.
void chooseLevels(HeadlessProperties& panels, LevelSet set, const std::vector<int>& forces) {
    if (forces.empty())
        return;
    if (forces.size() == 1) {
        panels.moveTrackbar(set, Level::L32, forces.front());
        panels.clickMode(set, true);
        return;
    }
    panels.clickMode(set, false);
    for (int k = 0; k < kLevelCount; ++k)
        panels.moveTrackbar(set, static_cast<Level>(k), forces[k]);
}

QString levelsText(const StrikeLevels& levels) {
    return QStringLiteral("\"32\" %1, \"24\" %2, \"16\" %3, \"8\" %4")
        .arg(levels.level32)
        .arg(levels.level24)
        .arg(levels.level16)
        .arg(levels.level8);
}

void printJob(Program& program, const JobFigures& figures, QTextStream& out) {
    const Placement& placement = program.image.placement();
    out << "job: " << QDir::toNativeSeparators(program.image.picture().fileName) << " at column "
        << placement.offset.x() << ", row " << placement.offset.y() << ", density line "
        << program.settings.resolutionIndex << (program.job.singleSided ? ", single" : ", double")
        << "-sided, " << (program.settings.portrait ? "portrait" : "text") << Qt::endl;
    out << "levels: " << levelsText(program.settings.first);
    if (program.job.secondPass)
        out << "; second pass " << levelsText(program.settings.second);
    out << Qt::endl;
    out << "plan: " << figures.firstPlan.lines << " lines"
        << (figures.secondPlan.lines > 0
                ? QStringLiteral(", and %1 in the second pass").arg(figures.secondPlan.lines)
                : QString())
        << Qt::endl;
    out << "estimate: " << durationText(figures.estimate, QLocale::c()) << ", ending "
        << endTimeText(program.clock.now(), figures.estimate, QLocale::c()) << " (T "
        << figures.estimate << " in 10-µs units, the device at its own speed)" << Qt::endl;
}

// The estimate of what is left of a resumed job: the rest of the plan the run has open and,
// when the second pass is still to come, its whole plan.
qint64 estimateRest(Program& program) {
    const QPoint offset = program.image.placement().offset;
    const EstimateInputs inputs = estimateInputs(program.commands, offset.x(), offset.y(), false,
                                                 program.exchange.linkActive());
    qint64 total = 0;
    QStringList plans{kEngravingPlanName};
    if (program.job.secondPass)
        plans << kSecondPassPlanName;
    for (const QString& name : plans) {
        PlanReader plan;
        if (plan.open(program.dir.path(name)))
            total += estimateJob(plan, inputs).total;
    }
    return total;
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
int runStartedJob(BatchJob& batch, const JobFigures& figures, const QString& platePng = {}) {
    printJob(batch.program(), figures, batch.out());
    const RunEnd end = batch.run(figures);
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

bool directoryExists(const QString& directory, const char* command, QTextStream& err) {
    if (QFileInfo(directory).isDir())
        return true;
    err << "zuk-batch " << command << ": no directory \"" << QDir::toNativeSeparators(directory)
        << "\"" << Qt::endl;
    return false;
}

} // namespace

int runEngrave(const QStringList& args, Streams streams) {
    const auto request = parseEngrave(args, streams.err);
    if (!request)
        return kExitUsage;
    if (!directoryExists(request->place.directory, "engrave", streams.err))
        return kExitFailed;
    if (!QFileInfo(request->picture).isFile()) {
        streams.err << "zuk-batch engrave: no picture file \""
                    << QDir::toNativeSeparators(request->picture) << "\"" << Qt::endl;
        return kExitFailed;
    }
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

    BatchScreen& screen = batch.screen();
    screen.variant = request->variant;
    screen.picture = request->picture;
    screen.resolution = {request->density.value_or(program.settings.resolutionIndex),
                         request->placementButton};
    program.image.openClick();
    if (program.image.picture().bitmap.isNull())
        return endBeforeTheJob(batch, kExitFailed); // the open has told why

    HeadlessProperties panels(program);
    EngravingProperties& properties = panels.properties();
    properties.print1Click();
    properties.qualityClick(request->singleSided);
    properties.secondWorkClick(request->secondPass);
    properties.portraitClick(!request->text);
    chooseLevels(panels, LevelSet::PrintReady, request->levels);
    chooseLevels(panels, LevelSet::PrintReady2, request->secondLevels);
    if (batch.interrupted())
        return endBeforeTheJob(batch, kExitInterrupted);

    batch.beginJob();
    const JobStartResult started = properties.button17Click();
    if (!started.started)
        return endBeforeTheJob(batch, kExitFailed); // the job start has told why
    return runStartedJob(batch, batch.jobFigures(started.estimate), request->platePng);
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
    return runStartedJob(batch, batch.jobFigures(estimateRest(program)));
}

} // namespace zuk::batch
