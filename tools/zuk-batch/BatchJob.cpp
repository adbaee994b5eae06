#include "BatchJob.h"

#include "EngraverMeter.h"

#include "app/CountText.h"
#include "app/PortOpener.h"
#include "plan/PlanLine.h"
#include "plan/PlanReader.h"
#include "plan/TimeEstimate.h"
#include "run/Interruption.h"
#include "run/JobRunner.h"
#include "run/PlanFiles.h"
#include "simulator/Reports.h"
#include "simulator/SimTransport.h"

#include <QCoreApplication>
#include <QDir>

namespace zuk::batch {

namespace {

constexpr qint64 kProgressIntervalMs = 1000;
// The estimate and the durations count in units of 10 µs.
constexpr qint64 kUnitsPerMs = 100;

} // namespace

QString duration(qint64 ms) {
    return durationText(ms * kUnitsPerMs, QLocale::c());
}

namespace {

QString percent(qint64 part, qint64 whole) {
    return whole > 0 ? QString::number(100.0 * double(part) / double(whole), 'f', 1)
                     : QStringLiteral("100.0");
}

} // namespace

PlanFigures planFigures(const QString& path) {
    PlanFigures figures;
    PlanReader plan;
    if (!plan.open(path))
        return figures;
    while (!plan.atEnd()) {
        const QByteArray line = plan.next();
        ++figures.lines;
        const PlanLineKind kind = planLineKind(line);
        if (kind != PlanLineKind::Knock && kind != PlanLineKind::KBack)
            continue;
        if (kind == PlanLineKind::KBack)
            ++figures.backwardLines;
        const StrikeCounts counts = strikeCounts(line);
        for (std::size_t code = 0; code < counts.size(); ++code)
            figures.strikes[code] += counts[code];
    }
    return figures;
}

BatchJob::BatchJob(const QString& directory, const LineChoice& line, Streams streams)
    : streams_(streams), line_(line), screen_(streams.err) {
    if (line.virtualTime)
        clock_ = std::make_unique<VirtualClock>(QDateTime::currentDateTime());
    else
        clock_ = std::make_unique<SystemClock>();
    sim::SimOptions options;
    options.speed = line.simSpeed;
    engraver_ = sim::makeEngraver(options);
    TransportFactory transports = systemTransports(*clock_, engraver_);
    if (line.virtualTime) {
        transports = [opened = std::move(transports),
                      this](const QString& name) -> std::unique_ptr<ByteTransport> {
            std::unique_ptr<ByteTransport> transport = opened(name);
            if (!transport || !sim::isBuiltInPortName(name))
                return transport;
            return meteredLine(std::move(transport), engraverMeter_);
        };
    }
    program_ =
        std::make_unique<Program>(screen_, *clock_, std::move(transports), ProgramDir(directory));
    program_->portOverride = line.port;
    termination_ = std::make_unique<TerminationSignals>();
    QObject::connect(termination_.get(), &TerminationSignals::requested,
                     [this] { interrupted_ = true; });
    termination_->deliver();
}

BatchJob::~BatchJob() = default;

bool BatchJob::startUp() {
    program_->formCreate();
    if (program_->exchange.linkActive())
        return true;
    streams_.err << "zuk-batch: the device on \"" << line_.port << "\" does not answer" << Qt::endl;
    return false;
}

bool BatchJob::interrupted() {
    QCoreApplication::processEvents();
    return interrupted_;
}

void BatchJob::beginJob() {
    jobStartMs_ = clock_->monotonicMs();
    jobStartCpuNs_ = processCpuNs();
    jobWall_.start();
    meterAtStart_ = engraverMeter_;
    modelledUsAtStart_ = engraver_->modelledDeviceTimeUs();
    sinceProgress_.start();
}

JobFigures BatchJob::jobFigures(qint64 estimate) {
    JobFigures figures;
    figures.firstPlan = planFigures(program_->dir.path(kEngravingPlanName));
    if (program_->job.secondPassToCome())
        figures.secondPlan = planFigures(program_->dir.path(kSecondPassPlanName));
    figures.estimate = estimate;
    return figures;
}

qint64 BatchJob::expectedMs(const JobFigures& figures) const {
    // The built-in engraver at --sim-speed N does in a second what the device does in N.
    const bool fasterEngraver = sim::isBuiltInPortName(line_.port) && !line_.virtualTime;
    const double speed = fasterEngraver ? line_.simSpeed : 1.0;
    const qint64 estimateMs = figures.estimate / kUnitsPerMs; // whole milliseconds
    return qint64(double(estimateMs) / speed);
}

qint64 BatchJob::elapsedMs() const {
    return clock_->monotonicMs() - jobStartMs_;
}

RunEnd BatchJob::run() {
    Program& program = *program_;
    JobRunner runner(program);
    // Before every tick: a termination signal stops the run between two plan lines, and the
    // progress line comes at most once a second of real time.
    runner.setBeforeEachTick([this] {
        if (interrupted())
            return false;
        if (sinceProgress_.elapsed() >= kProgressIntervalMs) {
            if (progressLine_)
                progressLine_();
            else
                printProgress();
            sinceProgress_.restart();
        }
        return true;
    });
    const RunReport report = runner.run();
    if (report.stoppedBeforeATick) {
        if (program.timers.optimizing || program.job.plan.isOpen()) {
            stopClick(program, program.timers.optimizing);
            finishWork(program);
        }
        streams_.err << "interrupted: STOP and \"Завершить работу\"; the job is kept in "
                     << QDir::toNativeSeparators(program.dir.directory())
                     << ", finish it with zuk-batch resume" << Qt::endl;
        return RunEnd::Interrupted;
    }
    return report.outcome == RunOutcome::Finished ? RunEnd::Finished : RunEnd::Failed;
}

qint64 BatchJob::linesDone() const {
    return program_->job.liveProgress.meter.figures().linesDone;
}

// The run's own progress line: the lines done of the job's lines and the time left at the
// pace the job has kept (unknown until it has run for a second).
void BatchJob::printProgress() {
    const Job& job = program_->job;
    const RunProgressFigures figures = job.liveProgress.meter.figures();
    streams_.out << "pass " << (job.secondPassRunning ? 2 : 1) << ", line "
                 << countText(job.plan.linesRead()) << ", "
                 << percent(figures.linesDone, figures.linesTotal) << " %, elapsed "
                 << duration(elapsedMs()) << ", remaining "
                 << (figures.remainingMs ? duration(*figures.remainingMs)
                                         : QStringLiteral("unknown"))
                 << Qt::endl;
}

void BatchJob::shutDown() {
    program_->formClose();
}

void BatchJob::printSummary(const JobFigures& figures, RunEnd end) {
    QTextStream& out = streams_.out;
    const int passes = figures.secondPlan.lines > 0 ? 2 : 1;
    out << (end == RunEnd::Finished ? "finished" : "not finished") << ": " << countText(linesDone())
        << " of " << countText(figures.lines()) << " lines, " << passes
        << (passes == 1 ? " pass" : " passes") << Qt::endl;
    if (end == RunEnd::Finished) {
        out << "strikes:";
        qint64 all = 0;
        const char* const names[] = {"8", "16", "24", "32"};
        for (int code = 0; code < 4; ++code) {
            const qint64 count = figures.firstPlan.strikes[code] + figures.secondPlan.strikes[code];
            all += count;
            out << (code == 0 ? " \"" : ", \"") << names[code] << "\" " << countText(count);
        }
        out << " (" << countText(all) << " in all)" << Qt::endl;
    }
    const qint64 elapsed = elapsedMs();
    const qint64 estimated = expectedMs(figures);
    out << "time: " << duration(elapsed) << " elapsed, estimated " << duration(estimated);
    if (estimated > 0)
        out << " (" << (elapsed >= estimated ? "+" : "")
            << QString::number(100.0 * double(elapsed - estimated) / double(estimated), 'f', 1)
            << " %)";
    out << Qt::endl;

    printHostShare(figures);
}

// The device's time for the job: what the built-in engraver modelled (before any speed-up),
// or for a device on a real line the job's estimate. Either is what the device takes, however
// fast the line answered.
BatchJob::DeviceTime BatchJob::deviceTime(const JobFigures& figures) const {
    if (sim::isBuiltInPortName(program_->port.portName()))
        return {double(engraver_->modelledDeviceTimeUs() - modelledUsAtStart_) / 1e6,
                QStringLiteral("modelled")};
    return {double(figures.estimate) / double(kUnitsPerMs) / 1e3, QStringLiteral("estimated")};
}

void BatchJob::printHostShare(const JobFigures& figures) {
    // The process's processor time without the built-in engraver's, against the device's time
    // for the job, with the real time the job took beside it.
    QTextStream& out = streams_.out;
    const double processS = double(processCpuNs() - jobStartCpuNs_) / 1e9;
    const double hostS = processS - double(engraverMeter_.cpuSince(meterAtStart_)) / 1e9;
    const DeviceTime device = deviceTime(figures);
    out << "host: " << QString::number(hostS, 'f', 3) << " s processor time (of "
        << QString::number(processS, 'f', 3) << " s for the whole process)";
    if (linesDone() > 0)
        out << ", " << QString::number(hostS * 1e6 / double(linesDone()), 'f', 1) << " µs a line";
    if (device.seconds > 0)
        out << ", " << QString::number(100.0 * hostS / device.seconds, 'f', 4)
            << " % of the device's " << duration(qint64(device.seconds * 1e3)) << " ("
            << device.source << ")";
    out << ", in " << duration(jobWall_.elapsed()) << " real time" << Qt::endl;
    // On virtual time nothing waits for the device, so the real time outside the engraver is
    // what the host added to the job's time: its waits for the disk, and on a shared computer
    // the time other processes took, included.
    if (line_.virtualTime && device.seconds > 0) {
        const double hostWallS =
            double(jobWall_.nsecsElapsed() - engraverMeter_.wallSince(meterAtStart_)) / 1e9;
        out << "host real time: " << QString::number(hostWallS, 'f', 3) << " s, "
            << QString::number(100.0 * hostWallS / device.seconds, 'f', 4) << " % of the device's"
            << Qt::endl;
    }
}

bool BatchJob::writePlate(const QString& path) {
    QString error;
    if (!sim::writePlatePng(engraver_->plate(), path, &error)) {
        streams_.err << "zuk-batch: " << error << Qt::endl;
        return false;
    }
    streams_.out << "plate: " << QDir::toNativeSeparators(path) << " ("
                 << countText(qint64(engraver_->plate().strikes().size())) << " strikes)"
                 << Qt::endl;
    return true;
}

} // namespace zuk::batch
