// The engraving run over a plan of any bytes, tick by tick on virtual time, against the
// simulated engraver (sound, or falling silent part way) or with the link down. The run ends
// within a bounded number of ticks and of virtual time; it either ends normally with its
// files gone, or keeps the job (recovery file, pending) and tells the operator why; and the
// device never sees the host break the protocol: only what the plan itself asks for (a digit
// without a strike level, a strike with the needle raised, a cell struck twice) may upset it.
#include "fuzz/support/FuzzSupport.h"

#include "fuzz/support/FuzzProgram.h"
#include "run/EngravingRun.h"
#include "run/PlanFiles.h"
#include "simulator/SimTransport.h"
#include "support/RecordingScreen.h"
#include "support/StartedJob.h"

namespace zuk::fuzz {
namespace {

// Longer than any move or print line the six-digit fields of a plan line can ask for.
constexpr qint64 kVirtualMsPerTick = 3'600'000;

enum class Line { Sound, FallsSilent, Down };

bool causedByThePlan(const QString& violation) {
    return violation.contains(QLatin1String("has no strike level")) ||
           violation.contains(QLatin1String("with the needle raised")) ||
           violation.contains(QLatin1String("struck twice"));
}

test::JobSpec jobOf(FuzzInput& input) {
    test::JobSpec spec;
    spec.secondPass = input.flag();
    spec.portrait = input.flag();
    spec.edgeDots = input.number(1, 12);
    spec.offset = QPoint(input.number(0, 40), input.number(0, 40));
    return spec;
}

void writeConfiguration(const ProgramDir& dir) {
    Settings settings;
    settings.portName = QStringLiteral("sim");
    settings.fieldWidth = 120;
    settings.fieldHeight = 100;
    require(saveConfiguration(dir, settings).ok(), "Zuk.ini can be written");
}

// The job start accepts only a plan it can read and a device that takes every setting: it
// starts a one-line job, then the run is given the plan of any bytes in its place (as a plan
// damaged or edited after the job start), and with the link down every command of the run
// finds it so. False when the job start refused the job (the device fell silent during it).
bool runThePlanInstead(Program& program, const test::JobSpec& spec, const QByteArray& plan,
                       Line kind) {
    if (!test::startJobAsTheJobStartDoes(program, spec, "Up  : \r\n").isEmpty()) {
        require(kind == Line::FallsSilent, "the job starts on a device that answers");
        require(!program.timers.optimizing, "a job refused does not run");
        require(!FuzzProgram::screen().messages.isEmpty(), "a job refused is told");
        return false;
    }
    for (const QString& name : {QString(kEngravingPlanName), QStringLiteral("123sec.txt")})
        ScratchDir::put(name, plan);
    require(program.job.plan.open(ScratchDir::dir().path(kEngravingPlanName)), "the plan opens");
    require(beginJobProgress(program).ok(), "the progress record is written");
    if (kind == Line::Down)
        program.exchange.setLinkActive(false);
    return true;
}

qint64 runTimers(Program& program, qint64 lines) {
    const qint64 maxTicks = 2 * (lines + 2) + 4;
    qint64 ticks = 0;
    while (program.timers.optimizing) {
        require(++ticks <= maxTicks, "the run ends within two ticks a line",
                QStringLiteral("%1 lines").arg(lines));
        optimizingTimer(program);
    }
    return ticks;
}

} // namespace
} // namespace zuk::fuzz

void zuk::fuzz::testOneInput(FuzzInput& input) {
    const Line kind = Line(input.byte() % 3);
    sim::SimOptions options;
    if (kind == Line::FallsSilent)
        options.faults.silentAfterCommands = input.number(20, 400);
    const test::JobSpec spec = jobOf(input);
    const QByteArray plan = input.rest();
    const qint64 lines = plan.count('\n') + 1;

    writeConfiguration(ScratchDir::fresh());
    const std::shared_ptr<sim::Engraver> engraver = sim::makeEngraver(options);
    VirtualClock& clock = FuzzProgram::clock();
    Program& program =
        FuzzProgram::start([&](const QString& name) -> std::unique_ptr<ByteTransport> {
            if (!sim::isBuiltInPortName(name))
                return nullptr;
            return sim::openBuiltInEngraver(engraver, clock);
        });
    test::RecordingScreen& screen = FuzzProgram::screen();
    screen.clear();
    const qint64 startMs = clock.monotonicMs();
    if (runThePlanInstead(program, spec, plan, kind)) {
        const qint64 ticks = runTimers(program, lines);
        require(clock.monotonicMs() - startMs <= (ticks + 1) * kVirtualMsPerTick,
                "every tick ends within the time-outs of its commands");
    }

    const bool kept = ScratchDir::has(kRecoveryFileName);
    require(kept == program.unfinishedJob, "the job is kept exactly when it is pending");
    if (kept)
        require(!screen.messages.isEmpty() || screen.faultAdvices > 0,
                "a job kept is told to the operator");
    else
        require(!ScratchDir::has(kProgressFileName), "a job ended leaves no progress record");
    for (const sim::Violation& violation : engraver->unexplainedViolations())
        require(causedByThePlan(violation.description), "the host keeps to the protocol",
                violation.description);
    return;
}
