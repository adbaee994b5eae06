#include "TestPlateCommand.h"

#include "BatchJob.h"
#include "JobChoices.h"
#include "JobPlace.h"

#include "app/CountText.h"
#include "testplate/PlateSession.h"

#include <QDir>

#include <optional>

namespace zuk::batch {

const char* const kTestPlateUsage =
    "test-plate --forces FROM,TO,STEP [--patch N] [--place 1..9] [--from FORCE] --port PORT "
    "[--dir DIR] [--virtual-time | --sim-speed N] [--plate PNG]";
const char* const kTestPlateDetails =
    "The start-up in DIR (as for engrave), then one solid patch of N × N dots (default 20,\n"
    "4..400) for each force FROM, FROM+STEP, ... up to TO (1..200), in force order, rows\n"
    "wrapping as the working field at Zuk.ini's density line allows, each force's number in\n"
    "small digits under its patch; the plate placed as placement button --place (default 5)\n"
    "places a picture. It is struck as small jobs of up to four patches, each with its own\n"
    "strike profile, each through the job start and run as \"Работа\" does, with the estimate\n"
    "of the whole plate and one progress line across the jobs.\n"
    "  --from FORCE           go on with an interrupted plate: the same layout, the patches\n"
    "                         before FORCE left out\n"
    "  --virtual-time, --sim-speed N, --plate PNG   as for engrave\n"
    "SIGINT or SIGTERM during a job acts as STOP and \"Завершить работу\": that job is kept for\n"
    "zuk-batch resume, and the command names the force to go on from. Exit status: 0 the\n"
    "plate finished, 1 an error, 2 bad usage, 3 interrupted (the current job kept).";

namespace {

struct TestPlateRequest {
    JobPlace place;
    TestPlateChoices plate;
    QString platePng;
};

std::optional<PlateForces> forcesNamed(const QString& value, ArgumentReader& reader) {
    const QStringList parts = value.split(',');
    if (parts.size() != 3) {
        reader.mistake(QStringLiteral("--forces takes FROM,TO,STEP, not \"%1\"").arg(value));
        return std::nullopt;
    }
    const auto from = numberIn(parts[0], "forces", kLowestPlateForce, kHighestPlateForce, reader);
    const auto to = numberIn(parts[1], "forces", kLowestPlateForce, kHighestPlateForce, reader);
    const auto step = numberIn(parts[2], "forces", 1, kHighestPlateForce, reader);
    if (!from || !to || !step)
        return std::nullopt;
    if (*to < *from) {
        reader.mistake(QStringLiteral("--forces: TO is below FROM"));
        return std::nullopt;
    }
    return PlateForces{*from, *to, *step};
}

bool plateOption(ArgumentReader& reader, TestPlateRequest& request, bool& forcesGiven) {
    QString value;
    TestPlateChoices& plate = request.plate;
    if (reader.option("forces", value)) {
        forcesGiven = true;
        plate.forces = forcesNamed(value, reader).value_or(PlateForces{});
    } else if (reader.option("patch", value)) {
        plate.patchDots =
            numberIn(value, "patch", kSmallestPatchDots, kLargestPatchDots, reader).value_or(0);
    } else if (reader.option("place", value)) {
        plate.placementButton = numberIn(value, "place", 1, 9, reader).value_or(5);
    } else if (reader.option("from", value)) {
        plate.continueFrom = numberIn(value, "from", kLowestPlateForce, kHighestPlateForce, reader);
    } else if (reader.option("plate", value)) {
        request.platePng = value;
    } else {
        return placeOption(reader, request.place);
    }
    return true;
}

std::optional<TestPlateRequest> parseTestPlate(const QStringList& args, QTextStream& err) {
    TestPlateRequest request;
    bool forcesGiven = false;
    ArgumentReader reader(args, "test-plate", err);
    while (!reader.atEnd() && !reader.failed()) {
        if (!plateOption(reader, request, forcesGiven) && !reader.unknownOption())
            reader.mistake(QStringLiteral("unexpected argument \"%1\"").arg(reader.plain()));
    }
    if (!reader.failed() && !forcesGiven)
        reader.mistake(QStringLiteral("--forces FROM,TO,STEP is required"));
    checkPlace(request.place, reader);
    checkPlatePicture(request.place, request.platePng, reader);
    if (reader.failed())
        return std::nullopt;
    return request;
}

QString forcesText(const std::vector<int>& forces) {
    QStringList texts;
    for (const int force : forces)
        texts << QString::number(force);
    return texts.join(", ");
}

// The plate's run: the small jobs one after another on the program the command started up.
class PlateRun {
public:
    PlateRun(BatchJob& batch, TestPlate plate, const TestPlateRequest& request)
        : batch_(batch), session_(std::move(plate), batch.program()), request_(request) {}

