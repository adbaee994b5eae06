#pragma once

#include "PlanGenerator.h"

#include "app/Program.h"
#include "plan/JobStart.h"
#include "simulator/SimTransport.h"
#include "support/JobPictures.h"
#include "support/RecordingScreen.h"
#include "support/StartedJob.h"

#include <QTemporaryDir>

#include <memory>
#include <optional>
#include <set>

namespace zuk::test {

// Thrown by the line at the chosen byte: the host dies there, without any shutdown.
struct HostCrash {};

// Every byte that crosses the host's end of the line, in both directions, and where the host
// is to crash: before the byte numbered crashAt (counted from 0) would cross.
struct LineTap {
    qint64 bytes = 0;
    std::optional<qint64> crashAt;
    QByteArray written;
    // The cable is pulled: writes go nowhere and nothing arrives.
    bool unplugged = false;
    // The line says it has gone away by itself (its device side hung up).
    bool hungUp = false;

    void cross() {
        if (crashAt && bytes == *crashAt) {
            crashAt.reset();
            throw HostCrash{};
        }
        ++bytes;
    }
};

// The lines of the plan the program's plan builder makes of the picture (its cells with code
// "0" are picture cells with dot value 0).
std::vector<QByteArray> builtPlan(const DotPicture& picture, Sides sides);

// A job the program's own job start prepares: the picture opened ("Файл" → "Открыть",
// combined variant) with the density line and placement button of the dialog, then
// "Гравировка" with the quality, the second pass, text or portrait and both passes' forces
// (set one by one), and "Работа".
struct WorkJob {
    QImage picture;
    Sides sides = Sides::Double;
    int placementButton = 5; // "Center Center"
    // The forces, second pass, portrait and density line; its offset becomes the placement
    // the picture got, its plan stays empty (the job start builds it).
    JobSpec spec;
};

// Opens the picture from `picturePath` (written there first) and makes the choices of
// "Гравировка" as the operator does (the panels hand them to the program), answering the
// program's dialogs through `screen`; the job is left for "Работа".
void prepareJobThroughWork(Program& program, RecordingScreen& screen, WorkJob& job,
                           const QString& picturePath);
// "Работа" on the job the program holds prepared.
JobStartResult startPreparedJob(Program& program);
// The same, then "Работа".
JobStartResult startJobThroughWork(Program& program, RecordingScreen& screen, WorkJob& job,
                                   const QString& picturePath);

// The strike codes of the picture the program holds, as its conversion left them.
DotPicture convertedCodes(const DotImage& picture);

// The program directory, the virtual clock and the simulated engraver that outlive the
// programs started against them, as a still-powered device outlives a crashed host.
class EngraverBench {
public:
    static constexpr int kFieldSide = 300;

    explicit EngraverBench(sim::SimOptions options = {});

    // A new program in the same directory (abandoning the one before without shutdown): its
    // start-up, with the unfinished-job dialog answered `answer` when it comes.
    Program& startProgram(RecoveryChoice answer = {true, 0});
    // The job as the job start leaves it: plans, progress record, recovery file, device
    // programmed, homed and told "Begin print", the run timer on.
    void startJob(const JobSpec& spec);
    // The job as the program's own job start leaves it ("Работа").
    JobStartResult startJobThroughWork(WorkJob& job);
    // The job prepared up to "Работа".
    void prepareJobThroughWork(WorkJob& job);
    // Runs the program's timers (resumption, file deletion, run) until none is left; false
    // when the host crashed on the way.
    bool runTimers();
    // One tick of the first timer that is enabled; false when none is. A crash of the host
    // comes out as HostCrash.
    bool tick();
    // The host dies where it stands: no shutdown, nothing more sent.
    void abandonHost();
    // Another device on the line (or one that lost everything, its position too).
    void replaceEngraver(sim::SimOptions options = {}) { engraver_ = sim::makeEngraver(options); }

    Program& program() { return *program_; }
    RecordingScreen& screen() { return *screen_; }
    sim::Engraver& engraver() { return *engraver_; }
    QByteArray bytesOf(const QString& name) const;
    QString file(const QString& name) const { return dir_.filePath(name); }
    QString path() const { return dir_.path(); }

    VirtualClock clock;
    LineTap tap;

    // In memory where the system offers it: the durable writes of a few hundred jobs would
    // otherwise wait for the disk most of the time.
    static QString scratchDirectory();

private:
    QTemporaryDir dir_{scratchDirectory()};
    std::shared_ptr<sim::Engraver> engraver_;
    std::unique_ptr<RecordingScreen> screen_;
    std::unique_ptr<Program> program_;
};

// The strikes of one pass on the plate by working-field cell (row, column), with their
// codes, told apart by the forces the pass's levels give; cells struck twice in the pass are
// counted in `twice`.
struct PassPlate {
    std::map<std::pair<qint64, qint64>, int> cells;
    int twice = 0;
    int foreign = 0; // strikes with a force of neither pass
};
PassPlate platePass(const sim::Plate& plate, const JobSpec& spec, int pass);

// The cells a picture's plan must strike once per pass, on the working field.
std::map<std::pair<qint64, qint64>, int> expectedPlate(const DotPicture& picture,
                                                       const JobSpec& spec);

// Every cell of the picture struck exactly once in every pass of the job, at its level.
void expectEveryCellStruckOncePerPass(EngraverBench& bench, const DotPicture& picture,
                                      const JobSpec& spec);

// The view pixels painted as strike marks, as working-field cells (row, column).
std::set<std::pair<qint64, qint64>> markedCells(const QImage& view);

} // namespace zuk::test
