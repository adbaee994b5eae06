#pragma once

#include "BatchScreen.h"
#include "Command.h"
#include "EngraverMeter.h"

#include "app/Clock.h"
#include "app/Program.h"
#include "app/TerminationSignals.h"

#include <QElapsedTimer>

#include <array>
#include <functional>
#include <memory>

namespace zuk::sim {
class Engraver;
}

namespace zuk::batch {

// Exit status of a job that STOP and "Завершить работу" ended on a termination signal.
inline constexpr int kExitInterrupted = 3;

// The line a job runs on and the clock it runs by.
struct LineChoice {
    QString port;
    // Only for the built-in engraver ("sim"): the program and the device on virtual time,
    // the job done as fast as the computer runs it.
    bool virtualTime = false;
    // Only for the built-in engraver: its modelled durations divided by this factor.
    double simSpeed = 1.0;
};

// What one plan holds: its lines and its strikes by code ("1" to "4", the levels "8" to
// "32").
struct PlanFigures {
    qint64 lines = 0;
    std::array<qint64, 4> strikes{};
    qint64 backwardLines = 0; // "KBack:" lines: the plan strikes both ways
};

// The job's plans as they stand before its run: the plan the run opens and, when a second
// pass is to come, its copy.
struct JobFigures {
    PlanFigures firstPlan;
    PlanFigures secondPlan; // empty without a second pass
    qint64 estimate = 0;    // 10-µs units
    qint64 lines() const { return firstPlan.lines + secondPlan.lines; }
};

// How the run ended.
enum class RunEnd { Finished, Failed, Interrupted };

// The program as the window runs it, without the window: its start-up in the program
// directory, the timers ticked one after another (a resumption, the run) with progress at
// most once a second, STOP and "Завершить работу" on SIGINT or SIGTERM, and its shutdown.
class BatchJob {
public:
    BatchJob(const QString& directory, const LineChoice& line, Streams streams);
    ~BatchJob();

    Program& program() { return *program_; }
    BatchScreen& screen() { return screen_; }
    QTextStream& out() { return streams_.out; }
    QTextStream& err() { return streams_.err; }

    // The main window's creation with the port of the command line; false (told why) when
    // the device does not answer.
    bool startUp();
    // A termination signal has arrived.
    bool interrupted();
    // Starts the clocks of the job's figures (elapsed time, processor time).
    void beginJob();
    // The progress line the run prints at most once a second in place of its own (a command
    // that runs several jobs as one).
    void setProgressLine(std::function<void()> print) { progressLine_ = std::move(print); }
    // Runs the job's timers until none is left, or until a termination signal ends the job as
    // STOP and "Завершить работу" do.
    RunEnd run();
    // The main window closes: EndPrint, Off, port closed, Zuk.ini written.
    void shutDown();
    // Lines run, strikes, time against the estimate, the host's processor time.
    void printSummary(const JobFigures& job, RunEnd end);
    // Writes the plate the built-in engraver has struck as a PNG and names it; false (told
    // why) when it cannot be written.
    bool writePlate(const QString& path);

    // Milliseconds of the program's clock since beginJob.
    qint64 elapsedMs() const;

    // The figures of the job the program has open (after the job start or the resumption).
    JobFigures jobFigures(qint64 estimate);

private:
    void printProgress();
    // The plan lines the run has done in every pass, as its progress line counts them.
    qint64 linesDone() const;
    // The device's time for the job, in seconds, and where the figure comes from.
    struct DeviceTime {
        double seconds = 0;
        QString source; // "modelled" or "estimated"
    };
    DeviceTime deviceTime(const JobFigures& figures) const;
    void printHostShare(const JobFigures& figures);
    // How long the job is expected to take on this line, in milliseconds.
    qint64 expectedMs(const JobFigures& figures) const;

    Streams streams_;
    LineChoice line_;
    std::unique_ptr<Clock> clock_;
    std::shared_ptr<sim::Engraver> engraver_;
    // Time spent inside the built-in engraver on virtual time, which the host's figures leave
    // out.
    EngraverMeter engraverMeter_;
    BatchScreen screen_;
    std::unique_ptr<Program> program_;
    std::unique_ptr<TerminationSignals> termination_;
    bool interrupted_ = false;

    qint64 jobStartMs_ = 0;
    qint64 jobStartCpuNs_ = 0;
    QElapsedTimer jobWall_; // real time, also on virtual time
    EngraverMeter meterAtStart_;
    qint64 modelledUsAtStart_ = 0;
    QElapsedTimer sinceProgress_;
    std::function<void()> progressLine_;
};

// A duration in milliseconds as hours, minutes and seconds.
QString duration(qint64 ms);

// Reads a plan's figures; a plan that cannot be read counts as empty.
PlanFigures planFigures(const QString& path);

} // namespace zuk::batch