    void printPlan() {
        QTextStream& out = batch_.out();
        const TestPlate& plate = session_.plate();
        const PlateLayout& layout = plate.layout();
        const PlateProgress whole = session_.progress(batch_.program());
        out << "plate: " << layout.patches.size() << " patches of " << layout.patchDots << " × "
            << layout.patchDots << " dots, " << layout.size.width() << " × " << layout.size.height()
            << " dots at column " << plate.offset().x() << ", row " << plate.offset().y() << ", in "
            << whole.jobs << " jobs" << Qt::endl;
        out << "estimate: " << durationText(session_.estimate(), QLocale::c()) << " for "
            << countText(whole.lines) << " lines (T " << session_.estimate() << " in 10-µs units)"
            << Qt::endl;
    }

    int run() {
        Program& program = batch_.program();
        batch_.beginJob();
        batch_.setProgressLine([this] { printProgress(); });
        while (!session_.finished()) {
            if (batch_.interrupted())
                return stop(kExitInterrupted, false);
            const PlateProgress now = session_.progress(program);
            batch_.out() << "job " << now.jobsDone + 1 << " of " << now.jobs << ": forces "
                         << forcesText(session_.currentForces()) << Qt::endl;
            if (!session_.startNext(program))
                return stop(kExitFailed, false);
            const RunEnd end = batch_.run();
            session_.jobEnded(end == RunEnd::Finished);
            if (end != RunEnd::Finished)
                return stop(exitStatus(end), true);
        }
        batch_.shutDown();
        const PlateProgress done = session_.progress(program);
        batch_.out() << "finished: " << session_.plate().layout().patches.size() << " patches in "
                     << done.jobs << " jobs, " << countText(done.linesDone) << " lines, "
                     << duration(batch_.elapsedMs()) << Qt::endl;
        return writePlate(kExitOk);
    }

private:
    void printProgress() {
        const PlateProgress now = session_.progress(batch_.program());
        batch_.out() << "plate: job " << now.jobsDone + 1 << " of " << now.jobs << ", line "
                     << countText(now.linesDone) << " of " << countText(now.lines) << ", elapsed "
                     << duration(batch_.elapsedMs()) << Qt::endl;
    }

    // The plate stopped before its end: the job kept, and where to go on from.
    int stop(int status, bool jobRan) {
        const bool kept = batch_.program().unfinishedJob;
        batch_.shutDown();
        QTextStream& err = batch_.err();
        if (kept)
            err << "the job of forces " << forcesText(session_.currentForces())
                << " is kept: finish it with zuk-batch resume" << Qt::endl;
        if (const std::optional<int> next = session_.continueFrom(jobRan || kept)) {
            const TestPlateChoices& plate = request_.plate;
            err << "go on with the patches from force " << *next << " (forces " << *next << ","
                << plate.forces.to << "," << plate.forces.step
                << "): zuk-batch test-plate --forces " << plate.forces.from << ","
                << plate.forces.to << "," << plate.forces.step << " --patch " << plate.patchDots
                << " --place " << plate.placementButton << " --from " << *next << Qt::endl;
        }
        return writePlate(status);
    }

    int writePlate(int status) {
        if (!request_.platePng.isEmpty() && !batch_.writePlate(request_.platePng))
            return kExitFailed;
        return status;
    }

    BatchJob& batch_;
    PlateSession session_;
    const TestPlateRequest& request_;
};

} // namespace

int runTestPlate(const QStringList& args, Streams streams) {
    const auto request = parseTestPlate(args, streams.err);
    if (!request)
        return kExitUsage;
    if (!directoryExists(request->place.directory, "test-plate", streams.err))
        return kExitFailed;
    BatchJob batch(request->place.directory, request->place.line, streams);
    if (!startUpForNewJob(batch, "test-plate"))
        return kExitFailed;
    const Program& program = batch.program();
    QString why;
    std::optional<TestPlate> plate = TestPlate::lay(program, request->plate, &why);
    if (!plate) {
        streams.err << "zuk-batch test-plate: " << why << Qt::endl;
        return endBeforeTheJob(batch, kExitFailed);
    }
    PlateRun run(batch, std::move(*plate), *request);
    run.printPlan();
    return run.run();
}

} // namespace zuk::batch
